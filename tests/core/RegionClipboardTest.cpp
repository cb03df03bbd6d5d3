#include <gtest/gtest.h>

#include "Fixtures.h"
#include "RegionClipboard.h"

using namespace qn;
using qn::test::allWhite;
using qn::test::diffArea;

namespace {
// A page whose every pixel is its own colour, so a pixel carried to the wrong
// place is caught; no pixel is white.
Page patternPage(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, 0xFF000000u | uint((x * 7 + y * 131) % 0xFFFF));
    Page page(w, h);
    page.paintPicture(img, img.rect(), 0, 0);
    return page;
}
}  // namespace

TEST(RegionClipboard, PasteBeforeAnyCopyPaintsNothing) {
    Page page = patternPage(200, 100);
    const QImage before = page.image();
    RegionClipboard clip;
    QRect changed(1, 1, 1, 1);
    EXPECT_FALSE(clip.Paste(page, 10, 10, &changed));
    EXPECT_TRUE(changed.isEmpty());
    EXPECT_EQ(page.image(), before);
    EXPECT_EQ(clip.image().size(), QSize(417, 49));
}

TEST(RegionClipboard, PasteDrawsTheRegionAtThePointAndLeavesTheSource) {
    Page page = patternPage(300, 200);
    const QImage before = page.image();
    RegionClipboard clip;
    clip.Copy(page, QRect(20, 96, 60, 50));
    EXPECT_EQ(clip.image().size(), QSize(60, 50));
    QRect changed;
    ASSERT_TRUE(clip.Paste(page, 150, 30, &changed));
    EXPECT_EQ(changed, QRect(150, 30, 60, 50));
    EXPECT_EQ(diffArea(page, 150, 30, before, QRect(20, 96, 60, 50)), "");
    EXPECT_EQ(diffArea(page, 20, 96, before, QRect(20, 96, 60, 50)), "");
    // Again at another place: the content stays.
    ASSERT_TRUE(clip.Paste(page, 0, 0));
    EXPECT_EQ(diffArea(page, 0, 0, before, QRect(20, 96, 60, 50)), "");
}

TEST(RegionClipboard, PasteBeyondThePageEdgesIsDropped) {
    struct Case {
        int x, y;
        QRect visible;  // of the 60 x 50 region, in region coordinates
    } cases[] = {
        {270, 10, {0, 0, 30, 50}},   // right edge
        {100, 170, {0, 0, 60, 30}},  // bottom edge
        {280, 190, {0, 0, 20, 10}},  // corner
        {300, 10, {}},               // wholly beyond
    };
    for (const Case& c : cases) {
        Page page = patternPage(300, 200);
        const QImage before = page.image();
        RegionClipboard clip;
        clip.Copy(page, QRect(20, 96, 60, 50));
        QRect changed;
        ASSERT_TRUE(clip.Paste(page, c.x, c.y, &changed));
        if (c.visible.isEmpty()) {
            EXPECT_TRUE(changed.isEmpty());
        } else {
            EXPECT_EQ(changed, c.visible.translated(c.x, c.y));
            EXPECT_EQ(diffArea(page, c.x, c.y, before, c.visible.translated(20, 96)), "");
        }
        // Outside the pasted part the page is as before, and the spare storage
        // right of the page stays white.
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 300; ++x)
                if (!changed.contains(x, y)) {
                    ASSERT_EQ(page.pixel(x, y), before.pixel(x, y) | 0xFF000000u) << x << "," << y;
                }
        const QImage& storage = page.storage();
        for (int y = 0; y < 200; ++y)
            for (int x = 300; x < storage.width(); ++x) ASSERT_EQ(storage.pixel(x, y), 0xFFFFFFFFu) << x << "," << y;
    }
}

TEST(RegionClipboard, CopyOffThePageHoldsWhite) {
    Page page = patternPage(100, 80);
    RegionClipboard clip;
    clip.Copy(page, QRect(80, 60, 40, 30));
    const QImage& img = clip.image();
    EXPECT_EQ(img.pixel(19, 19), page.pixel(99, 79));
    EXPECT_EQ(img.pixel(20, 0), 0xFFFFFFFFu);
    EXPECT_EQ(img.pixel(0, 20), 0xFFFFFFFFu);
}

TEST(RegionClipboard, ClearEmptiesTheContentAndWhitensTheGivenSize) {
    Page page = patternPage(300, 200);
    RegionClipboard clip;
    clip.Copy(page, QRect(20, 96, 60, 50));
    // A size larger than the content (a tall selection too narrow to be copied):
    // the whole of it turns white.
    EXPECT_EQ(clip.Clear(page, 100, 20, QSize(18, 120)), QRect(100, 20, 18, 120));
    EXPECT_TRUE(allWhite(page, QRect(100, 20, 18, 120)));
    EXPECT_FALSE(page.pixel(99, 20) == 0xFFFFFFFFu || page.pixel(118, 20) == 0xFFFFFFFFu ||
                 page.pixel(100, 140) == 0xFFFFFFFFu || page.pixel(100, 19) == 0xFFFFFFFFu);
    // The content is white now but keeps its size: a paste pastes white.
    EXPECT_EQ(clip.image().size(), QSize(60, 50));
    ASSERT_TRUE(clip.Paste(page, 200, 100));
    EXPECT_TRUE(allWhite(page, QRect(200, 100, 60, 50)));
    EXPECT_FALSE(page.pixel(260, 100) == 0xFFFFFFFFu);
}
