// Page layout figures: page and window size from the bar grid, the guide-line grid.
#include <gtest/gtest.h>

#include "LayoutMath.h"

namespace qn {
namespace {

struct LayoutCase {
    const char* name;
    int barWidth, barsPerLine, lineSpacing;
    int pageWidth, pageHeight, windowWidth, windowHeight;
    int columns, rows;     // guide lines: one column per bar end, rows from y 96
    int firstX, lastX, lastRowY;
};

void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.name; }

class LayoutTable : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutTable, PageWindowAndGuideLines) {
    const LayoutCase& c = GetParam();
    const PageLayout l = ComputePageLayout(c.barWidth, c.barsPerLine, c.lineSpacing);

    EXPECT_EQ(l.pageWidth, c.pageWidth);
    EXPECT_EQ(l.pageHeight, c.pageHeight);
    EXPECT_EQ(l.windowWidth, c.windowWidth);
    EXPECT_EQ(l.windowHeight, c.windowHeight);
    EXPECT_EQ(l.minimizeLeft, c.pageWidth + 88);
    EXPECT_EQ(l.marginLineX, c.pageWidth - 14);

    ASSERT_EQ(int(l.guideLines.size()), c.columns * c.rows);
    ASSERT_LE(int(l.guideLines.size()), kGuideLinePoolSize);
    // Numbered column by column, each column top to bottom, every mark 32 pixels tall.
    for (int k = 0; k < int(l.guideLines.size()); ++k) {
        const int column = k / c.rows, row = k % c.rows;
        const QLine& line = l.guideLines[k];
        SCOPED_TRACE(::testing::Message() << "line " << k);
        EXPECT_EQ(line.x1(), c.firstX + column * c.barWidth);
        EXPECT_EQ(line.x2(), line.x1());
        EXPECT_EQ(line.y1(), 96 + row * c.lineSpacing);
        EXPECT_EQ(line.y2(), line.y1() + 32);
    }
    EXPECT_EQ(l.guideLines.front().x1(), c.firstX);
    EXPECT_EQ(l.guideLines.back().x1(), c.lastX);
    EXPECT_EQ(l.guideLines.back().y1(), c.lastRowY);
}

INSTANTIATE_TEST_SUITE_P(
    Grids, LayoutTable,
    ::testing::Values(
        LayoutCase{"defaults", 80, 8, 60, 668, 945, 852, 945, 8, 33, 94, 654, 2016},
        LayoutCase{"densest", 60, 16, 50, 988, 1397, 1172, 1397, 16, 40, 74, 974, 2046},
        // A short page: the window keeps its least height of 768.
        LayoutCase{"short page", 60, 8, 60, 508, 718, 692, 768, 8, 33, 74, 494, 2016},
        // Rows run to 2048 whatever the page height.
        LayoutCase{"widest", 240, 16, 250, 3868, 5470, 4052, 5470, 16, 8, 254, 3854, 1846}),
    [](const auto& param_info) {
        std::string n = param_info.param.name;
        for (char& ch : n) if (ch == ' ') ch = '_';
        return n;
    });

TEST(PageScroll, EachStepMovesThePageUpByOneHundredPixels) {
    const std::pair<int, int> cases[] = {{0, 0}, {1, -100}, {5, -500}, {18, -1800}};
    for (auto [value, top] : cases) EXPECT_EQ(PageTopForScroll(value), top) << "value " << value;
}

}  // namespace
}  // namespace qn
