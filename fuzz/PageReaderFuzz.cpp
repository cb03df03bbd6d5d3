// The page reader with its header inputs. The input is four header lines (key,
// time numerator, denominator, tempo label; UTF-8) and then cells: each three
// bytes stamp one atlas glyph (code, column, line) on a page, which is read
// back into a score, performed and written as MIDI and MusicXML, and drawn
// anew as the vector print draws it.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdint>

#include "Atlas.h"
#include "BatchExport.h"
#include "MidiWriter.h"
#include "MusicXmlWriter.h"
#include "PageReader.h"
#include "Performance.h"
#include "VectorPage.h"
#include "ScoreHeader.h"

// The reader matches lyrics and chords against rendered fonts, which need a
// QGuiApplication (offscreen: no display).
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace qn;
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    QList<QByteArray> parts = bytes.split('\n');
    while (parts.size() < 5) parts.append(QByteArray());
    // The header as the labels give it, through the export's own conversion.
    PageFacts facts;
    facts.key = QString::fromUtf8(parts[0]);
    facts.numerator = QString::fromUtf8(parts[1]);
    facts.denominator = QString::fromUtf8(parts[2]);
    facts.tempo = QString::fromUtf8(parts[3]);
    const score::ScoreHeader header = ScoreHeaderOf(facts);

    const int headerLength = int(parts[0].size() + parts[1].size() + parts[2].size() + parts[3].size() + 4);
    const QByteArray cells = bytes.mid(std::min<int>(headerLength, int(bytes.size())));
    constexpr int linePitch = 60, width = 668, lines = 6;
    QImage page(width, 96 + linePitch * lines, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter p(&page);
        for (int i = 0; i + 2 < cells.size() && i < 3 * 400; i += 3) {
            const int code = quint8(cells[i]) % 42;
            const int beams = (quint8(cells[i]) / 42) % 4;
            const int x = 20 + (quint8(cells[i + 1]) % 52) * 12;
            const int y = 96 + (quint8(cells[i + 2]) % lines) * linePitch;
            const QRect cell = NoteCellRect(code, beams);
            if (cell.isValid()) p.drawImage(QPoint(x, y), Picmode(), cell);
        }
    }
    const score::Score notes = score::ReadPage(page, linePitch);
    const score::Performance performance = score::Perform(notes, header);
    score::MidiFile(performance);
    score::MusicXml(notes, header);
    PageComposition composition;
    composition.page = page;
    composition.facts.linePitch = linePitch;
    QImage drawn(page.size(), QImage::Format_RGB32);
    QPainter p(&drawn);
    DrawVectorComposition(p, composition);
    return 0;
}
