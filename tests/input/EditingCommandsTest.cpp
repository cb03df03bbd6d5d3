#include <gtest/gtest.h>

#include "TestWindow.h"

using namespace qn;
using qn::test::TestWindow;

TEST(NoteValueKeys, EscCyclesOverTheTickedPatterns) {
    struct Case {
        bool ticked[4];
        Integer from, to;
    } cases[] = {
        {{true, true, false, false}, 0, 1}, {{true, true, false, false}, 1, 0},
        {{true, true, false, false}, 2, 0}, {{true, true, false, false}, 3, 0},
        {{false, true, false, false}, 3, 1}, {{false, true, false, false}, 1, 1},
        {{true, true, true, true}, 3, 0}, {{true, true, true, true}, 1, 2},
        {{false, true, false, true}, 1, 3}, {{false, true, false, true}, 3, 1},
    };
    for (const Case& c : cases) {
        TestWindow w;
        std::copy(std::begin(c.ticked), std::end(c.ticked), w.check5);
        w.ed.st.NoteValue = c.from;
        w.press(27);
        EXPECT_EQ(w.ed.st.NoteValue, c.to) << "from " << c.from;
        const std::vector<std::string> want{"Option1_Click " + std::to_string(c.to), "Option1 " + std::to_string(c.to)};
        EXPECT_EQ(w.actions, want);
    }
}

TEST(NoteValueKeys, PageKeysStopAtTheEndsButReselect) {
    struct Case {
        Integer key, from, to;
    } cases[] = {{33, 0, 0}, {33, 2, 1}, {34, 3, 3}, {34, 0, 1}};
    for (const Case& c : cases) {
        TestWindow w;
        std::fill(std::begin(w.check5), std::end(w.check5), false);  // not consulted
        w.check5[0] = true;
        w.ed.st.NoteValue = c.from;
        w.press(c.key);
        EXPECT_EQ(w.ed.st.NoteValue, c.to);
        ASSERT_EQ(w.actions.size(), 2u);
        EXPECT_EQ(w.actions[0], "Option1_Click " + std::to_string(c.to));
    }
}

TEST(NoteValueKeys, KeypadSelectsDirectly) {
    for (Integer v = 0; v < 4; ++v) {
        TestWindow w;
        w.ed.caret.Visible = false;
        w.press(Integer(96 + v));
        EXPECT_EQ(w.ed.st.NoteValue, v);
        EXPECT_TRUE(w.ed.caret.Visible);
        const std::vector<std::string> want{"blink", "caret k" + std::to_string(v), "Option1 " + std::to_string(v)};
        EXPECT_EQ(w.actions, want);
    }
}

TEST(Enter, NewLineResetsAndPlays) {
    TestWindow w;
    w.ed.caret.Left = 300;
    w.ed.caret.Top = 1996;
    w.ed.st.SpacingClass = 1;
    w.ed.st.LastCellWidth = 1;
    w.ed.st.BarUnits = 7;
    w.ed.st.PendingBeamGap = 6;
    w.ed.st.BarsInLine = 3;
    w.press(13);
    EXPECT_FLOAT_EQ(w.ed.caret.Left, 20);
    EXPECT_FLOAT_EQ(w.ed.caret.Top, 2056) << "no lower limit";
    EXPECT_EQ(w.ed.st.JustifyLineTop, 1996);
    EXPECT_EQ(w.ed.st.SpacingClass, 5);
    EXPECT_EQ(w.ed.st.LastCellWidth, 2);
    EXPECT_EQ(w.ed.st.BarUnits, 0);
    EXPECT_EQ(w.ed.st.PendingBeamGap, 0);
    EXPECT_EQ(w.ed.st.BarsInLine, 0);
    EXPECT_EQ(w.sounds, std::vector<std::string>{"5.wav"});
}

TEST(Enter, EightBarsBreakOnceAndJustifyTheFinishedLine) {
    for (bool justify : {false, true}) {
        TestWindow w;
        w.check11 = justify;
        for (int bar = 0; bar < 8; ++bar)
            for (Integer key : {49, 50, 51, 52}) w.press(key);
        EXPECT_FLOAT_EQ(w.ed.caret.Left, 20) << justify;
        EXPECT_FLOAT_EQ(w.ed.caret.Top, 156) << justify;
        EXPECT_EQ(w.ed.st.BarsInLine, 0);
        // The bar line closing the line sits at the right end (flush when justified).
        const int barInk = justify ? 651 : 639;  // flush: W - 17
        EXPECT_TRUE(w.ed.page.isInk(barInk, 96 + 5)) << justify;
        for (int x = barInk + 1; x < 668; ++x) ASSERT_FALSE(w.ed.page.isInk(x, 96 + 5)) << x << " justify " << justify;
        w.press(49);
        EXPECT_FLOAT_EQ(w.ed.caret.Left, 32);
        EXPECT_FLOAT_EQ(w.ed.caret.Top, 156);
        int bodies = 0;
        for (int x = 20; x < 32; ++x) bodies += w.ed.page.isInk(x, 156 + 15);
        EXPECT_GT(bodies, 0) << "the next note starts the very next line";
    }
}

TEST(Arrows, ResetsDifferByKey) {
    struct Case {
        Integer key;
        bool spacing, barsInLine;  // whether SpacingClass / BarsInLine are reset
    } cases[] = {{37, true, false}, {38, true, true}, {39, false, false}, {40, true, true}};
    for (const Case& c : cases) {
        TestWindow w;
        w.ed.caret.Left = 200;
        w.ed.caret.Top = 216;
        w.ed.st.SpacingClass = 1;
        w.ed.st.LastCellWidth = 0;
        w.ed.st.BarUnits = 4;
        w.ed.st.PendingBeamGap = 12;
        w.ed.st.BarsInLine = 2;
        w.ed.caret.Visible = false;
        w.press(c.key);
        EXPECT_EQ(w.ed.st.SpacingClass, c.spacing ? 5 : 1) << c.key;
        EXPECT_EQ(w.ed.st.BarsInLine, c.barsInLine ? 0 : 2) << c.key;
        EXPECT_EQ(w.ed.st.LastCellWidth, 2) << c.key;
        EXPECT_EQ(w.ed.st.BarUnits, 0) << c.key;
        EXPECT_EQ(w.ed.st.PendingBeamGap, 0) << c.key;
        EXPECT_TRUE(w.ed.caret.Visible) << c.key;
        EXPECT_EQ(w.actions, std::vector<std::string>{"blink"}) << c.key;
    }
}

TEST(Arrows, CaretMovesAndBounds) {
    struct Case {
        const char* name;
        Integer key, halfWidth;
        float x, y, wantX, wantY;
        Integer wantSpacing;
    } cases[] = {
        {"left full width", 37, 0, 200, 156, 188, 156, 5},
        {"left half width", 37, 1, 200, 156, 194, 156, 5},
        {"left at home stays", 37, 0, 20, 96, 20, 96, 5},
        {"left at a lower line start", 37, 0, 20, 156, 636, 96, 5},
        {"left at line start, odd top", 37, 0, 20, 120, 636, 96, 5},
        {"up", 38, 0, 100, 216, 100, 156, 5},
        {"up on the first line", 38, 0, 100, 96, 100, 96, 5},
        {"up clamps to the first line", 38, 0, 100, 130, 100, 96, 5},
        {"right", 39, 0, 100, 96, 112, 96, 1},
        {"right half width", 39, 1, 100, 96, 106, 96, 1},
        {"right past the line end wraps", 39, 0, 630, 96, 20, 156, 5},
        {"down", 40, 0, 100, 96, 100, 156, 5},
        {"down at 1990 still moves", 40, 0, 100, 1990, 100, 2050, 5},
        {"down at 2000 stops", 40, 0, 100, 2000, 100, 2000, 5},
    };
    for (const Case& c : cases) {
        TestWindow w;
        w.ed.st.HalfWidthMode = c.halfWidth;
        w.ed.st.SpacingClass = 1;
        w.ed.caret.Left = c.x;
        w.ed.caret.Top = c.y;
        w.press(c.key);
        EXPECT_FLOAT_EQ(w.ed.caret.Left, c.wantX) << c.name;
        EXPECT_FLOAT_EQ(w.ed.caret.Top, c.wantY) << c.name;
        EXPECT_EQ(w.ed.st.SpacingClass, c.wantSpacing) << c.name;
    }
}

TEST(Arrows, SelectedOverlayMovesInsteadOfTheCaret) {
    struct Case {
        Integer key, shift;
        int left, top, wantLeft, wantTop;
    } cases[] = {
        {37, 1, 100, 100, 99, 100},   // Shift: 1 pixel
        {37, 2, 100, 100, 40, 100},   // Ctrl: 60
        {37, 3, 100, 100, 94, 100},   // Shift+Ctrl: 6
        {37, 0, 100, 100, 94, 100},
        {37, 0, 9, 100, 3, 100},      // tested before the move: passes the bound once
        {37, 0, 3, 100, 3, 100},      // then stops
        {38, 0, 100, 8, 100, 8},
        {39, 2, 660, 100, 720, 100},
        {39, 0, 668, 100, 668, 100},
        {40, 1, 100, 944, 100, 945},
        {40, 0, 100, 945, 100, 945},
    };
    for (const Case& c : cases) {
        TestWindow w;
        w.ed.st.SelectedOverlay = 50;
        w.overlayExists = true;
        w.overlayLeft = c.left;
        w.overlayTop = c.top;
        w.ed.st.BarUnits = 4;
        w.press(c.key, c.shift);
        EXPECT_EQ(w.overlayLeft, c.wantLeft) << c.key << "/" << c.shift << " from " << c.left;
        EXPECT_EQ(w.overlayTop, c.wantTop) << c.key << "/" << c.shift << " from " << c.top;
        EXPECT_FLOAT_EQ(w.ed.caret.Left, 20);
        EXPECT_EQ(w.ed.st.BarUnits, 4) << "the caret's bookkeeping is not touched";
    }
}

TEST(Delete, HidesTheSelectedOverlayAndBeeps) {
    TestWindow w;
    w.press(46);
    EXPECT_TRUE(w.actions.empty());
    w.ed.st.SelectedOverlay = 3;
    w.press(46);
    EXPECT_EQ(w.actions, (std::vector<std::string>{"hide 3", "beep"}));
    EXPECT_EQ(w.ed.st.SelectedOverlay, 3) << "stays selected";
}

TEST(InsertPanels, OpenAtTheCaretAndStayOnThePage) {
    struct Case {
        Integer key;
        float x, y;
        Integer pictures, texts;
        const char* want;  // "" when the panel does not open
    } cases[] = {
        {70, 100, 216, 0, 0, "Frame3 100,228"},
        {70, 620, 96, 0, 0, "Frame3 451,108"},
        {68, 620, 96, 0, 0, "Frame2 403,108"},
        {70, 100, 96, 50, 0, ""},
        {70, 100, 96, 49, 0, "Frame3 100,108"},
        {68, 100, 96, 0, 50, ""},  // the 51st text overlay is refused
        {68, 100, 96, 0, 49, "Frame2 100,108"},
    };
    for (const Case& c : cases) {
        TestWindow w;
        w.ed.caret.Left = c.x;
        w.ed.caret.Top = c.y;
        w.ed.st.PictureOverlayCount = c.pictures;
        w.ed.st.TextOverlayCount = c.texts;
        w.press(c.key);
        if (*c.want) {
            EXPECT_EQ(w.actions, std::vector<std::string>{c.want});
            EXPECT_EQ(w.ed.st.OverlayInsertX, Integer(c.x));
            EXPECT_EQ(w.ed.st.OverlayInsertY, Integer(c.y - 12));
        } else {
            EXPECT_TRUE(w.actions.empty()) << c.key;
        }
    }
}
