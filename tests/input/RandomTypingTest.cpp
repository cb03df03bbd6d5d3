// Long random typing sessions through the key handler: whatever the keys, the
// caret stays on the line grid, the page keeps its size and holds only ink and
// white, and justification never leaves insert mode changed.
#include <gtest/gtest.h>

#include <random>

#include "TestWindow.h"

using namespace qn;
using qn::test::TestWindow;

TEST(RandomTyping, InvariantsHoldAfterEveryKey) {
    const Integer keys[] = {49, 50, 51, 52, 53, 54, 55, 56, 81, 87, 69, 82, 84, 89, 85, 73, 112, 123,
                            90, 88, 67, 86, 66, 189, 192, 65, 72, 219, 221, 220, 222, 190, 78, 77, 188,
                            32, 57, 48, 8, 8, 8, 13, 27, 33, 34, 96, 97, 98, 99, 37, 38, 39, 40, 45, 83};
    for (unsigned seed : {1u, 2u, 3u}) {
        TestWindow w;
        std::mt19937 rng(seed);
        w.check8 = seed != 1;
        w.check11 = seed != 2;
        w.check5[2] = w.check5[3] = true;
        const int W = w.ed.page.width(), H = w.ed.page.height();
        for (int i = 0; i < 6000; ++i) {
            const Integer key = keys[rng() % (sizeof keys / sizeof keys[0])];
            const Integer mode = w.ed.st.InsertMode;
            w.press(key);
            if (key != 45) {
                ASSERT_EQ(w.ed.st.InsertMode, mode) << "key " << key << " step " << i;
            }
            const Caret& c = w.ed.caret;
            ASSERT_GE(c.Left, 20) << "key " << key << " step " << i << " seed " << seed;
            ASSERT_LE(c.Left, W - 32) << "key " << key << " step " << i << " seed " << seed;
            ASSERT_GE(c.Top, 96);
            ASSERT_EQ((int(c.Top) - 96) % 60, 0) << "off the line grid at step " << i;
            ASSERT_EQ(w.ed.page.width(), W);
            ASSERT_EQ(w.ed.page.height(), H);
            if (c.Top > 700) w.ed.caret.Top = 96;  // keep the session on the page
        }
        const QImage page = w.ed.page.image();
        int ink = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x) {
                const QRgb p = page.pixel(x, y) & 0xFFFFFFu;
                ASSERT_TRUE(p == 0 || p == 0xFFFFFFu) << "pixel " << x << "," << y;
                ink += p == 0;
            }
        EXPECT_GT(ink, 1000) << "the session wrote something";
    }
}
