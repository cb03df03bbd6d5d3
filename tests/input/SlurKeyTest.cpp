#include <gtest/gtest.h>

#include "MouseWindow.h"
#include "Slur.h"
#include "SlurMarker.h"

using namespace qn;
using qn::test::MouseWindow;

namespace {
void caretAt(Editor& ed, Single left, Single top) {
    ed.caret.Left = left;
    ed.caret.Top = top;
}
}  // namespace

TEST(SlurKey, MarksThenDrawsFromCellCentreToCellCentre) {
    MouseWindow w;
    SlurMark label8;
    caretAt(w.ed, 94, 200);
    EXPECT_EQ(SlurKey(w.ed, label8), SlurStep::Marked);
    EXPECT_TRUE(label8.Visible);
    EXPECT_EQ(label8.Left, 94);
    EXPECT_EQ(label8.Top, 200);
    EXPECT_TRUE(w.ed.page.image() == Page(w.ed.page.width(), w.ed.page.height()).image());

    caretAt(w.ed, 294, 200);  // typing and moving do not cancel the mark
    QRect changed;
    EXPECT_EQ(SlurKey(w.ed, label8, &changed), SlurStep::Drawn);
    EXPECT_FALSE(label8.Visible);
    EXPECT_EQ(changed, QRect(100, 193, 200, 9));
    Page want(w.ed.page.width(), w.ed.page.height());
    DrawSlur(want, 100, 200, 300, 200);
    EXPECT_TRUE(w.ed.page.image() == want.image());
}

TEST(SlurKey, TwiceAtOnePlaceDrawsNothing) {
    MouseWindow w;
    SlurMark label8;
    caretAt(w.ed, 94, 200);
    SlurKey(w.ed, label8);
    EXPECT_EQ(SlurKey(w.ed, label8), SlurStep::Unmarked);
    EXPECT_FALSE(label8.Visible);
    EXPECT_TRUE(w.ed.page.image() == Page(w.ed.page.width(), w.ed.page.height()).image());
}

TEST(SlurKey, AcrossTwoLinesTheSameInEitherOrder) {
    QImage pages[2];
    for (int order = 0; order < 2; ++order) {
        MouseWindow w;
        SlurMark label8;
        const QPointF early(500, 96), late(56, 216);
        const QPointF first = order == 0 ? early : late, second = order == 0 ? late : early;
        caretAt(w.ed, Single(first.x()), Single(first.y()));
        SlurKey(w.ed, label8);
        caretAt(w.ed, Single(second.x()), Single(second.y()));
        EXPECT_EQ(SlurKey(w.ed, label8), SlurStep::Drawn);
        pages[order] = w.ed.page.image();
        // Ink right of the mark on the early line and left of the caret on the late
        // one; the line between stays white.
        bool earlyInk = false, lateInk = false, middleInk = false;
        for (int y = 0; y < pages[order].height(); ++y)
            for (int x = 0; x < pages[order].width(); ++x) {
                if ((pages[order].pixel(x, y) & 0xFFFFFF) != 0) continue;
                if (y < 98) earlyInk = earlyInk || x >= 506;
                else if (y < 200) middleInk = true;
                else lateInk = lateInk || (x >= 20 && x < 62);
            }
        EXPECT_TRUE(earlyInk);
        EXPECT_TRUE(lateInk);
        EXPECT_FALSE(middleInk);
    }
    EXPECT_TRUE(pages[0] == pages[1]);
}
