// The MusicXML import on any bytes (a .mxl container when they begin like a
// zip): a refusal with a reason or pages within the limit, never a crash, a
// hang or an unbounded allocation. Small songs are laid out and read back too.
#include <QGuiApplication>
#include <cstdint>

#include "Importer.h"

// The layout prints text (chords, lyrics): a QGuiApplication, off screen.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace qn::import;
    QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    if (bytes.startsWith("PK")) {
        QString error;
        bytes = UnpackMxl(bytes, error);
        if (!error.isEmpty()) return 0;
        if (bytes.size() > kMaxUnpackedBytes) __builtin_trap();
    }
    const XmlRead read = ParseMusicXml(bytes);
    if (!read.error.isEmpty()) return 0;
    if (read.score.parts.empty()) __builtin_trap();  // success means a part to map
    const MappedSong song = MapPart(read.score);
    if (!song.error.isEmpty() || song.score.measures.size() > 64) return 0;
    if (song.barNumbers.size() != song.score.measures.size()) __builtin_trap();
    const LayoutResult layout = LayOutSong(song);
    if (layout.error.isEmpty() && int(layout.pages.size()) > kMaxPages) __builtin_trap();
    return 0;
}
