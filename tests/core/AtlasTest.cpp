// The glyph atlases as the editor sees them: cell rectangles, and the pixels that
// stamping, chord placement and justification later probe on the page.

#include <gtest/gtest.h>

#include <QImage>
#include <QRect>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "Atlas.h"

using namespace qn;

namespace {

constexpr QRgb kInk = 0xFF000000u;
constexpr QRgb kWhite = 0xFFFFFFFFu;

bool ink(const QImage& img, int x, int y) { return img.pixel(x, y) == kInk; }

// The whole-cell rectangle of a code in its atlas.
QRect cellOf(int code, int beams = 0) {
    return code < 100 ? NoteCellRect(code, beams) : OrnamentCellRect(code, 0, 40);
}

// Smallest rectangle, in cell coordinates, holding every ink pixel of the cell.
QRect inkBounds(const QImage& img, const QRect& cell) {
    QRect b;
    for (int y = 0; y < cell.height(); ++y)
        for (int x = 0; x < cell.width(); ++x)
            if (ink(img, cell.x() + x, cell.y() + y)) b |= QRect(x, y, 1, 1);
    return b;
}

bool rowHasInk(const QImage& img, const QRect& cell, int row) {
    for (int x = 0; x < cell.width(); ++x)
        if (ink(img, cell.x() + x, cell.y() + row)) return true;
    return false;
}

bool rowFullyInked(const QImage& img, const QRect& cell, int row) {
    for (int x = 0; x < cell.width(); ++x)
        if (!ink(img, cell.x() + x, cell.y() + row)) return false;
    return true;
}

// First pixel of `area` that is not `colour`, or "" when there is none.
std::string firstNot(const QImage& img, const QRect& area, QRgb colour) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (img.pixel(x, y) != colour) {
                std::ostringstream s;
                s << "pixel (" << x << ", " << y << ") is #" << std::hex << (img.pixel(x, y) & 0xFFFFFF);
                return s.str();
            }
    return {};
}

std::string describe(const QRect& r) {
    if (r.isNull()) return "no ink";
    std::ostringstream s;
    s << "columns " << r.left() << "-" << r.right() << ", rows " << r.top() << "-" << r.bottom();
    return s.str();
}

}  // namespace

// ---- Source rectangles ---------------------------------------------------------

struct RectCase {
    int code, a, b;  // beams for notes; band top and height for ornaments
    QRect want;
};
void PrintTo(const RectCase& c, std::ostream* os) { *os << "code " << c.code << " (" << c.a << ", " << c.b << ")"; }

class AtlasRect : public testing::TestWithParam<RectCase> {};

TEST_P(AtlasRect, CodeSelectsItsCell) {
    const RectCase& c = GetParam();
    const QRect got = c.code < 100 ? NoteCellRect(c.code, c.a) : OrnamentCellRect(c.code, c.a, c.b);
    EXPECT_EQ(got, c.want);
}

INSTANTIATE_TEST_SUITE_P(Cells, AtlasRect,
    testing::Values(RectCase{14, 0, 0, {168, 0, 12, 40}},
                    RectCase{14, 2, 0, {168, 80, 12, 40}},
                    RectCase{0, 3, 0, {0, 120, 12, 40}},
                    RectCase{41, 1, 0, {492, 40, 12, 40}},
                    RectCase{101, 0, 40, {12, 0, 12, 40}},
                    RectCase{119, 26, 5, {228, 26, 12, 5}},
                    RectCase{201, 3, 22, {6, 43, 6, 22}},
                    RectCase{214, 0, 40, {84, 40, 6, 40}}));

TEST(Atlas, SizesAreThoseOfTheGrid) {
    EXPECT_EQ(Picmode().size(), QSize(kPicmodeWidth, kPicmodeHeight));
    EXPECT_EQ(Picmode2().size(), QSize(kPicmode2Width, kPicmode2Height));
}

// ---- Note atlas ----------------------------------------------------------------

TEST(Picmode, EveryPixelIsPureInkOrWhite) {
    const QImage& img = Picmode();
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            ASSERT_TRUE(p == kInk || p == kWhite) << "pixel (" << x << ", " << y << ") is #" << std::hex
                                                  << (p & 0xFFFFFF);
        }
}

TEST(Picmode, ColumnsPastTheLastCellAreBlank) {
    EXPECT_EQ(firstNot(Picmode(), QRect(504, 0, 4, 160), kWhite), "");
}

// Justification finds notes through row 15; chord placement takes a column with
// ink on rows 5 and 32 for a bar line, so no note cell may have one.
TEST(Picmode, NoteBodiesCrossRow15AndNeverLookLikeABarLine) {
    const QImage& img = Picmode();
    for (int beams = 0; beams <= 3; ++beams)
        for (int code = 0; code <= 40; ++code) {
            SCOPED_TRACE(testing::Message() << "code " << code << ", beams " << beams);
            const QRect cell = NoteCellRect(code, beams);
            EXPECT_TRUE(rowHasInk(img, cell, 15));
            EXPECT_FALSE(rowHasInk(img, cell, 5));
            for (int x = 0; x < 12; ++x)
                EXPECT_FALSE(ink(img, cell.x() + x, cell.y() + 5) && ink(img, cell.x() + x, cell.y() + 32))
                    << "column " << x;
        }
}

TEST(Picmode, BeamLinesSpanTheCellExactlyAsOftenAsTheBeamCount) {
    const QImage& img = Picmode();
    for (int beams = 0; beams <= 3; ++beams)
        for (int code = 0; code <= 40; ++code)
            for (int k = 1; k <= 3; ++k) {
                const int row = 24 + 2 * k;
                EXPECT_EQ(rowFullyInked(img, NoteCellRect(code, beams), row), k <= beams)
                    << "code " << code << ", beams " << beams << ", row " << row;
            }
}

struct BodyCase {
    int code;
    int top, bottom;  // rows of the glyph body
};
void PrintTo(const BodyCase& c, std::ostream* os) { *os << "code " << c.code; }

class PicmodeBody : public testing::TestWithParam<BodyCase> {};

// Plain glyphs, no dots or beams: the body alone, centred in the cell.
TEST_P(PicmodeBody, SitsOnItsRowsCentred) {
    const BodyCase& c = GetParam();
    const QRect b = inkBounds(Picmode(), NoteCellRect(c.code, 0));
    ASSERT_FALSE(b.isNull());
    EXPECT_EQ(b.top(), c.top) << describe(b);
    EXPECT_EQ(b.bottom(), c.bottom) << describe(b);
    EXPECT_LE(std::abs(b.left() - (11 - b.right())), 1) << describe(b);
}

INSTANTIATE_TEST_SUITE_P(Glyphs, PicmodeBody,
    testing::Values(BodyCase{14, 10, 23}, BodyCase{15, 10, 23}, BodyCase{16, 10, 23},
                    BodyCase{17, 10, 23}, BodyCase{18, 10, 23}, BodyCase{19, 10, 23},
                    BodyCase{20, 10, 23}, BodyCase{35, 10, 23}, BodyCase{36, 8, 23},
                    BodyCase{37, 8, 23}, BodyCase{38, 8, 23}, BodyCase{39, 8, 23},
                    BodyCase{40, 8, 23}));

struct DotCase {
    int code, beams;
    std::vector<int> dotRows;    // first row of each 2 x 2 dot at columns 5-6
    std::vector<int> clearRows;  // rows where columns 5-6 must be white
};
void PrintTo(const DotCase& c, std::ostream* os) { *os << "code " << c.code << ", beams " << c.beams; }

class OctaveDots : public testing::TestWithParam<DotCase> {};

TEST_P(OctaveDots, SitWhereTheBeamCountPutsThem) {
    const DotCase& c = GetParam();
    const QImage& img = Picmode();
    const QRect cell = NoteCellRect(c.code, c.beams);
    for (int row : c.dotRows)
        for (int y = row; y <= row + 1; ++y)
            for (int x = 5; x <= 6; ++x)
                EXPECT_TRUE(ink(img, cell.x() + x, cell.y() + y)) << "dot pixel " << x << ", " << y;
    for (int y : c.clearRows)
        for (int x = 5; x <= 6; ++x)
            EXPECT_FALSE(ink(img, cell.x() + x, cell.y() + y)) << "pixel " << x << ", " << y;
}

INSTANTIATE_TEST_SUITE_P(Dots, OctaveDots,
    testing::Values(
        // below, no beams: rows 26-27, 29-30
        DotCase{7, 0, {26}, {24, 25, 28, 29, 30}}, DotCase{0, 0, {26, 29}, {24, 25, 28, 31}},
        DotCase{13, 0, {26}, {25, 28, 29}}, DotCase{6, 0, {26, 29}, {25, 28, 31}},
        // below, under the lowest beam line with a one-row gap
        DotCase{7, 1, {29}, {27, 28, 31, 32, 33}}, DotCase{0, 1, {29, 32}, {27, 31, 34}},
        DotCase{9, 2, {31}, {29, 30, 33, 34}}, DotCase{2, 2, {31, 34}, {29, 30, 33, 36}},
        DotCase{12, 3, {33}, {31, 32, 35, 36}}, DotCase{5, 3, {33, 36}, {31, 32, 35, 38}},
        // above: rows 6-7, and 3-4 for the second
        DotCase{21, 0, {6}, {2, 3, 4, 5, 8, 9}}, DotCase{28, 0, {3, 6}, {2, 5, 8}},
        DotCase{27, 3, {6}, {3, 4, 5}}, DotCase{34, 2, {3, 6}, {5, 8}},
        // plain digits: nothing above the body or under it
        DotCase{14, 0, {}, {3, 4, 6, 7, 26, 27, 29, 30}},
        DotCase{20, 1, {}, {3, 6, 29, 30, 32, 33}}));

TEST(Picmode, DashIsAQuarterNoteGlyphOnly) {
    const QImage& img = Picmode();
    EXPECT_EQ(describe(inkBounds(img, NoteCellRect(41, 0))), describe(QRect(1, 15, 11, 2)));
    EXPECT_EQ(firstNot(img, NoteCellRect(41, 0).adjusted(1, 15, 0, -23), kInk), "");
    for (int beams = 1; beams <= 3; ++beams)
        EXPECT_EQ(firstNot(img, NoteCellRect(41, beams), kWhite), "") << "beams " << beams;
}

// ---- Ornament atlas -------------------------------------------------------------

struct OrnamentCase {
    int code;
    QRect bounds;               // ink bounding box in the cell; null for a blank cell
    std::vector<QRect> solids;  // areas that must be ink throughout
};
void PrintTo(const OrnamentCase& c, std::ostream* os) { *os << "code " << c.code; }

class OrnamentCell : public testing::TestWithParam<OrnamentCase> {};

TEST_P(OrnamentCell, HasItsGeometry) {
    const OrnamentCase& c = GetParam();
    const QImage& img = Picmode2();
    const QRect cell = cellOf(c.code);
    EXPECT_EQ(describe(inkBounds(img, cell)), describe(c.bounds));
    for (const QRect& s : c.solids)
        EXPECT_EQ(firstNot(img, s.translated(cell.topLeft()), kInk), "") << describe(s);
}

// A stroke or bar of the bar-line family: rows 4 to 32, so probes on 5 and 32 see it.
QRect bar(int col, int width = 1) { return QRect(col, 4, width, 29); }
QRect beam(int row, int width) { return QRect(0, row, width, 1); }

INSTANTIATE_TEST_SUITE_P(FullWidth, OrnamentCell,
    testing::Values(
        OrnamentCase{100, {}, {}},
        OrnamentCase{101, bar(7), {bar(7)}},
        OrnamentCase{102, QRect(2, 4, 9, 29), {bar(2, 3), bar(7), {9, 12, 2, 2}, {9, 21, 2, 2}}},
        OrnamentCase{103, QRect(2, 4, 9, 29), {{2, 12, 2, 2}, {2, 21, 2, 2}, bar(5), bar(8, 3)}},
        OrnamentCase{104, QRect(3, 4, 6, 29), {bar(3), bar(6, 3)}},
        OrnamentCase{105, QRect(5, 4, 4, 29), {bar(5), bar(8)}},
        OrnamentCase{106, QRect(5, 3, 4, 16), {}},
        OrnamentCase{107, QRect(4, 4, 5, 12), {}},
        OrnamentCase{108, QRect(4, 4, 4, 14), {}},
        OrnamentCase{109, {}, {}}, OrnamentCase{110, {}, {}}, OrnamentCase{111, {}, {}},
        OrnamentCase{112, QRect(1, 16, 11, 2), {QRect(1, 16, 11, 2)}},
        OrnamentCase{113, QRect(5, 10, 5, 14), {}},
        OrnamentCase{114, QRect(5, 10, 5, 14), {}},
        OrnamentCase{115, QRect(1, 15, 4, 4), {QRect(1, 15, 4, 4)}},
        OrnamentCase{116, {}, {}},
        OrnamentCase{117, beam(26, 12), {beam(26, 12)}},
        OrnamentCase{118, QRect(0, 26, 12, 3), {beam(26, 12), beam(28, 12)}},
        OrnamentCase{119, QRect(0, 26, 12, 5), {beam(26, 12), beam(28, 12), beam(30, 12)}}));

INSTANTIATE_TEST_SUITE_P(HalfWidth, OrnamentCell,
    testing::Values(
        OrnamentCase{200, {}, {}},
        OrnamentCase{201, QRect(3, 3, 3, 16), {}},
        OrnamentCase{202, QRect(1, 4, 5, 12), {}},
        OrnamentCase{203, QRect(3, 4, 3, 14), {}},
        OrnamentCase{204, beam(26, 6), {beam(26, 6)}},
        OrnamentCase{205, QRect(0, 26, 6, 3), {beam(26, 6), beam(28, 6)}},
        OrnamentCase{206, QRect(0, 26, 6, 5), {beam(26, 6), beam(28, 6), beam(30, 6)}},
        OrnamentCase{207, bar(5), {bar(5)}},
        OrnamentCase{208, QRect(2, 4, 3, 29), {bar(2), bar(4)}},
        OrnamentCase{209, QRect(1, 9, 5, 14), {}},
        OrnamentCase{210, QRect(1, 9, 5, 14), {}},
        OrnamentCase{211, QRect(1, 14, 4, 4), {QRect(1, 14, 4, 4)}},
        OrnamentCase{212, QRect(0, 4, 6, 29), {bar(0, 2), bar(3)}},
        OrnamentCase{213, QRect(0, 4, 6, 29), {bar(2), bar(4, 2)}},
        OrnamentCase{214, QRect(1, 4, 4, 29), {bar(1), bar(3, 2)}},
        OrnamentCase{215, {}, {}}));

TEST(Picmode2, BlankAreas) {
    struct Case {
        const char* what;
        QRect area;
    } cases[] = {
        {"top-left corner, the eraser source", {0, 0, 12, 41}},
        {"full-width cells 109-111", {108, 0, 36, 40}},
        {"half-width band after code 214", {90, 40, kPicmode2Width - 90, 40}},
    };
    for (const Case& c : cases) EXPECT_EQ(firstNot(Picmode2(), c.area, kWhite), "") << c.what;
}

// Red is allowed only where no code reaches; every reachable cell is black on white.
TEST(Picmode2, ReachableCellsArePureInkOrWhite) {
    const QImage& img = Picmode2();
    for (const QRect& area : {QRect(0, 0, 240, 40), QRect(0, 40, 90, 40)})
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) {
                const QRgb p = img.pixel(x, y);
                ASSERT_TRUE(p == kInk || p == kWhite) << "pixel (" << x << ", " << y << ")";
            }
}

// ---- Code classes ------------------------------------------------------------------

TEST(CodeClass, DotsAccidentalsAndTheRest) {
    struct Case {
        Integer code, want;
    } cases[] = {{115, 1}, {211, 1}, {201, 2}, {202, 2}, {203, 2}, {116, 0},
                 {200, 0}, {204, 0}, {999, 0}, {14, 0},  {101, 0}, {-1, 0}};
    for (const Case& c : cases) {
        Integer result = -7;
        CodeClass(c.code, result);
        EXPECT_EQ(result, c.want) << "code " << c.code;
    }
}
