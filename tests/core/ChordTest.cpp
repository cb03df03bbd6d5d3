// The chord path of StampSymbol: where a chord goes, what it prints with the
// held keypad modifiers, in which colour, and where the caret goes next.
//
// Expected chords are written as the canvas's text cursor walks: each item's
// top-left corner in page pixels. They are printed on a reference page with the
// same font and compared with the page the editor made, so the test pins
// places, texts and colour without knowing any glyph's pixels.
#include <gtest/gtest.h>

#include <QFontMetrics>

#include "Fixtures.h"
#include "GuiApp.h"

using namespace qn;
using namespace qn::test;

namespace {

constexpr int Y1 = 96, Y2 = 156;
constexpr int Top = Y1 + 26;          // chord text top on the first line
constexpr int SmallTop = Top + 11;    // the small modifiers
constexpr QRgb Red = 0xFF0000;

// A single bar line cell; its stroke lies on column 7.
void barLine(Page& page, int cellX, int lineTop = Y1) {
    page.paintPicture(Picmode2(), OrnamentCellRect(101, 0, 40), cellX, lineTop);
}

struct Text {
    const char* text;
    int x, y;
    bool small = false;
};

QFont Big() {
    QFont f = PageFontFace();
    f.setPixelSize(24);
    f.setBold(true);
    return f;
}
QFont Small() {
    QFont f = PageFontFace();
    f.setPixelSize(12);
    return f;
}

class Chord : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureGuiApplication(); }

    void SetUp() override {
        f.ed.pageFont = PageFontFace();
        f.ed.st.NoteInputMode = 0;
        // The positions below count half-width characters as half the font size.
        ASSERT_EQ(QFontMetrics(Big()).horizontalAdvance(QStringLiteral(" 5 ")), 36)
            << "the page font must be 宋体 or AR PL UMing (make deps)";
        ASSERT_EQ(QFontMetrics(Small()).horizontalAdvance(QStringLiteral(" 7 ")), 18);
    }

    void hold(std::initializer_list<int> keys) {
        for (int k : keys) f.ed.st.KeypadHeld[size_t(k)] = 1;
    }

    // The page as it was before the chord, with the expected texts printed on it.
    static Page withTexts(Page page, const std::vector<Text>& texts, QRgb colour = Red) {
        for (const Text& t : texts)
            page.drawText(t.x, t.y, QString::fromUtf8(t.text), t.small ? Small() : Big(), colour);
        return page;
    }

    static std::string diffPages(const Page& got, const Page& want) {
        return diffArea(got, 0, 0, want.image(), QRect(0, 0, want.width(), want.height()));
    }

    // The box of the pixels in a colour, empty when there are none.
    static QRect colourBox(const Page& page, QRgb colour) {
        QRect box;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                if ((page.pixel(x, y) & 0xFFFFFF) == colour) box |= QRect(x, y, 1, 1);
        return box;
    }

    EditorFixture f;
};

TEST_F(Chord, GoesToTheBarLineLeftOfTheCaret) {
    struct Case {
        const char* name;
        std::vector<int> barCells;
        int caretX;
        bool gHeld;
        int rootX;  // the anchor minus 8
    } cases[] = {
        // The bar line's stroke at 93 is the anchor; the root " 5 " is printed from 85.
        {"bar line left of the caret", {86}, 98, false, 85},
        {"the nearest of two", {86, 164}, 200, false, 163},
        {"a bar line only right of the caret", {164}, 98, false, 8},
        {"no bar line on the line", {}, 300, false, 8},
        {"G held: at the caret whatever lies left", {86}, 98, true, 87},
        {"G held at the line start", {}, 20, true, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EditorFixture g;
        g.ed.pageFont = PageFontFace();
        g.ed.st.NoteInputMode = 0;
        g.ed.st.ChordAtCaret = c.gHeld ? 1 : 0;
        for (int cell : c.barCells) barLine(g.ed.page, cell);
        const Page before = g.ed.page;
        g.at(c.caretX, Y1);
        g.ed.StampSymbol(18, 0);
        EXPECT_EQ(diffPages(g.ed.page, withTexts(before, {{" 5 ", c.rootX, Top}})), "");
        // Independent of the reference: the red digit lies in the root's own cell.
        const QRect red = colourBox(g.ed.page, Red);
        EXPECT_FALSE(red.isEmpty());
        EXPECT_TRUE(QRect(c.rootX + 12, Top, 12, 26).contains(red)) << red.x() << "," << red.y();
    }
}

TEST_F(Chord, HeldKeypadKeysAddTheirModifiers) {
    // Anchor 93 (root from 85): " N " leaves the cursor at 121. "+" and "-" step
    // back 11 each; the small items start 11 back and 11 lower, numbers step back 5.
    struct Case {
        const char* name;
        Integer code;
        std::initializer_list<int> held;
        std::vector<Text> texts;
    } cases[] = {
        {"plain root", 18, {}, {{" 5 ", 85, Top}}},
        {"codes name roots by degree", 21, {}, {{" 1 ", 85, Top}}},
        {"two dots below", 6, {}, {{" 7 ", 85, Top}}},
        {"percussion code 40", 40, {}, {{" 6 ", 85, Top}}},
        {"keypad 5: plus", 18, {5}, {{" 5 ", 85, Top}, {"+", 110, Top}}},
        {"keypad 6: minus", 18, {6}, {{" 5 ", 85, Top}, {"-", 110, Top}}},
        {"plus then minus", 18, {5, 6}, {{" 5 ", 85, Top}, {"+", 110, Top}, {"-", 111, Top}}},
        {"keypad 7: small 7", 18, {7}, {{" 5 ", 85, Top}, {" 7 ", 105, SmallTop, true}}},
        {"keypad 4: small 4", 17, {4}, {{" 4 ", 85, Top}, {" 4 ", 105, SmallTop, true}}},
        {"keypad 8 on 2: MAX", 15, {8}, {{" 2 ", 85, Top}, {"MAX", 110, SmallTop, true}}},
        {"keypad 8 on 1: MIN", 14, {8}, {{" 1 ", 85, Top}, {"MIN", 110, SmallTop, true}}},
        {"keypad 8 on 4: MIN", 17, {8}, {{" 4 ", 85, Top}, {"MIN", 110, SmallTop, true}}},
        {"keypad 8 on 6: MAX", 19, {8}, {{" 6 ", 85, Top}, {"MAX", 110, SmallTop, true}}},
        {"keypad 9 on 5: 9 and MIN", 18, {9},
         {{" 5 ", 85, Top}, {" 9 ", 105, SmallTop, true}, {"MIN", 123, SmallTop, true}}},
        {"keypad 9 on 7: 9 and MAX", 20, {9},
         {{" 7 ", 85, Top}, {" 9 ", 105, SmallTop, true}, {"MAX", 123, SmallTop, true}}},
        {"all of them on 3", 16, {5, 7, 9, 4, 8},
         {{" 3 ", 85, Top},
          {"+", 110, Top},
          {" 7 ", 106, SmallTop, true},
          {" 9 ", 119, SmallTop, true},
          {" 4 ", 132, SmallTop, true},
          {"MAX", 150, SmallTop, true}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EditorFixture g;
        g.ed.pageFont = PageFontFace();
        g.ed.st.NoteInputMode = 0;
        for (int k : c.held) g.ed.st.KeypadHeld[size_t(k)] = 1;
        barLine(g.ed.page, 86);
        const Page before = g.ed.page;
        g.at(98, Y1);
        g.ed.StampSymbol(c.code, 0);
        EXPECT_EQ(diffPages(g.ed.page, withTexts(before, c.texts)), "");
    }
}

TEST_F(Chord, IsPrintedInTheChordColourAndNotAsInk) {
    f.view.chordColour = 0x2080C0;
    barLine(f.ed.page, 86);
    const Page before = f.ed.page;
    const quint64 generation = f.ed.page.generation();
    f.at(98, Y1);
    hold({7});
    f.ed.StampSymbol(18, 0);
    EXPECT_EQ(diffPages(f.ed.page, withTexts(before, {{" 5 ", 85, Top}, {" 7 ", 105, SmallTop, true}},
                                             0x2080C0)),
              "");
    EXPECT_TRUE(colourBox(f.ed.page, Red).isEmpty());
    EXPECT_GT(f.ed.page.generation(), generation);
}

TEST_F(Chord, CaretJumpsPastTheNextBarLine) {
    struct Case {
        const char* name;
        std::vector<int> barCells;
        int caretX;
        Integer code;
        bool gHeld;
        float wantX, wantY;
        int pageWidth = 668;
    } cases[] = {
        // Stroke 175: ((175 - 20) \ 6) * 6 + 26.
        {"next bar line", {86, 168}, 98, 18, false, 176, Y1},
        {"no bar line to the right: stays", {86}, 98, 18, false, 98, Y1},
        {"no bar line at all: stays", {}, 98, 18, false, 98, Y1},
        {"G held jumps too", {168}, 98, 18, true, 176, Y1},
        {"the rest's key jumps like a chord", {86, 168}, 98, 35, false, 176, Y1},
        // Stroke 603 gives 608, still within W - 55 = 613; stroke 609 gives 614.
        {"last grid point before the end", {596}, 560, 18, false, 608, Y1},
        {"past W - 55: x 26 of the next line", {602}, 560, 18, false, 26, Y2},
        {"exactly W - 55 stays on the line", {602}, 560, 18, false, 614, Y1, 669},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EditorFixture g;
        g.ed.pageFont = PageFontFace();
        g.ed.st.NoteInputMode = 0;
        g.ed.st.ChordAtCaret = c.gHeld ? 1 : 0;
        g.ed.page.resize(c.pageWidth, 945);
        for (int cell : c.barCells) barLine(g.ed.page, cell);
        g.at(c.caretX, Y1);
        g.ed.StampSymbol(c.code, 0);
        EXPECT_FLOAT_EQ(g.ed.caret.Left, c.wantX);
        EXPECT_FLOAT_EQ(g.ed.caret.Top, c.wantY);
        EXPECT_EQ(g.view.sounds, std::vector<std::string>{"kac.wav"});
    }
}

TEST_F(Chord, OneChordPerBarWalksThroughTheLine) {
    for (int cell : {86, 164, 242}) barLine(f.ed.page, cell);
    const Page before = f.ed.page;
    f.at(20, Y1);
    for (Integer code : {14, 17, 18, 14}) f.ed.StampSymbol(code, 0);
    // Strokes 93, 171, 249: the first chord has no bar line left of it (16).
    EXPECT_EQ(diffPages(f.ed.page, withTexts(before, {{" 1 ", 8, Top},
                                                      {" 4 ", 85, Top},
                                                      {" 5 ", 163, Top},
                                                      {" 1 ", 241, Top}})),
              "");
    EXPECT_FLOAT_EQ(f.ed.caret.Left, 254);  // no bar line after the last
}

TEST_F(Chord, RestKeyErasesTheChordAndKeepsTheBarLine) {
    barLine(f.ed.page, 86);
    barLine(f.ed.page, 168);
    const Page bare = f.ed.page;
    f.at(98, Y1);
    f.ed.StampSymbol(19, 0);
    ASSERT_FALSE(colourBox(f.ed.page, Red).isEmpty());
    // Back into the bar: the chord is found at the same bar line and blotted out.
    f.at(98, Y1);
    f.ed.StampSymbol(35, 0);
    EXPECT_EQ(diffPages(f.ed.page, bare), "");
    EXPECT_FLOAT_EQ(f.ed.caret.Left, 176);
    // A chord retyped into the bar still hangs from its bar line.
    f.at(98, Y1);
    f.ed.StampSymbol(15, 0);
    EXPECT_EQ(diffPages(f.ed.page, withTexts(bare, {{" 2 ", 85, Top}})), "");
}

TEST_F(Chord, RetypedChordReplacesTheOldOne) {
    barLine(f.ed.page, 86);
    const Page bare = f.ed.page;
    f.at(98, Y1);
    f.ed.StampSymbol(20, 0);
    f.at(104, Y1);
    f.ed.StampSymbol(15, 0);
    EXPECT_EQ(diffPages(f.ed.page, withTexts(bare, {{" 2 ", 85, Top}})), "");
}

TEST_F(Chord, NoteModeCodesStillStampNotes) {
    f.ed.st.NoteInputMode = 1;
    f.view.check4 = false;
    f.ed.StampSymbol(18, 0);
    EXPECT_EQ(diffArea(f.ed.page, 20, Y1, Picmode(), QRect(12 * 18, 0, 12, 40)), "");
    EXPECT_TRUE(colourBox(f.ed.page, Red).isEmpty());
}

}  // namespace
