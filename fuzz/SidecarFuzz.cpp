// The sidecar's bytes: read, patched back, read again. What the writer wrote
// must read back as it was, and the pair check must never fail on any input.
#include <QImage>
#include <cstdint>

#include "ScoreDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace qn;
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    ScoreDocument doc;
    ReadSidecar(bytes, doc, size % 2 == 0);
    const QByteArray patched = PatchSidecar(bytes, doc);
    ScoreDocument again;
    ReadSidecar(patched, again, false);
    if (again.barWidth != doc.barWidth || again.textOverlays != doc.textOverlays ||
        again.pictureOverlays != doc.pictureOverlays || again.spacing != doc.spacing ||
        again.pageNumber != doc.pageNumber || again.keyIndex != doc.keyIndex)
        __builtin_trap();  // a field the writer wrote reads back otherwise
    static const QImage page = [] {
        QImage p(40, 30, QImage::Format_RGB32);
        p.fill(Qt::white);
        return p;
    }();
    CheckPair(bytes, page);
    QByteArray stamped = patched;
    StampSidecar(stamped, page);
    if (CheckPair(stamped, page) != PairCheck::Matches) __builtin_trap();
    return 0;
}
