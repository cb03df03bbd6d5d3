#include "LayoutMath.h"

#include "EditorState.h"

namespace qn {

PageLayout ComputePageLayout(int barWidth, int barsPerLine, int lineSpacing) {
    PageLayout l;
    // A bar end lies every bar width from x 14; marks below the page are kept,
    // they are simply not seen.
    if (barWidth > 0 && lineSpacing > 0) {
        for (int x = barWidth + 14; x <= barWidth * barsPerLine + 14; x += barWidth)
            for (int y = geom::FirstLineTop; y <= kGuideRowsEnd; y += lineSpacing)
                l.guideLines.emplace_back(x, y, x, y + kGuideLineLength);
    }
    l.pageWidth = barWidth * barsPerLine + 28;
    l.pageHeight = RoundHalfEven(l.pageWidth * 1.4142135623731);
    l.marginLineX = l.pageWidth - 14;
    l.lyricsWidth = l.pageWidth - 40;
    l.windowWidth = l.pageWidth + kPageLeft + 8;
    l.windowHeight = l.pageHeight > kMinWindowHeight ? l.pageHeight : kMinWindowHeight;
    l.minimizeLeft = l.pageWidth + 88;
    return l;
}

int PageTopForScroll(int scrollValue) { return -100 * scrollValue; }

}  // namespace qn
