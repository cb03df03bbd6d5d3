#pragma once
// The page layout as plain figures: page size from the bar grid, the guide-line
// grid, the main window's size. Headless, so the arithmetic is tested without widgets.

#include <QLine>
#include <vector>

namespace qn {

inline constexpr int kPageLeft = 176;          // the page canvas's x in the window
inline constexpr int kGuideLinePoolSize = 889; // Line2(0..888)
inline constexpr int kGuideLineLength = 32;
inline constexpr int kGuideRowsEnd = 2048;     // rows run this far whatever the page height
inline constexpr int kMinWindowHeight = 768;

// The largest page a layout makes: the bar-width and bars-per-line sliders at
// their ends (240 x 16), the height the width times the square root of two.
inline constexpr int kMaxBarWidth = 240;
inline constexpr int kMaxBarsPerLine = 16;
inline constexpr int kMaxLayoutPageWidth = kMaxBarWidth * kMaxBarsPerLine + 28;  // 3868
inline constexpr int kMaxLayoutPageHeight = int(kMaxLayoutPageWidth * 1.4142135623731 + 0.5);  // 5470

struct PageLayout {
    int pageWidth = 0;
    int pageHeight = 0;
    int windowWidth = 0;
    int windowHeight = 0;
    int minimizeLeft = 0;  // Command16
    int marginLineX = 0;   // Line3
    int lyricsWidth = 0;   // Textgc
    // Column by column (one column per bar end, left to right), each top to bottom:
    // the order in which the pool's lines are numbered.
    std::vector<QLine> guideLines;
};

PageLayout ComputePageLayout(int barWidth, int barsPerLine, int lineSpacing);

// The page canvas's top edge for a position of the page scroll bar.
int PageTopForScroll(int scrollValue);

}  // namespace qn
