// Text printed into the page: pure colour, the cursor's advance, clipping, and
// the generation that tells the window the page changed.
#include <gtest/gtest.h>

#include "Fixtures.h"
#include "GuiApp.h"
#include "TextStamps.h"

using namespace qn;
using namespace qn::test;

namespace {

QFont Big() {
    QFont f = PageFontFace();
    f.setPixelSize(24);
    f.setBold(true);
    return f;
}

struct Count {
    int black = 0, other = 0;
    QRect box;
};

Count Inspect(const Page& page, const QRect& r) {
    Count c;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb v = page.pixel(x, y) & 0xFFFFFF;
            if (v == 0) {
                ++c.black;
                c.box |= QRect(x, y, 1, 1);
            } else if (v != 0xFFFFFF) {
                ++c.other;
            }
        }
    return c;
}

class PageText : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureGuiApplication(); }
};

TEST_F(PageText, PrintsPureInkBelowItsTopAndAdvancesTheCursor) {
    Page page(200, 100);
    const quint64 before = page.generation();
    const int advance = page.drawText(40, 30, QStringLiteral(" 5 "), Big(), 0x000000);
    EXPECT_EQ(advance, 36);  // three half-width cells
    EXPECT_GT(page.generation(), before);
    const Count c = Inspect(page, QRect(0, 0, 200, 100));
    EXPECT_GT(c.black, 20);
    EXPECT_EQ(c.other, 0) << "text is never smoothed";
    // The digit lies in the middle cell, below the given top.
    EXPECT_TRUE(QRect(52, 30, 12, 26).contains(c.box)) << c.box.x() << "," << c.box.y();
}

TEST_F(PageText, ClipAndPageEdgeLimitWhatIsWritten) {
    Page page(200, 100);
    page.drawText(40, 30, QStringLiteral("■"), Big(), 0x000000, QRect(50, 0, 200, 100));
    const Count clipped = Inspect(page, QRect(0, 0, 200, 100));
    EXPECT_GT(clipped.black, 0);
    EXPECT_GE(clipped.box.left(), 50);

    // Wholly off the page: nothing written, no change counted, the advance still given.
    const quint64 before = page.generation();
    EXPECT_EQ(page.drawText(300, 30, QStringLiteral("+"), Big(), 0x000000), 12);
    EXPECT_EQ(page.drawText(40, 40, QStringLiteral("+"), Big(), 0x000000, QRect(0, 0, 10, 10)), 12);
    EXPECT_EQ(page.generation(), before);
    EXPECT_EQ(Inspect(page, QRect(0, 0, 200, 100)).black, clipped.black);
}

TEST_F(PageText, AStampedTextPrintsTheSamePixelsInAnyColour) {
    TextStamps stamps(Big());
    for (const char* text : {" 5 ", "■", "MIN"}) {
        SCOPED_TRACE(text);
        const QString t = QString::fromUtf8(text);
        Page printed(120, 60), stamped(120, 60);
        const int advance = printed.drawText(30, 10, t, Big(), 0x2080C0);
        const TextStamps::Stamp& s = stamps.get(t);
        stamped.paintMask(s.mask, 30 + s.left, 10, 0x2080C0);
        EXPECT_EQ(s.advance, advance);
        EXPECT_EQ(diffArea(stamped, 0, 0, printed.image(), QRect(0, 0, 120, 60)), "");
    }
}

TEST_F(PageText, MaskIsClippedAndOffThePageChangesNothing) {
    QImage mask(4, 4, QImage::Format_Alpha8);
    mask.fill(255);
    Page page(10, 10);
    page.paintMask(mask, 6, 6, 0x000000, QRect(0, 0, 8, 10));
    const Count c = Inspect(page, QRect(0, 0, 10, 10));
    EXPECT_EQ(c.box, QRect(6, 6, 2, 4));
    const quint64 before = page.generation();
    page.paintMask(mask, 20, 0, 0x000000);
    page.paintMask(mask, -4, -4, 0x000000);
    page.paintMask(mask, 0, 0, 0x000000, QRect(20, 20, 5, 5));
    EXPECT_EQ(page.generation(), before);
    page.paintMask(mask, -2, -2, 0x000000);
    EXPECT_GT(page.generation(), before);
}

}  // namespace
