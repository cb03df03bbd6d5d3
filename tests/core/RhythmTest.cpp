// The rhythm bookkeeping of stamping: spacing, beams, beat division, bars.
#include <gtest/gtest.h>

#include "Fixtures.h"

using namespace qn;
using namespace qn::test;

namespace {
constexpr int Y1 = 96;
const QRect kBarCell(12, 0, 12, 40);  // code 101 in the ornament atlas

void type(Editor& ed, std::initializer_list<std::pair<Integer, Integer>> symbols) {
    for (auto [code, beams] : symbols) ed.StampSymbol(code, beams);
}
bool rowInked(const Page& p, int x0, int x1, int y) {
    for (int x = x0; x <= x1; ++x)
        if (!p.isInk(x, y)) return false;
    return true;
}
}  // namespace

TEST(Rhythm, FourQuarterNotesMakeABar) {
    EditorFixture f;
    type(f.ed, {{14, 0}, {15, 0}, {16, 0}, {17, 0}});
    const int xs[] = {20, 38, 56, 74};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(diffArea(f.ed.page, xs[i], Y1, Picmode(), NoteCellRect(14 + i, 0)), "") << "note " << i;
        if (i > 0) {
            EXPECT_TRUE(allWhite(f.ed.page, QRect(xs[i] - 6, Y1, 6, 40))) << "space before note " << i;
        }
    }
    EXPECT_EQ(diffArea(f.ed.page, 86, Y1, Picmode2(), kBarCell), "");
    EXPECT_TRUE(f.ed.page.isInk(93, Y1 + 5));
    EXPECT_TRUE(f.ed.page.isInk(93, Y1 + 32));
    EXPECT_EQ(f.ed.st.BarUnits, 0);
    EXPECT_EQ(f.ed.st.BarsInLine, 1);
    EXPECT_FLOAT_EQ(f.ed.caret.Left, 98);
    // The inner bar-line call sounds before the outer note's click.
    const std::vector<std::string> want{"kac.wav", "kac.wav", "kac.wav", "ding.wav", "kac.wav"};
    EXPECT_EQ(f.view.sounds, want);
}

TEST(Rhythm, EighthNotesShareOneUnbrokenBeam) {
    EditorFixture f;
    type(f.ed, {{14, 1}, {15, 1}, {16, 1}});
    // Notes at 20, 38, 56; the 6-pixel spaces carry the beam on row 26.
    EXPECT_TRUE(rowInked(f.ed.page, 20, 67, Y1 + 26));
    EXPECT_EQ(diffArea(f.ed.page, 38, Y1, Picmode(), NoteCellRect(15, 1)), "");
    EXPECT_EQ(diffArea(f.ed.page, 32, Y1, Picmode2(), QRect(12 * 17, 0, 6, 40)), "");
}

TEST(Rhythm, QuarterAfterEighthLeavesTheSpaceUnpainted) {
    EditorFixture f;
    f.ed.st.InsertMode = 0;
    blackRect(f.ed.page, QRect(32, Y1 + 26, 6, 1));  // whatever the page held stays
    type(f.ed, {{14, 1}, {15, 0}});
    EXPECT_EQ(diffArea(f.ed.page, 38, Y1, Picmode(), NoteCellRect(15, 0)), "");
    EXPECT_TRUE(f.ed.page.isInk(32, Y1 + 26));
    EXPECT_FALSE(f.ed.page.isInk(32, Y1 + 15));
    EXPECT_FLOAT_EQ(f.ed.caret.Left, 50);
}

TEST(Rhythm, BeatDivisionBreaksTheBeamBeforeTheThirdEighth) {
    EditorFixture f;
    f.view.check8 = true;
    type(f.ed, {{14, 1}, {15, 1}, {16, 1}});
    // 20 and 38 joined; a half-width blank at 50; the third note at 56 with no spacing.
    EXPECT_TRUE(rowInked(f.ed.page, 20, 49, Y1 + 26));
    EXPECT_TRUE(allWhite(f.ed.page, QRect(50, Y1, 6, 40)));
    EXPECT_EQ(diffArea(f.ed.page, 56, Y1, Picmode(), NoteCellRect(16, 1)), "");
}

TEST(Rhythm, BeatSpacingCaptionDecidesTheBlanks) {
    struct Case {
        const char* caption;
        float thirdNoteX;
    } cases[] = {{"0", 56}, {"0.5", 56}, {"1", 62}, {"x", 56}};
    for (const Case& c : cases) {
        EditorFixture f;
        f.view.check8 = true;
        f.view.beatSpacing = QString::fromLatin1(c.caption);
        type(f.ed, {{14, 1}, {15, 1}, {16, 1}});
        EXPECT_FLOAT_EQ(f.ed.caret.Left, c.thirdNoteX + 12) << c.caption;
    }
    // "0" and non-numbers insert nothing, so the eighth-note spacing stays and the beam runs on.
    EditorFixture g;
    g.view.check8 = true;
    g.view.beatSpacing = QStringLiteral("0");
    type(g.ed, {{14, 1}, {15, 1}, {16, 1}});
    EXPECT_TRUE(rowInked(g.ed.page, 20, 67, Y1 + 26));
}

TEST(Rhythm, DottedEighthBridgesTheBeamUnderTheDot) {
    EditorFixture f;
    type(f.ed, {{14, 1}, {115, 0}});
    EXPECT_EQ(f.ed.st.PendingBeamGap, 12);
    EXPECT_EQ(f.ed.st.SpacingClass, 1) << "a dot keeps the note's spacing class";
    EXPECT_EQ(f.ed.st.BarUnits, 6);
    EXPECT_FALSE(f.ed.page.isInk(38, Y1 + 26)) << "dot cell has no beam yet";
    type(f.ed, {{15, 2}});
    EXPECT_EQ(f.ed.st.PendingBeamGap, 0);
    // Beam row 26 runs from the eighth note through the dot and spacing into the sixteenth.
    EXPECT_TRUE(rowInked(f.ed.page, 20, 61, Y1 + 26));
    EXPECT_EQ(diffArea(f.ed.page, 32, Y1 + 26, Picmode(), QRect(14 * 12, 40 + 26, 12, 5)), "");
    EXPECT_EQ(diffArea(f.ed.page, 32, Y1, Picmode2(), QRect(12 * 15, 0, 12, 26)), "") << "the dot itself stays";
    EXPECT_EQ(diffArea(f.ed.page, 50, Y1, Picmode(), NoteCellRect(15, 2)), "");
}

TEST(Rhythm, GapWaitsForABeamedNote) {
    EditorFixture f;
    type(f.ed, {{14, 1}, {115, 0}, {15, 0}});
    EXPECT_EQ(f.ed.st.PendingBeamGap, 12) << "a quarter note leaves the gap pending";
}

TEST(Rhythm, BarLinesInThreeEight) {
    struct Case {
        const char* name;
        std::vector<std::pair<Integer, Integer>> symbols;
        int barsAfter;
    } cases[] = {
        {"three eighths", {{14, 1}, {15, 1}, {16, 1}}, 1},
        {"two eighths", {{14, 1}, {15, 1}}, 0},
        {"quarter and dot: no bar yet", {{14, 0}, {115, 0}}, 0},
        {"quarter, dot, then a note", {{14, 0}, {115, 0}, {15, 1}}, 1},
        {"dash counts as a quarter", {{14, 1}, {41, 3}}, 1},
    };
    for (const Case& c : cases) {
        EditorFixture f;
        f.ed.st.BeatsPerBar = 3;
        f.ed.st.BeatUnit = 8;
        for (auto [code, beams] : c.symbols) f.ed.StampSymbol(code, beams);
        EXPECT_EQ(f.ed.st.BarsInLine, c.barsAfter) << c.name;
        if (c.barsAfter) {
            EXPECT_EQ(f.ed.st.BarUnits, 0) << c.name;
        }
    }
}

TEST(Rhythm, DurationsAndDots) {
    struct Case {
        std::vector<std::pair<Integer, Integer>> symbols;
        Long units;
        Integer lastBeams;
    } cases[] = {
        {{{14, 0}}, 8, 0}, {{{14, 1}}, 4, 1}, {{{14, 2}}, 2, 2}, {{{14, 3}}, 1, 3},
        {{{14, 0}, {115, 0}}, 12, 1}, {{{14, 0}, {115, 0}, {115, 0}}, 14, 2},
        {{{14, 0}, {115, 0}, {115, 0}, {115, 0}}, 15, 3}, {{{14, 1}, {211, 0}}, 4, 1},
        {{{41, 2}}, 8, 0}, {{{35, 1}}, 4, 1}, {{{36, 2}}, 2, 2},
    };
    for (const Case& c : cases) {
        EditorFixture f;
        f.ed.st.BeatsPerBar = 6;
        for (auto [code, beams] : c.symbols) f.ed.StampSymbol(code, beams);
        EXPECT_EQ(f.ed.st.BarUnits, c.units) << c.symbols.size() << " symbols, first beams " << c.symbols[0].second;
        EXPECT_EQ(f.ed.st.LastBeamCount, c.lastBeams);
    }
}

TEST(Rhythm, OrnamentBookkeepingByCodeClass) {
    struct Case {
        Integer code;
        Integer spacingAfter, gapAfter;
    } cases[] = {
        {115, 1, 12}, {211, 1, 6}, {201, 5, 6}, {202, 5, 6}, {203, 5, 6},
        {100, 5, 0}, {200, 5, 0}, {113, 5, 0}, {209, 5, 0}, {102, 5, 0},
    };
    for (const Case& c : cases) {
        EditorFixture f;
        f.ed.st.SpacingClass = 1;
        f.ed.st.PendingBeamGap = 6;
        f.ed.st.GlyphBand = (c.code >= 201 && c.code <= 203) ? 2 : 0;
        f.ed.StampSymbol(c.code, 0);
        EXPECT_EQ(f.ed.st.SpacingClass, c.spacingAfter) << c.code;
        EXPECT_EQ(f.ed.st.PendingBeamGap, c.gapAfter) << c.code;
    }
}

TEST(Rhythm, HalfWidthBarLinesAreNotCounted) {
    EditorFixture f;
    f.ed.st.BarUnits = 5;
    for (Integer code : {207, 208, 212, 213, 214}) f.ed.StampSymbol(code, 0);
    EXPECT_EQ(f.ed.st.BarsInLine, 0);
    EXPECT_EQ(f.ed.st.BarUnits, 5);
    EXPECT_TRUE(f.view.sounds.empty());
    f.ed.StampSymbol(105, 0);  // a full-width double bar is counted, silently
    EXPECT_EQ(f.ed.st.BarsInLine, 1);
    EXPECT_EQ(f.ed.st.BarUnits, 0);
    EXPECT_TRUE(f.view.sounds.empty());
}

TEST(Rhythm, EighthBarOfTheLineFinishesThatLine) {
    // Default layout: the eighth bar line sits at 632..643 and its own advance
    // wraps the caret. The line break must still finish line 1, once.
    EditorFixture f;
    std::vector<std::pair<Single, Single>> caretAtBreak;
    f.view.onKey = [&](Integer key, Integer) {
        if (key != 13) return;
        caretAtBreak.emplace_back(f.ed.caret.Left, f.ed.caret.Top);
        f.ed.caret.Left = 20;  // what the line-break command does with the caret
        f.ed.caret.Top = f.ed.caret.Top + 60;
        f.ed.st.BarsInLine = 0;
    };
    for (int bar = 0; bar < 8; ++bar) type(f.ed, {{14, 0}, {15, 0}, {16, 0}, {17, 0}});
    EXPECT_EQ(diffArea(f.ed.page, 632, Y1, Picmode2(), kBarCell), "");
    ASSERT_EQ(f.view.keys.size(), 1u);
    ASSERT_EQ(caretAtBreak.size(), 1u);
    EXPECT_FLOAT_EQ(caretAtBreak[0].second, 96) << "the break is issued on the finished line";
    EXPECT_FLOAT_EQ(f.ed.caret.Left, 20);
    EXPECT_FLOAT_EQ(f.ed.caret.Top, 156);
    f.ed.StampSymbol(14, 0);
    EXPECT_EQ(diffArea(f.ed.page, 20, 156, Picmode(), NoteCellRect(14, 0)), "");
}

TEST(Rhythm, LineBreakAfterTheSetNumberOfBars) {
    EditorFixture f;
    f.view.barsPerLine = 4;
    for (int bar = 0; bar < 4; ++bar) type(f.ed, {{14, 0}, {101, 0}});
    ASSERT_EQ(f.view.keys.size(), 1u);
    EXPECT_EQ(f.view.keys[0], std::make_pair(13, 0));
}
