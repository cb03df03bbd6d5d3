#include <gtest/gtest.h>

#include "Fixtures.h"
#include "Page.h"

using namespace qn;
using qn::test::allWhite;
using qn::test::blackRect;

namespace {
// A 16 x 4 page whose pixel (x, y) holds the value x + 16y, so every move is traceable.
Page numberedPage() {
    Page p(16, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 16; ++x) {
            QImage one(1, 1, QImage::Format_RGB32);
            one.setPixel(0, 0, 0xFF000000u | uint(x + 16 * y + 1));
            p.paintPicture(one, one.rect(), x, y);
        }
    return p;
}
uint value(const Page& p, int x, int y) { return (p.pixel(x, y) & 0xFFFFFF) - 1; }
}  // namespace

TEST(Page, BlockMoveReadsItsSourceBeforeWriting) {
    struct Case {
        QRect src;
        int dx, dy;
    } cases[] = {
        {{2, 0, 10, 4}, 5, 0},   // overlapping move right
        {{5, 0, 10, 4}, 2, 0},   // overlapping move left
        {{0, 0, 16, 3}, 0, 1},   // overlapping move down
        {{0, 1, 16, 3}, 0, 0},   // overlapping move up
    };
    for (const Case& c : cases) {
        Page p = numberedPage();
        p.bitBlt(c.src, c.dx, c.dy);
        const int offX = c.dx - c.src.x(), offY = c.dy - c.src.y();
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 16; ++x) {
                const int sx = x - offX, sy = y - offY;
                const bool moved = c.src.contains(sx, sy) && sx < 16 && sy < 4;
                const uint want = moved ? uint(sx + 16 * sy) : uint(x + 16 * y);
                ASSERT_EQ(value(p, x, y), want) << "at " << x << "," << y << " for src " << c.src.x();
            }
    }
}

TEST(Page, BlockMoveClipsAtThePageEdges) {
    // Source running past the right edge (backspace moves W + 120 pixels): only
    // on-page source pixels are copied; the rest of the destination keeps its pixels.
    Page p = numberedPage();
    p.bitBlt(QRect(4, 0, 100, 4), 1, 0);
    EXPECT_EQ(value(p, 1, 0), 4u);
    EXPECT_EQ(value(p, 12, 0), 15u);
    EXPECT_EQ(value(p, 13, 0), 13u);  // no source for it: unchanged
    EXPECT_EQ(value(p, 15, 0), 15u);
    // Entirely off the page: nothing happens.
    Page q = numberedPage();
    q.bitBlt(QRect(20, 0, 5, 4), 0, 0);
    q.bitBlt(QRect(0, 0, 5, 4), -10, 0);
    for (int x = 0; x < 16; ++x) EXPECT_EQ(value(q, x, 2), uint(x + 32));
}

TEST(Page, CellCopyReplacesWhiteAndClips) {
    Page p(20, 10);
    blackRect(p, QRect(0, 0, 20, 10));
    QImage cell(4, 4, QImage::Format_RGB32);
    cell.fill(0xFFFFFFFFu);
    cell.setPixel(1, 1, 0xFF000000u);
    p.paintPicture(cell, cell.rect(), 18, 8);  // half of it lies off the page
    EXPECT_EQ(p.pixel(18, 8), 0xFFFFFFFFu);   // white replaced black
    EXPECT_TRUE(p.isInk(19, 9));
    EXPECT_TRUE(p.isInk(17, 8));              // outside the copied rectangle
    // A source rectangle reaching past the source picture copies only what exists.
    Page q(20, 10);
    q.paintPicture(cell, QRect(2, 2, 6, 6), 0, 0);
    EXPECT_TRUE(allWhite(q, QRect(0, 0, 20, 10)));
}

TEST(Page, InkIsExactBlackAndNeverOffThePage) {
    Page p(10, 10);
    QImage px(3, 1, QImage::Format_RGB32);
    px.setPixel(0, 0, 0xFF000000u);
    px.setPixel(1, 0, 0xFF010000u);
    px.setPixel(2, 0, 0xFF000001u);
    p.paintPicture(px, px.rect(), 0, 0);
    EXPECT_TRUE(p.isInk(0, 0));
    EXPECT_FALSE(p.isInk(1, 0));
    EXPECT_FALSE(p.isInk(2, 0));
    for (auto [x, y] : {std::pair{-1, 0}, {10, 0}, {0, -1}, {0, 10}, {600, 5}}) EXPECT_FALSE(p.isInk(x, y));
}

TEST(Page, ResizeKeepsContentAndWhitensNewArea) {
    Page p(30, 20);
    blackRect(p, QRect(25, 15, 5, 5));
    p.resize(80, 40);  // widened past the spare storage
    EXPECT_TRUE(p.isInk(29, 19));
    EXPECT_TRUE(allWhite(p, QRect(30, 0, 50, 40)));
    EXPECT_TRUE(allWhite(p, QRect(0, 20, 80, 20)));
    p.resize(27, 40);  // narrowing cuts off; widening again shows white, not the old ink
    p.resize(80, 40);
    EXPECT_TRUE(p.isInk(26, 19));
    EXPECT_FALSE(p.isInk(28, 19));
    EXPECT_EQ(p.image().size(), QSize(80, 40));
}
