// LineJustify on small hand-made lines: ink on row 15 for note bodies, row 26
// for beams, rows 4..32 for bar lines.
#include <gtest/gtest.h>

#include "Fixtures.h"

using namespace qn;
using namespace qn::test;

namespace {
constexpr int Y = 96;

void note(Page& p, int x) { blackRect(p, QRect(x + 2, Y + 12, 8, 6)); }
void barLine(Page& p, int inkX) { blackRect(p, QRect(inkX, Y + 4, 1, 29)); }
int firstInkOnRow(const Page& p, int from, int row) {
    for (int x = from; x < p.width(); ++x)
        if (p.isInk(x, Y + row)) return x;
    return -1;
}

struct JustifyFixture : EditorFixture {
    JustifyFixture() { ed.st.JustifyLineTop = Y; }
};
}  // namespace

TEST(LineJustify, SharesTwelveSlotsOverFiveGaps) {
    // Notes at 20, 44, 68, 92 and a bar line whose stroke is at x 574:
    // free = 668 - 574 - 17 = 77, 12 slots; gaps at 32, 56, 80, 104 and 578.
    // Each gap gets 2 blanks, the remaining 2 go to gaps 0 and 2.
    JustifyFixture f;
    for (int x : {20, 44, 68, 92}) note(f.ed.page, x);
    barLine(f.ed.page, 574);
    f.ed.st.InsertMode = 0;
    f.ed.LineJustify();
    const int blanks[] = {3, 2, 3, 2};
    int shift = 0;
    const int notes[] = {20, 44, 68, 92};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(firstInkOnRow(f.ed.page, notes[i] - 10 + shift, 15), notes[i] + 2 + shift) << "note " << i;
        shift += 6 * blanks[i];
    }
    EXPECT_EQ(firstInkOnRow(f.ed.page, 500, 5), 574 + 60);
    EXPECT_EQ(f.ed.page.width(), 668);
    EXPECT_EQ(f.ed.st.InsertMode, 0) << "overwrite mode is back";
    EXPECT_TRUE(allWhite(f.ed.page, QRect(648, Y, 20, 40)));
}

TEST(LineJustify, LeavesLinesItCannotSpreadUnchanged) {
    struct Case {
        const char* name;
        std::function<void(Page&)> draw;
    } cases[] = {
        {"too short: free space above 0.4 of the line", [](Page& p) { note(p, 20); barLine(p, 300); }},
        {"no gap at all", [](Page& p) { blackRect(p, QRect(20, Y + 15, 640, 1)); barLine(p, 640); }},
    };
    for (const Case& c : cases) {
        for (Integer mode : {Integer(0), Integer(1)}) {
            JustifyFixture f;
            c.draw(f.ed.page);
            f.ed.st.InsertMode = mode;
            const QImage before = f.ed.page.image();
            f.ed.LineJustify();
            EXPECT_EQ(f.ed.page.image(), before) << c.name;
            EXPECT_EQ(f.ed.st.InsertMode, mode) << c.name;
        }
    }
}

TEST(LineJustify, BeamedGroupHasNoInnerGap) {
    // Two eighths joined by a beam at 20 and 38, a quarter at 62, bar line at 574:
    // gaps only after the group (50) and after the quarter (74) and the bar (578).
    JustifyFixture f;
    note(f.ed.page, 20);
    note(f.ed.page, 38);
    blackRect(f.ed.page, QRect(20, Y + 26, 30, 1));
    note(f.ed.page, 62);
    barLine(f.ed.page, 574);
    f.ed.LineJustify();
    // 12 slots over 3 gaps: 4 each. The group stays together.
    EXPECT_EQ(firstInkOnRow(f.ed.page, 0, 15), 22);
    EXPECT_EQ(firstInkOnRow(f.ed.page, 30, 15), 40);
    EXPECT_EQ(firstInkOnRow(f.ed.page, 52, 15), 64 + 24);
    EXPECT_EQ(firstInkOnRow(f.ed.page, 500, 5), 574 + 48);
    EXPECT_TRUE(f.ed.page.isInk(49, Y + 26));
}

TEST(LineJustify, OnlyTheJustifiedLineMoves) {
    JustifyFixture f;
    note(f.ed.page, 20);
    note(f.ed.page, 44);
    barLine(f.ed.page, 574);
    blackRect(f.ed.page, QRect(40, Y + 60 + 12, 8, 6));  // next line
    f.ed.LineJustify();
    EXPECT_EQ(firstInkOnRow(f.ed.page, 30, 15), 46 + 24);
    EXPECT_TRUE(f.ed.page.isInk(40, Y + 60 + 12));
    EXPECT_FALSE(f.ed.page.isInk(39, Y + 60 + 12));
}
