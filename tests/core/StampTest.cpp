// StampSymbol: placement, caret, insert and overwrite, backspace, refusals.
#include <gtest/gtest.h>

#include "Fixtures.h"

using namespace qn;
using namespace qn::test;

namespace {
constexpr int W = 668, Y1 = 96, Y2 = 156;

bool rowHasInk(const Page& p, int x0, int x1, int y) {
    for (int x = x0; x <= x1; ++x)
        if (p.isInk(x, y)) return true;
    return false;
}
}  // namespace

TEST(StampSymbol, OverwriteDigitAtHome) {
    EditorFixture f;
    f.view.check4 = false;
    f.ed.st.InsertMode = 0;
    f.ed.StampSymbol(14, 0);
    EXPECT_EQ(diffArea(f.ed.page, 20, 96, Picmode(), QRect(168, 0, 12, 40)), "");
    EXPECT_TRUE(rowHasInk(f.ed.page, 20, 31, 96 + 15));
    EXPECT_TRUE(allWhite(f.ed.page, QRect(32, 96, 40, 40)));
    EXPECT_FLOAT_EQ(f.ed.caret.Left, 32);
    EXPECT_FLOAT_EQ(f.ed.caret.Top, 96);
    EXPECT_EQ(f.view.sounds, std::vector<std::string>{"kac.wav"});
}

TEST(StampSymbol, AdvancePastTheRightLimitWraps) {
    // Caret x 632: the glyph goes there and the advance (644 > 636) wraps.
    EditorFixture f;
    f.at(632, Y1);
    f.ed.st.SpacingClass = 0;
    f.ed.StampSymbol(101, 0);
    EXPECT_EQ(diffArea(f.ed.page, 632, Y1, Picmode2(), QRect(12, 0, 12, 40)), "");
    EXPECT_FLOAT_EQ(f.ed.caret.Left, 20);
    EXPECT_FLOAT_EQ(f.ed.caret.Top, Y2);
    EXPECT_EQ(f.ed.st.SpacingClass, 5);
}

TEST(StampSymbol, NoteWrappingTheLineStillGetsItsBarLineOnThatLine) {
    // A blank, then bars of 1 2 3 4: the eighth bar's last note stands at 632..643
    // and its own advance wraps the caret before the automatic bar line comes.
    struct Case {
        const char* name;
        int barsPerLine;
        bool justify;
        std::vector<int> strokesLine1, strokesLine2;
        int breaks;
        float wantX;  // caret x on line 2 once the last note and its bar line are in
    } cases[] = {
        {"last bar of the line", 8, false, {105, 183, 261, 339, 417, 495, 573, 651}, {}, 1, 20},
        {"last bar, justified", 8, true, {105, 183, 261, 339, 417, 495, 573, 651}, {}, 1, 20},
        {"not the last bar: bar line wraps as before", 9, false, {105, 183, 261, 339, 417, 495, 573}, {27}, 0, 32},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EditorFixture f;
        f.view.barsPerLine = c.barsPerLine;
        std::vector<std::pair<Single, Single>> caretAtBreak;
        f.view.onKey = [&](Integer key, Integer) {  // the line-break command
            if (key != 13) return;
            caretAtBreak.emplace_back(f.ed.caret.Left, f.ed.caret.Top);
            f.ed.st.JustifyLineTop = Integer(RoundHalfEven(f.ed.caret.Top));
            if (c.justify) f.ed.LineJustify();
            f.ed.caret.Left = 20;
            f.ed.caret.Top = f.ed.st.JustifyLineTop + 60;
            f.ed.st.SpacingClass = 5;
            f.ed.st.BarUnits = 0;
            f.ed.st.BarsInLine = 0;
        };
        f.ed.StampSymbol(100, 0);
        for (int bar = 0; bar < 8; ++bar)
            for (Integer code : {14, 15, 16, 17}) f.ed.StampSymbol(code, 0);

        auto strokes = [&](int y) {
            std::vector<int> xs;
            for (int x = 0; x < W; ++x)
                if (f.ed.page.isInk(x, y + 5) && f.ed.page.isInk(x, y + 32)) xs.push_back(x);
            return xs;
        };
        EXPECT_EQ(strokes(Y1), c.strokesLine1);
        EXPECT_EQ(strokes(Y2), c.strokesLine2);
        EXPECT_EQ(diffArea(f.ed.page, 632, Y1, Picmode(), NoteCellRect(17, 0)), "");
        ASSERT_EQ(caretAtBreak.size(), size_t(c.breaks));
        if (c.breaks) {
            EXPECT_EQ(diffArea(f.ed.page, 644, Y1, Picmode2(), QRect(12, 0, 12, 40)), "");
            EXPECT_TRUE(allWhite(f.ed.page, QRect(0, Y2, W, 40))) << "line 2 stays empty";
            EXPECT_FLOAT_EQ(caretAtBreak[0].first, 656);
            EXPECT_FLOAT_EQ(caretAtBreak[0].second, Y1) << "the break leaves the finished line";
        }
        EXPECT_FLOAT_EQ(f.ed.caret.Left, c.wantX);
        EXPECT_FLOAT_EQ(f.ed.caret.Top, Y2);
        const Single x = f.ed.caret.Left;
        f.ed.StampSymbol(14, 0);
        EXPECT_EQ(diffArea(f.ed.page, int(x), Y2, Picmode(), NoteCellRect(14, 0)), "") << "the next note";
    }
}

TEST(StampSymbol, InsertAtExactlyTheRightLimitDoesNotShift) {
    EditorFixture f;
    blackRect(f.ed.page, QRect(650, Y1 + 10, 4, 4));  // something right of the caret
    f.at(W - 32, Y1);
    f.ed.StampSymbol(14, 0);
    EXPECT_TRUE(f.ed.page.isInk(650, Y1 + 10));  // not moved: the strip is not blanked either
    EXPECT_EQ(diffArea(f.ed.page, 636, Y1, Picmode(), QRect(168, 0, 12, 36)), "")
        << "stamped at the old position (rows 0..35; the mark lies at 650..653)";
    EXPECT_FLOAT_EQ(f.ed.caret.Left, 20);
    EXPECT_FLOAT_EQ(f.ed.caret.Top, Y2);
}

TEST(StampSymbol, InsertShiftMovesTheLineAndBlanksTheRightEdge) {
    EditorFixture f;
    blackRect(f.ed.page, QRect(100, Y1 + 2, 12, 30));
    blackRect(f.ed.page, QRect(630, Y1, 20, 40));  // pushed into the right-edge strip
    blackRect(f.ed.page, QRect(100, Y2, 12, 40));  // another line: untouched
    f.at(40, Y1);
    f.ed.StampSymbol(101, 0);
    EXPECT_TRUE(allWhite(f.ed.page, QRect(52, Y1 + 2, 60, 30)));
    EXPECT_TRUE(f.ed.page.isInk(112, Y1 + 2));
    EXPECT_TRUE(f.ed.page.isInk(123, Y1 + 31));
    EXPECT_TRUE(f.ed.page.isInk(647, Y1 + 5));
    EXPECT_TRUE(allWhite(f.ed.page, QRect(W - 20, Y1, 20, 40)));
    EXPECT_TRUE(f.ed.page.isInk(100, Y2));
    EXPECT_EQ(diffArea(f.ed.page, 40, Y1, Picmode2(), QRect(12, 0, 12, 40)), "");
    EXPECT_GT(f.view.refreshes, 0);
}

TEST(StampSymbol, OverwriteModeNeverShifts) {
    EditorFixture f;
    f.ed.st.InsertMode = 0;
    blackRect(f.ed.page, QRect(60, Y1, 12, 40));
    f.at(40, Y1);
    f.ed.StampSymbol(100, 0);  // full-width blank
    EXPECT_TRUE(allWhite(f.ed.page, QRect(40, Y1, 12, 40)));
    EXPECT_TRUE(f.ed.page.isInk(60, Y1));
    EXPECT_TRUE(f.ed.page.isInk(71, Y1 + 39));
}

TEST(StampSymbol, HalfWidthAccidentalKeepsTheBeamRows) {
    EditorFixture f;
    blackRect(f.ed.page, QRect(20, Y1 + 26, 12, 1));  // a beam line already there
    blackRect(f.ed.page, QRect(20, Y1 + 0, 6, 3));    // rows 0..2 outside the band
    f.ed.st.InsertMode = 0;
    f.ed.st.GlyphBand = 2;
    f.ed.StampSymbol(201, 0);
    EXPECT_EQ(diffArea(f.ed.page, 20, Y1 + 3, Picmode2(), QRect(6, 43, 6, 22)), "");
    EXPECT_TRUE(f.ed.page.isInk(20, Y1 + 26));
    EXPECT_TRUE(f.ed.page.isInk(25, Y1 + 2));
    EXPECT_FLOAT_EQ(f.ed.caret.Left, 26);
    EXPECT_EQ(f.ed.st.LastCellWidth, 1);
    EXPECT_EQ(f.ed.st.PendingBeamGap, 6);
    EXPECT_EQ(f.ed.st.SpacingClass, 5);
    EXPECT_TRUE(f.view.sounds.empty());
}

TEST(StampSymbol, IgnoredCodesDoNothing) {
    for (Integer code : {Integer(-5), Integer(-1), Integer(300), Integer(998), Integer(1000), Integer(32767)}) {
        EditorFixture f;
        f.at(50, Y1);
        blackRect(f.ed.page, QRect(70, Y1, 5, 5));
        const QImage before = f.ed.page.image();
        f.ed.StampSymbol(code, 0);
        EXPECT_EQ(f.ed.page.image(), before) << code;
        EXPECT_FLOAT_EQ(f.ed.caret.Left, 50) << code;
        EXPECT_TRUE(f.view.sounds.empty()) << code;
    }
}

TEST(StampSymbol, RefusedDots) {
    struct Case {
        const char* name;
        std::vector<std::pair<Integer, Integer>> before;  // code, beams
    } cases[] = {
        {"after a thirty-second note", {{14, 3}}},
        {"a fourth dot", {{14, 0}, {115, 0}, {115, 0}, {115, 0}}},
    };
    for (const Case& c : cases) {
        EditorFixture f;
        f.view.check4 = false;
        for (auto [code, beams] : c.before) f.ed.StampSymbol(code, beams);
        const QImage page = f.ed.page.image();
        const Single x = f.ed.caret.Left;
        const Long units = f.ed.st.BarUnits;
        f.view.sounds.clear();
        f.ed.StampSymbol(115, 0);
        EXPECT_EQ(f.ed.page.image(), page) << c.name;
        EXPECT_FLOAT_EQ(f.ed.caret.Left, x) << c.name;
        EXPECT_EQ(f.ed.st.BarUnits, units) << c.name;
        EXPECT_TRUE(f.view.sounds.empty()) << c.name;
    }
}

TEST(Backspace, Cases) {
    struct Case {
        const char* name;
        Integer insertMode, lastCellWidth, halfWidth;
        int x, y;
        int wantX, wantY;
        QRect blanked;  // must be white afterwards (empty: none)
    } cases[] = {
        {"overwrite after a half-width symbol", 0, 1, 0, 50, Y1, 44, Y1, {44, Y1, 6, 40}},
        {"overwrite, width from half-width mode", 0, 2, 1, 50, Y1, 44, Y1, {44, Y1, 6, 40}},
        {"overwrite, width from full-width mode", 0, 2, 0, 50, Y1, 38, Y1, {38, Y1, 12, 40}},
        {"insert at the start of line 2", 1, 0, 0, 20, Y2, W - 32, Y1, {W - 32, Y1, 12, 40}},
        {"overwrite at the start of line 2", 0, 0, 0, 20, Y2, W - 32, Y1, {W - 32, Y1, 12, 40}},
        {"insert at home", 1, 0, 0, 20, Y1, 20, Y1, {}},
        {"overwrite at home", 0, 0, 0, 20, Y1, 20, Y1, {8, Y1, 12, 40}},
    };
    for (const Case& c : cases) {
        EditorFixture f;
        blackRect(f.ed.page, QRect(0, 0, W, 945));
        f.ed.st.InsertMode = c.insertMode;
        f.ed.st.LastCellWidth = c.lastCellWidth;
        f.ed.st.HalfWidthMode = c.halfWidth;
        f.ed.st.SpacingClass = 1;
        f.ed.st.BarUnits = 9;
        f.ed.st.PendingBeamGap = 12;
        f.at(c.x, c.y);
        const QImage before = f.ed.page.image();
        f.ed.StampSymbol(999, 0);
        EXPECT_FLOAT_EQ(f.ed.caret.Left, c.wantX) << c.name;
        EXPECT_FLOAT_EQ(f.ed.caret.Top, c.wantY) << c.name;
        EXPECT_EQ(f.ed.st.SpacingClass, 5) << c.name;
        EXPECT_EQ(f.ed.st.BarUnits, 0) << c.name;
        EXPECT_EQ(f.ed.st.PendingBeamGap, 12) << c.name << ": the beam gap is kept";
        EXPECT_EQ(f.ed.st.LastCellWidth, 2) << c.name;
        if (c.blanked.isEmpty()) {
            EXPECT_EQ(f.ed.page.image(), before) << c.name;
        } else {
            EXPECT_TRUE(allWhite(f.ed.page, c.blanked)) << c.name;
        }
        EXPECT_TRUE(f.view.sounds.empty()) << c.name;
    }
}

TEST(Backspace, SecondBackspaceTakesTheWidthFromTheMode) {
    EditorFixture f;
    f.ed.st.InsertMode = 0;
    f.at(44, Y1);
    f.ed.StampSymbol(200, 0);  // half-width blank
    f.ed.StampSymbol(999, 0);
    EXPECT_FLOAT_EQ(f.ed.caret.Left, 44);
    f.ed.StampSymbol(999, 0);
    EXPECT_FLOAT_EQ(f.ed.caret.Left, 32);
}

TEST(Backspace, InsertModeSlidesTheLineLeft) {
    EditorFixture f;
    f.at(56, Y1);
    f.ed.st.LastCellWidth = 0;
    blackRect(f.ed.page, QRect(60, Y1 + 1, 3, 38));
    blackRect(f.ed.page, QRect(600, Y1, 4, 40));
    f.ed.StampSymbol(999, 0);
    EXPECT_FLOAT_EQ(f.ed.caret.Left, 44);
    EXPECT_TRUE(f.ed.page.isInk(48, Y1 + 1));
    EXPECT_FALSE(f.ed.page.isInk(60, Y1 + 1));
    EXPECT_TRUE(f.ed.page.isInk(588, Y1));
    EXPECT_FALSE(f.ed.page.isInk(600, Y1));
    EXPECT_GT(f.view.refreshes, 0);
}
