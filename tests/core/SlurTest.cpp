#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "Fixtures.h"
#include "Slur.h"

using namespace qn;

namespace {
bool ink(const QImage& img, int x, int y) { return (img.pixel(x, y) & 0xFFFFFFu) == 0; }
const QRect kWhole(0, 0, 475, 15), kLeftHalf(0, 0, 237, 15), kRightHalf(237, 0, 237, 15);
}  // namespace

TEST(Image4, IsTheArcPicture) {
    const QImage& arc = Image4();
    ASSERT_EQ(arc.size(), QSize(475, 15));
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 475; ++x) {
            const QRgb c = arc.pixel(x, y) & 0xFFFFFFu;
            ASSERT_TRUE(c == 0 || c == 0xFFFFFFu) << "grey at " << x << "," << y;
        }
    // Along the top edge over the middle, down to both bottom corners, white inside.
    for (int x : {93, 237, 381}) EXPECT_TRUE(ink(arc, x, 0)) << x;
    EXPECT_TRUE(ink(arc, 0, 14));
    EXPECT_TRUE(ink(arc, 474, 14));
    EXPECT_FALSE(ink(arc, 237, 7));
    EXPECT_FALSE(ink(arc, 237, 14));
    // Every column holds ink: the arc is unbroken.
    for (int x = 0; x < 475; ++x) {
        bool any = false;
        for (int y = 0; y < 15; ++y) any = any || ink(arc, x, y);
        ASSERT_TRUE(any) << "column " << x;
    }
}

TEST(SlurPieces, SameLine) {
    struct Case {
        int x1, x2, y;
        QRect target;
    } cases[] = {
        {100, 106, 200, {100, 195, 6, 7}},     // span 6: top 194.94 rounds to 195
        {100, 200, 200, {100, 194, 100, 8}},   // one pixel taller per 100 of span
        {100, 300, 200, {100, 193, 200, 9}},
        {40, 640, 200, {40, 189, 600, 13}},
        {100, 250, 200, {100, 194, 150, 8}},   // top 193.5 -> 194 (even)
        {100, 250, 201, {100, 194, 150, 9}},   // top 194.5 -> 194: the bottom stays at y + 2
    };
    for (const Case& c : cases) {
        for (auto [a, b] : {std::pair{c.x1, c.x2}, std::pair{c.x2, c.x1}}) {
            const auto pieces = SlurPieces(a, c.y, b, c.y, 668);
            ASSERT_EQ(pieces.size(), 1u) << a << " to " << b;
            EXPECT_EQ(pieces[0].source, kWhole);
            EXPECT_EQ(pieces[0].target, c.target) << a << " to " << b << " on " << c.y;
            EXPECT_EQ(pieces[0].target.y() + pieces[0].target.height(), c.y + 2);
        }
    }
    EXPECT_TRUE(SlurPieces(100, 200, 100, 200, 668).empty());
}

TEST(SlurPieces, AcrossLinesInEitherOrder) {
    struct Case {
        int x1, y1, x2, y2, width;
        QRect first, second;  // an empty rectangle: no such piece
    } cases[] = {
        // The earlier line to its right limit (668 - 32), the later from x = 20.
        {100, 96, 80, 156, 668, {100, 86, 536, 12}, {20, 150, 60, 8}},
        {620, 96, 26, 156, 668, {620, 91, 16, 7}, {20, 151, 6, 7}},
        // Lines between the two points stay untouched: still two pieces.
        {100, 96, 500, 276, 668, {100, 86, 536, 12}, {20, 266, 480, 12}},
        // A wide page gives a longer first piece.
        {100, 96, 80, 176, 988, {100, 82, 856, 16}, {20, 170, 60, 8}},
        // A mark past the right limit leaves no first piece.
        {642, 96, 80, 156, 668, {}, {20, 150, 60, 8}},
    };
    for (const Case& c : cases) {
        for (bool reversed : {false, true}) {
            const auto pieces = reversed ? SlurPieces(c.x2, c.y2, c.x1, c.y1, c.width)
                                         : SlurPieces(c.x1, c.y1, c.x2, c.y2, c.width);
            std::vector<SlurPiece> want;
            if (!c.first.isEmpty()) want.push_back({kLeftHalf, c.first});
            if (!c.second.isEmpty()) want.push_back({kRightHalf, c.second});
            ASSERT_EQ(pieces.size(), want.size()) << "from " << c.x1 << "," << c.y1 << (reversed ? " reversed" : "");
            for (size_t i = 0; i < want.size(); ++i) {
                EXPECT_EQ(pieces[i].source, want[i].source);
                EXPECT_EQ(pieces[i].target, want[i].target)
                    << "piece " << i << " from " << c.x1 << "," << c.y1 << (reversed ? " reversed" : "");
            }
        }
    }
}

TEST(ScaleInk, KeepsThinInkWhenShrinking) {
    // A one-pixel diagonal squeezed to a third of its size keeps a pixel in
    // every column and row; plain sampling would lose two thirds of it.
    QImage diag(9, 9, QImage::Format_RGB32);
    diag.fill(0xFFFFFFFFu);
    for (int i = 0; i < 9; ++i) diag.setPixel(i, i, 0xFF000000u);
    const QImage small = ScaleInk(diag, diag.rect(), QSize(3, 3));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(ink(small, x, y), x == y) << x << "," << y;
    // Enlarging repeats pixels.
    const QImage big = ScaleInk(diag, QRect(0, 0, 2, 2), QSize(4, 4));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(ink(big, x, y), x / 2 == y / 2) << x << "," << y;
}

TEST(DrawSlur, PaintsOnlyTheArcsInk) {
    struct Case {
        int x1, y1, x2, y2;
    } cases[] = {{100, 200, 106, 200}, {100, 200, 200, 200}, {40, 200, 640, 200}, {300, 200, 80, 140}};
    for (const Case& c : cases) {
        // Grey ground and an octave dot inside the arc's rectangle: neither may turn white.
        Page page(668, 400);
        QImage grey(668, 400, QImage::Format_RGB32);
        grey.fill(0xFF808080u);
        page.paintPicture(grey, grey.rect(), 0, 0);
        const auto pieces = SlurPieces(c.x1, c.y1, c.x2, c.y2, 668);
        const QRect t0 = pieces[0].target;
        const QPoint dot(t0.x() + t0.width() / 2, t0.bottom());
        test::blackRect(page, QRect(dot, QSize(1, 1)));

        const QRect touched = DrawSlur(page, c.x1, c.y1, c.x2, c.y2);
        QRect all;
        for (const SlurPiece& p : pieces) all |= p.target;
        EXPECT_EQ(touched, all);
        EXPECT_TRUE(page.isInk(dot.x(), dot.y()));
        for (const SlurPiece& p : pieces) {
            const QImage want = ScaleInk(Image4(), p.source, p.target.size());
            for (int y = 0; y < p.target.height(); ++y)
                for (int x = 0; x < p.target.width(); ++x) {
                    const QPoint at = p.target.topLeft() + QPoint(x, y);
                    if (at == dot) continue;
                    ASSERT_EQ(page.pixel(at.x(), at.y()), ink(want, x, y) ? 0xFF000000u : 0xFF808080u)
                        << "at " << at.x() << "," << at.y() << " slur " << c.x1 << "," << c.y1;
                }
            // The arc reaches both ends of its piece and every column in between.
            for (int x = 0; x < p.target.width(); ++x) {
                bool any = false;
                for (int y = 0; y < p.target.height(); ++y) any = any || ink(want, x, y);
                ASSERT_TRUE(any) << "gap in column " << x << " of slur " << c.x1 << "," << c.y1;
            }
        }
        // Outside the pieces nothing changed.
        for (int y = 0; y < 400; y += 3)
            for (int x = 0; x < 668; x += 3)
                if (!all.contains(x, y)) {
                    ASSERT_EQ(page.pixel(x, y), 0xFF808080u) << x << "," << y;
                }
    }
}
