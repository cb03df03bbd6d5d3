#include "Atlases.h"

#include "Canvas.h"
#include "Glyphs.h"

namespace assetgen {

namespace {

constexpr int kCell = 12, kHalf = 6, kLine = 40;

// Beam line k (1..3) lies on cell row 24 + 2k: 26, 28, 30.
int BeamRow(int k) { return 24 + 2 * k; }

void Dot2x2(Canvas& c, int x, int y) { c.fill(x, y, x + 1, y + 1); }

// One note cell of Picmode: code 0..40 with `beams` beam lines.
void DrawNoteCell(Canvas& c, int code, int beams) {
    const int x0 = kCell * code, y0 = kLine * beams;
    for (int k = 1; k <= beams; ++k) c.hline(x0, x0 + kCell - 1, y0 + BeamRow(k));

    if (code == 35) {
        c.stamp(Digit(0), x0 + 2, y0 + 10);
        return;
    }
    if (code >= 36) {
        const Glyph& g = Syllable(code - 36);
        c.stamp(g, x0 + (kCell - g.width() + 1) / 2, y0 + 8);
        return;
    }

    c.stamp(Digit(code % 7 + 1), x0 + 2, y0 + 10);
    const int octave = code / 7 - 2;  // -2 .. +2
    const int dotX = x0 + 5;
    if (octave > 0) {
        Dot2x2(c, dotX, y0 + 6);
        if (octave == 2) Dot2x2(c, dotX, y0 + 3);
    } else if (octave < 0) {
        // Below the digit the dots make way for the beam lines: the first starts
        // three rows under the lowest beam.
        const int first = beams == 0 ? 26 : BeamRow(beams) + 3;
        Dot2x2(c, dotX, y0 + first);
        if (octave == -2) Dot2x2(c, dotX, y0 + first + 3);
    }
}

// Strokes and bars of the bar-line family run over cell rows 4 to 32, so that
// a probe on rows 5 and 32 finds them.
void Stroke(Canvas& c, int x, int y0) { c.vline(x, y0 + 4, y0 + 32); }
void Bar(Canvas& c, int x, int width, int y0) { c.fill(x, y0 + 4, x + width - 1, y0 + 32); }
void RepeatDots(Canvas& c, int x, int width, int y0) {
    c.fill(x, y0 + 12, x + width - 1, y0 + 13);
    c.fill(x, y0 + 21, x + width - 1, y0 + 22);
}
void BeamStrip(Canvas& c, int x, int width, int y0, int beams) {
    for (int k = 1; k <= beams; ++k) c.hline(x, x + width - 1, y0 + BeamRow(k));
}

void DrawFullCell(Canvas& c, int code) {
    const int x = kCell * (code - 100), y = 0;
    switch (code) {
    case 101: Stroke(c, x + 7, y); break;
    case 102: Bar(c, x + 2, 3, y); Stroke(c, x + 7, y); RepeatDots(c, x + 9, 2, y); break;
    case 103: RepeatDots(c, x + 2, 2, y); Stroke(c, x + 5, y); Bar(c, x + 8, 3, y); break;
    case 104: Stroke(c, x + 3, y); Bar(c, x + 6, 3, y); break;
    case 105: Stroke(c, x + 5, y); Stroke(c, x + 8, y); break;
    case 106: c.stamp(NaturalFull(), x + 5, y + 3); break;
    case 107: c.stamp(SharpFull(), x + 4, y + 4); break;
    case 108: c.stamp(FlatFull(), x + 4, y + 4); break;
    case 112: c.fill(x + 1, y + 16, x + 11, y + 17); break;
    case 113: c.stamp(ParenFull(), x + 5, y + 10); break;
    case 114: c.stamp(ParenFull().mirrored(), x + 5, y + 10); break;
    case 115: c.fill(x + 1, y + 15, x + 4, y + 18); break;
    case 117: BeamStrip(c, x, kCell, y, 1); break;
    case 118: BeamStrip(c, x, kCell, y, 2); break;
    case 119: BeamStrip(c, x, kCell, y, 3); break;
    default: break;  // 100, 109-111, 116: blank
    }
}

void DrawHalfCell(Canvas& c, int code) {
    const int x = kHalf * (code - 200), y = kLine;
    switch (code) {
    case 201: c.stamp(NaturalHalf(), x + 3, y + 3); break;
    case 202: c.stamp(SharpHalf(), x + 1, y + 4); break;
    case 203: c.stamp(FlatHalf(), x + 3, y + 4); break;
    case 204: BeamStrip(c, x, kHalf, y, 1); break;
    case 205: BeamStrip(c, x, kHalf, y, 2); break;
    case 206: BeamStrip(c, x, kHalf, y, 3); break;
    case 207: Stroke(c, x + 5, y); break;
    case 208: Stroke(c, x + 2, y); Stroke(c, x + 4, y); break;
    case 209: c.stamp(ParenHalf(), x + 1, y + 9); break;
    case 210: c.stamp(ParenHalf().mirrored(), x + 1, y + 9); break;
    case 211: c.fill(x + 1, y + 14, x + 4, y + 17); break;
    case 212: Bar(c, x, 2, y); Stroke(c, x + 3, y); RepeatDots(c, x + 5, 1, y); break;
    case 213: RepeatDots(c, x, 1, y); Stroke(c, x + 2, y); Bar(c, x + 4, 2, y); break;
    case 214: Stroke(c, x + 1, y); Bar(c, x + 3, 2, y); break;
    default: break;  // 200: blank
    }
}

}  // namespace

QImage MakePicmode() {
    Canvas c(508, 160);
    for (int beams = 0; beams <= 3; ++beams)
        for (int code = 0; code <= 40; ++code) DrawNoteCell(c, code, beams);
    // The dash is always stamped without beams; its cells in the beam rows stay blank.
    c.fill(kCell * 41 + 1, 15, kCell * 41 + 11, 16);
    return c.image();
}

QImage MakePicmode2() {
    Canvas c(821, 115);
    for (int code = 100; code <= 119; ++code) DrawFullCell(c, code);
    for (int code = 200; code <= 214; ++code) DrawHalfCell(c, code);
    // No code reaches what follows; it is drawn in red so it never reads as ink.
    for (int code = 120; code <= 168; ++code) c.vline(kCell * (code - 100), 0, kLine - 1, kRed);
    for (int d = 0; d <= 9; ++d) c.stamp(Digit(d), kCell * d + 2, 82, kRed);
    for (int d = 1; d <= 3; ++d) c.stamp(SmallDigit(d), kCell * d + 3, 99, kRed);
    c.hline(0, kCell * 10 - 1, 112, kRed);
    return c.image();
}

}  // namespace assetgen
