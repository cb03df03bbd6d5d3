// The staff panel's pictures: the two staves and the preview notes that follow
// the pointer.

#include "Canvas.h"
#include "GifWriter.h"
#include "Output.h"
#include "Pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace assetgen {

namespace {

constexpr int kStaffWidth = 477;
constexpr int kStaffLines[] = {100, 118, 136, 154, 172};
constexpr int kLedgerGuides[] = {10, 28, 46, 64, 82, 190, 208, 226, 244};
constexpr QRgb kGuideGrey = 0xFFC0C0C0u;
constexpr QRgb kPreviewInk = 0xFF005AC8u;

// Treble clef, curling round the G line (y 154).
void DrawTrebleClef(QPainter& p) {
    QPainterPath body;
    body.moveTo(43, 158);
    body.cubicTo(36, 158, 34, 150, 40, 146);
    body.cubicTo(48, 141, 56, 150, 54, 160);
    body.cubicTo(52, 170, 38, 174, 30, 166);
    body.cubicTo(20, 156, 26, 140, 36, 130);
    body.cubicTo(46, 120, 56, 108, 54, 92);
    body.cubicTo(53, 82, 48, 76, 44, 84);
    body.cubicTo(39, 94, 40, 112, 42, 130);
    body.lineTo(47, 190);
    body.cubicTo(48, 200, 40, 204, 34, 200);
    p.setPen(QPen(Qt::black, 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(body);
    // The bowl's outer swing is the heavy stroke of the sign.
    QPainterPath swell;
    swell.moveTo(54, 156);
    swell.cubicTo(52, 168, 40, 172, 32, 164);
    swell.cubicTo(24, 154, 28, 142, 36, 132);
    p.setPen(QPen(Qt::black, 5.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(swell);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(36, 196), 4.5, 4.5);
}

// Bass clef: its head on the F line (y 118) and two dots round that line.
void DrawBassClef(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(30, 119), 5.5, 5.5);
    QPainterPath arc;
    arc.moveTo(26, 116);
    arc.cubicTo(28, 100, 52, 98, 56, 114);
    arc.cubicTo(60, 132, 46, 150, 24, 164);
    p.setPen(QPen(Qt::black, 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arc);
    QPainterPath swell;
    swell.moveTo(52, 104);
    swell.cubicTo(58, 112, 58, 126, 50, 138);
    p.setPen(QPen(Qt::black, 5.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(swell);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(66, 109), 2.6, 2.6);
    p.drawEllipse(QPointF(66, 127), 2.6, 2.6);
}

// A note head tilted like an engraved one; its centre is column 6, row 4.
const Glyph& NoteHead() {
    static const Glyph g = {
        "......#####.",
        "....########",
        "..##########",
        ".###########",
        "############",
        "###########.",
        "##########..",
        "########....",
        ".#####......",
    };
    return g;
}

// A flag hanging down from the top of an up-stem.
const Glyph& Flag() {
    static const Glyph g = {
        "#.....",
        "##....",
        ".##...",
        "..##..",
        "...##.",
        "....##",
        ".....#",
        ".....#",
        "....#.",
        "....#.",
    };
    return g;
}

constexpr int kPreviewWidth = 22, kPreviewHeight = 106;
// The panel puts the picture's left edge 9 pixels left of the pointer, and its
// top so that the head centre falls 8 rows below the top for a high note and
// 98 rows below it for a low one.
constexpr int kHeadCentreX = 9, kHighHeadY = 8, kLowHeadY = 98;
constexpr int kStemLength = 30;

}  // namespace

QImage MakeStaff(bool treble) {
    Canvas c(kStaffWidth, treble ? 255 : 256);
    for (int y : kLedgerGuides) c.hline(0, kStaffWidth - 1, y, kGuideGrey);
    for (int y : kStaffLines) c.hline(0, kStaffWidth - 1, y);
    QPainter p(&c.image());
    p.setRenderHint(QPainter::Antialiasing);
    if (treble)
        DrawTrebleClef(p);
    else
        DrawBassClef(p);
    p.end();
    return c.image();
}

QImage MakeStaffPreview(int flags, bool low) {
    Canvas c(kPreviewWidth, kPreviewHeight, 0x00000000u, QImage::Format_ARGB32);
    const int headX = kHeadCentreX - 6;
    const int headY = (low ? kLowHeadY : kHighHeadY) - 4;
    c.stamp(NoteHead(), headX, headY, kPreviewInk);
    if (low) {
        // Stem up on the right of the head, flags hanging from its top.
        const int stemX = headX + 10, top = kLowHeadY - kStemLength;
        c.fill(stemX, top, stemX + 1, kLowHeadY - 1, kPreviewInk);
        for (int k = 0; k < flags; ++k) c.stamp(Flag(), stemX + 2, top + 4 * k, kPreviewInk);
    } else {
        // Stem down on the left, flags rising from its foot.
        const int stemX = headX, bottom = kHighHeadY + kStemLength;
        c.fill(stemX, kHighHeadY + 1, stemX + 1, bottom, kPreviewInk);
        const Glyph& f = Flag();
        for (int k = 0; k < flags; ++k)
            for (int y = 0; y < f.height(); ++y)
                for (int x = 0; x < f.width(); ++x)
                    if (f.ink(x, y)) c.set(stemX + 2 + x, bottom - 4 * k - y, kPreviewInk);
    }
    return c.image();
}

void WriteStaffPreviews(const QString& dir) {
    MakeDir(dir);
    for (int low = 0; low <= 1; ++low) {
        for (int flags = 0; flags <= 3; ++flags) {
            const QImage picture = MakeStaffPreview(flags, low != 0);
            const QByteArray gif = EncodeGif(picture);
            const QString path = dir + QStringLiteral("/%1%2.gif").arg(flags).arg(low ? "s" : "");
            // Read it back: the encoder is ours, the reader is the one the program uses.
            const QImage back = QImage::fromData(gif, "GIF").convertToFormat(QImage::Format_ARGB32);
            if (back.size() != picture.size())
                throw AssetError(QStringLiteral("%1 does not read back").arg(path));
            for (int y = 0; y < picture.height(); ++y)
                for (int x = 0; x < picture.width(); ++x) {
                    const QRgb want = picture.pixel(x, y), got = back.pixel(x, y);
                    const bool same = qAlpha(want) == 0 ? qAlpha(got) == 0 : want == got;
                    if (!same)
                        throw AssetError(
                            QStringLiteral("%1 reads back wrong at %2,%3").arg(path).arg(x).arg(y));
                }
            WriteBytes(gif, path);
        }
    }
}

}  // namespace assetgen
