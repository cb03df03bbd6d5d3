#include <gtest/gtest.h>

#include "Fixtures.h"
#include "PageOps.h"

using namespace qn;
using qn::test::allWhite;
using qn::test::blackRect;

TEST(SnapToGrid, PressPoints) {
    struct Case {
        Single X, Y;
        int pitch;
        QPoint want;
    } cases[] = {
        // The pointer over a cell snaps to its left edge; the line band to its top.
        {23, 96, 50, {20, 96}},
        {28, 140, 50, {20, 96}},
        {29, 146, 50, {26, 146}},
        // Half-pixel pointers round half to even before the division.
        {27.5f, 96, 60, {20, 96}},   // round(4.5) = 4
        {28.5f, 96, 60, {26, 96}},   // round(5.5) = 6
        {22.5f, 96, 60, {20, 96}},   // round(-0.5) = 0
        // Near the left margin the truncation toward zero lets the caret leave the grid's start.
        {0, 96, 60, {2, 96}},
        {17, 96, 60, {14, 96}},      // -6 / 6 = -1
        {18, 96, 60, {20, 96}},      // -5 / 6 = 0
        // Above the first line: the first band reaches up a whole pitch.
        {100, 40, 60, {92, 96}},     // -56 / 60 = 0
        {100, 36, 60, {92, 36}},     // -60 / 60 = -1
        {100, 0, 80, {92, 16}},      // -96 / 80 = -1
        // Pitches 60 and 80, the last pixel of a band and the first of the next.
        {300, 155, 60, {296, 96}},
        {300, 156, 60, {296, 156}},
        {300, 415, 80, {296, 336}},
        {300, 416, 80, {296, 416}},
        // A wide page: the grid runs on to its right edge.
        {950, 700, 60, {944, 696}},
        {987, 96, 80, {980, 96}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SnapToGrid(c.X, c.Y, c.pitch), c.want) << "press (" << c.X << ", " << c.Y << ") pitch " << c.pitch;
}

TEST(SelectionSize, GrowsInSixPixelStepsAndWholePitches) {
    struct Case {
        QPoint origin;
        Single X, Y;
        int pitch;
        QSize want;
    } cases[] = {
        {{20, 96}, 50, 216, 60, {30, 120}},    // 30 right, 2p down
        {{20, 96}, 55, 150, 60, {30, 60}},     // part steps are dropped
        {{20, 96}, 49.5f, 96, 60, {30, 60}},   // round(49.5) = 50
        {{20, 96}, 48.5f, 96, 60, {24, 60}},   // round(48.5) = 48
        {{20, 96}, 26, 97, 60, {6, 60}},       // one step: the minimum
        {{200, 216}, 10, 100, 60, {6, 60}},    // left of and above the press point
        {{200, 216}, 190, 400, 60, {6, 180}},  // left only: the height still grows
        {{20, 96}, 620, 416, 80, {600, 320}},
        {{20, 96}, 620, 415, 80, {600, 240}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SelectionSize(c.origin, c.X, c.Y, c.pitch), c.want)
            << "from (" << c.origin.x() << ", " << c.origin.y() << ") to (" << c.X << ", " << c.Y << ")";
}

TEST(EraseSquare, WhitensExactlyTheBrushSquareOnThePage) {
    struct Case {
        Single X, Y;
        int k;
        QRect want;  // the whitened page pixels
    } cases[] = {
        {100, 100, 10, {95, 95, 10, 10}},
        {100, 100, 5, {98, 98, 5, 5}},       // 97.5 rounds to 98
        {100, 100, 1, {100, 100, 1, 1}},     // 99.5 rounds to 100
        {100, 100, 41, {80, 80, 41, 41}},
        {100, 100, 42, {79, 79, 42, 42}},    // beyond the old 41-pixel source: all of it
        {100, 100, 50, {75, 75, 50, 50}},
        {3, 4, 50, {0, 0, 28, 29}},          // clipped at the top-left corner
        {198, 158, 50, {173, 133, 27, 27}},  // clipped at the bottom-right corner
        {500, 500, 50, {}},                  // wholly off the page
    };
    for (const Case& c : cases) {
        Page page(200, 160);
        blackRect(page, QRect(0, 0, 200, 160));
        const EraserSquare square = EraserSquareAt(c.X, c.Y, c.k);
        EXPECT_EQ(EraseSquare(page, square), c.want) << "brush " << c.k << " at " << c.X << "," << c.Y;
        for (int y = 0; y < 160; ++y)
            for (int x = 0; x < 200; ++x)
                ASSERT_EQ(page.isInk(x, y), !c.want.contains(x, y))
                    << "pixel " << x << "," << y << " brush " << c.k << " at " << c.X << "," << c.Y;
        // The spare storage beyond the page is never painted.
        const QImage& storage = page.storage();
        for (int y = 0; y < 160; ++y)
            for (int x = 200; x < storage.width(); ++x) ASSERT_EQ(storage.pixel(x, y), 0xFFFFFFFFu);
    }
}

TEST(EraserSquareAt, CentresTheShapeOnThePointer) {
    const EraserSquare s = EraserSquareAt(100, 60, 7);
    EXPECT_FLOAT_EQ(s.Left, 96.5f);
    EXPECT_FLOAT_EQ(s.Top, 56.5f);
    EXPECT_EQ(s.Size, 7);
}
