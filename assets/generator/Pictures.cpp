#include "Pictures.h"

#include "Canvas.h"
#include "Glyphs.h"
#include "Output.h"

namespace assetgen {

namespace {

// The caret is never black, so it cannot be taken for stamped ink or a digit.
constexpr QRgb kCaretBlue = 0xFF005AC8u;  // RGB(0, 90, 200)
constexpr QRgb kBuiltinCaret = 0xFF004040u;  // RGB(0, 64, 64)

// Ornaments for picture overlays, drawn at the size they appear on the page.
const Glyph& Trill() {
    static const Glyph g = {
        ".#..................",
        ".#..................",
        "####.##.............",
        ".#..##..............",
        ".#..#...............",
        ".#..#...##....##....",
        ".#..#..#..#..#..#..#",
        "..#.#.#....##....##.",
    };
    return g;
}

const Glyph& Mordent() {
    static const Glyph g = {
        "......#......",
        "..#...#...#..",
        ".#.#..#..#.#.",
        "#...#.#.#...#",
        ".....###.....",
        "......#......",
        "......#......",
    };
    return g;
}

const Glyph& Fermata() {
    static const Glyph g = {
        ".....#####.....",
        "...##.....##...",
        "..#.........#..",
        ".#...........#.",
        ".#....###....#.",
        "#.....###.....#",
        "#.....###.....#",
    };
    return g;
}

const Glyph& BreathMark() {
    static const Glyph g = {
        "#.....#",
        "#.....#",
        ".#...#.",
        ".#...#.",
        "..#.#..",
        "..#.#..",
        "...#...",
    };
    return g;
}

const Glyph& Accent() {
    static const Glyph g = {
        "##......",
        "..##....",
        "....##..",
        "......##",
        "....##..",
        "..##....",
        "##......",
    };
    return g;
}

const Glyph& Staccato() {
    static const Glyph g = {
        "#####",
        "#####",
        ".###.",
        ".###.",
        "..#..",
    };
    return g;
}

QImage GlyphPicture(const Glyph& g, int margin) {
    Canvas c(g.width() + 2 * margin, g.height() + 2 * margin);
    c.stamp(g, margin, margin);
    return c.image();
}

QImage Hairpin(bool opening) {
    const int w = 48, h = 11;
    Canvas c(w, h);
    const int tip = opening ? 1 : w - 2, mouth = opening ? w - 2 : 1;
    c.line(tip, h / 2, mouth, 1);
    c.line(tip, h / 2, mouth, h - 2);
    return c.image();
}

// Grace-note digits stand 8 pixels apart, from 9 rows above the caret top;
// 13 rows keep them clear of the group picture 13 rows lower.
QImage GraceDigit(int d) {
    Canvas c(8, 13);
    c.stamp(SmallDigit(d), 1, 3);
    return c.image();
}

// Under n grace digits: a group picture one pixel wider than the digits on each
// side, with the two underlines of sixteenth-note grace notes.
QImage GraceGroup(int n) {
    Canvas c(8 * n + 2, 6);
    c.hline(1, 8 * n, 1);
    c.hline(1, 8 * n, 3);
    return c.image();
}

}  // namespace

QImage MakePatternButton(int underlines) {
    Canvas c(32, 32);
    c.stamp(Digit(5), 12, 4);
    for (int k = 0; k < underlines; ++k) c.fill(7, 21 + 3 * k, 24, 22 + 3 * k);
    return c.image();
}

QImage MakeBuiltinCaret() {
    Canvas c(13, 40, 0x00000000u, QImage::Format_ARGB32);
    c.stamp(QuestionMark(), 2, 10, kBuiltinCaret);
    return c.image();
}

QImage MakePatternCaret(int underlines) {
    Canvas c(13, 40);
    // An I-beam at the left edge of the cell the next symbol fills.
    c.fill(0, 8, 1, 24, kCaretBlue);
    c.hline(0, 4, 8, kCaretBlue);
    c.hline(0, 4, 24, kCaretBlue);
    for (int k = 1; k <= underlines; ++k) c.hline(0, 11, 24 + 2 * k, kCaretBlue);
    return c.image();
}

void WritePatternCarets(const QString& dir) {
    MakeDir(dir);
    for (int i = 0; i <= 3; ++i)
        SaveImage(MakePatternCaret(i), dir + QStringLiteral("/k%1.bmp").arg(i), "BMP");
}

void WritePictureLibrary(const QString& dir) {
    MakeDir(dir);
    for (int d = 1; d <= 7; ++d)
        SaveImage(GraceDigit(d), dir + QStringLiteral("/%1.bmp").arg(d), "BMP");
    for (int n = 1; n <= 5; ++n)
        SaveImage(GraceGroup(n), dir + QStringLiteral("/装饰音%1.bmp").arg(n), "BMP");
    const struct {
        const char* name;
        const Glyph& glyph;
    } ornaments[] = {
        {"颤音", Trill()},         {"波音", Mordent()}, {"延长记号", Fermata()},
        {"换气记号", BreathMark()}, {"重音", Accent()},  {"顿音", Staccato()},
    };
    for (const auto& o : ornaments)
        SaveImage(GlyphPicture(o.glyph, 1), dir + "/" + QString::fromUtf8(o.name) + ".bmp", "BMP");
    SaveImage(Hairpin(true), dir + QStringLiteral("/渐强.bmp"), "BMP");
    SaveImage(Hairpin(false), dir + QStringLiteral("/渐弱.bmp"), "BMP");
}

}  // namespace assetgen
