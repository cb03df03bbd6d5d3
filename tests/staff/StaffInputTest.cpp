// Staff input without widgets: pointer to note, time zones, the preview's
// place and picture, and what a click sends to the page.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../core/Fixtures.h"
#include "../core/GuiApp.h"
#include "../input/TestWindow.h"
#include "StaffInput.h"

using namespace qn;
using namespace qn::test;

namespace {

// The symbol code of a digit 1..7 in an octave -2..2 (two dots below .. two above).
Integer NoteCode(int digit, int octave) { return Integer((octave + 2) * 7 + digit - 1); }

TEST(StaffMapping, PointerHeightToDigitAndOctave) {
    constexpr int C = 0, bE = 2, G = 4, A = 5;
    struct Case {
        const char* name;
        bool bass;
        int key;
        int y;
        int digit, octave;
    } cases[] = {
        // Treble clef.
        {"C: ledger line below the staff", false, C, 190, 1, 0},
        {"C: bottom line E", false, C, 172, 3, 0},
        {"C: top line F", false, C, 100, 4, 1},
        {"C: rounds to the nearer step (y 194)", false, C, 194, 1, 0},
        {"C: rounds to the nearer step (y 195)", false, C, 195, 7, -1},
        {"C: rounds to the nearer step (y 185)", false, C, 185, 2, 0},
        {"G: the ledger line C is 4 below", false, G, 190, 4, -1},
        {"G: the G space is 1", false, G, 154, 1, 0},
        {"bE: C is 6 below", false, bE, 190, 6, -1},
        {"bE: bottom line E(b) is 1", false, bE, 172, 1, 0},
        {"bE: top line F is 2 above", false, bE, 100, 2, 1},
        {"A: C is 3 below", false, A, 190, 3, -1},
        {"A: the A space is 1", false, A, 145, 1, 0},
        {"A: top of the panel", false, A, 0, 3, 2},
        // Bass clef: twelve codes lower.
        {"C: bottom line G", true, C, 172, 5, -2},
        {"C: F line", true, C, 118, 4, -1},
        {"C: ledger line above the staff", true, C, 82, 1, 0},
        {"bE: bottom line G is 3", true, bE, 172, 3, -2},
        {"bE: ledger line above, C, is 6", true, bE, 82, 6, -1},
        {"A: top line A is 1", true, A, 100, 1, -1},
        {"C: the lowest digit, C two octaves down", true, C, 208, 1, -2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(StaffCodeAt(StaffRow(c.y), c.key, c.bass), NoteCode(c.digit, c.octave));
    }
}

TEST(StaffMapping, CodesOutsideTheDigitsPassUnchanged) {
    EXPECT_EQ(StaffRow(0), 35);
    EXPECT_EQ(StaffRow(276), 4);
    EXPECT_EQ(StaffCodeAt(StaffRow(0), 0, false), 35);  // the rest 0
    EXPECT_EQ(StaffCodeAt(StaffRow(256), 6, true), -11);  // key B, bass: nothing to stamp
}

TEST(StaffMapping, PointerXChoosesTheNoteValue) {
    const std::pair<int, Integer> cases[] = {
        {0, 0},   {100, 0}, {127, 0}, {128, 0},  // on a divider: zone 0
        {129, 1}, {175, 1}, {176, 0}, {177, 2},
        {223, 2}, {224, 0}, {225, 3}, {291, 3},
    };
    for (auto [x, zone] : cases) EXPECT_EQ(StaffZone(x), zone) << "x " << x;
}

TEST(StaffPreview, FollowsThePointer) {
    EditorState st;
    struct Step {
        const char* name;
        int x, y;
        bool moved;
        int top;
        bool reload;
        const char* file;  // the picture a reload asks for
    } steps[] = {
        {"first move: row 14, low picture", 100, 190, true, 92, true, "wn/0s.gif"},
        {"same row and zone: only left follows", 110, 192, false, 0, false, nullptr},
        {"next zone, same row", 200, 190, false, 0, true, "wn/2s.gif"},
        {"next row, same kind and zone", 200, 181, true, 83, false, nullptr},
        {"row 20 is still low", 200, 136, true, 38, false, nullptr},
        {"row 21 turns to the high picture", 200, 127, true, 119, true, "wn/2.gif"},
        {"top line: row 24", 200, 100, true, 92, false, nullptr},
        {"a divider is zone 0", 224, 100, false, 0, true, "wn/0.gif"},
        {"dragged above the panel: its top row", 50, -40, true, -7, false, nullptr},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        const StaffPointer p = StaffPointerMoved(st, s.x, s.y, 0, false);
        EXPECT_EQ(p.markerLeft, std::max(s.x, 0) - 9);
        EXPECT_EQ(p.moveMarker, s.moved);
        if (s.moved) {
            EXPECT_EQ(p.markerTop, s.top);
        }
        EXPECT_EQ(p.reloadMarker, s.reload);
        if (s.file) {
            EXPECT_EQ(StaffMarkerFile(st.StaffBeams, st.StaffMarkerSuffix).toStdString(), s.file);
        }
    }
    EXPECT_EQ(st.StaffCode, 35);
}

TEST(StaffPreview, KeyAndClefGiveTheCodeUnderThePointer) {
    EditorState st;
    StaffPointerMoved(st, 100, 172, 0, true);
    EXPECT_EQ(st.StaffCode, 4);
    StaffPointerMoved(st, 100, 256, 6, true);
    EXPECT_EQ(st.StaffCode, -11);
    StaffPointerMoved(st, 100, 190, 4, false);
    EXPECT_EQ(st.StaffCode, 10);
}

TEST(StaffSelectors, AccidentalCyclesAndDotToggles) {
    int tag = 0;
    std::vector<std::string> captions;
    for (int i = 0; i < 5; ++i) {
        tag = NextAccidentalTag(tag);
        captions.push_back(AccidentalCaption(tag).toStdString());
    }
    EXPECT_EQ(captions, (std::vector<std::string>{"升", "降", "原", "无", "升"}));
    EXPECT_EQ(NextAccidentalTag(7), 0);  // a tag past 3 starts again
    EXPECT_EQ(AccidentalCaption(0), QStringLiteral("无"));
    EXPECT_EQ(DotCaption(true), QStringLiteral("点"));
    EXPECT_EQ(DotCaption(false), QStringLiteral("无"));
}

// The real editor and key handler, logging the keys a click sends.
struct Window : TestWindow {
    std::vector<int> sent;
    void Picture1_KeyDown(Integer key, Integer shift) override {
        sent.push_back(key);
        TestWindow::Picture1_KeyDown(key, shift);
    }
};

// One thing a click does: a key through the page's key handler, or a symbol stamped directly.
struct Act {
    bool key;
    Integer code, beams;
};
Act Key(Integer k) { return {true, k, 0}; }
Act Stamp(Integer code, Integer beams) { return {false, code, beams}; }

TEST(StaffClick, SendsItsKeysAndNotesInOrder) {
    using namespace staff;
    struct Case {
        const char* name;
        int button, shift;
        bool timeDivision;
        StaffSelectors before;
        Integer code;  // StaffCode; StaffBeams is 2, NoteValue 1
        std::vector<Act> acts;
        StaffSelectors after;
    } cases[] = {
        {"left: the note with the zone's beams", LeftButton, 0, true, {}, 16, {Stamp(16, 2)}, {}},
        {"left without time division: NoteValue", LeftButton, 0, false, {}, 16, {Stamp(16, 1)}, {}},
        {"sharp selected: sharp, then the note", LeftButton, 0, true, {1, false}, 16,
         {Key(77), Stamp(16, 2)}, {}},
        {"flat selected", LeftButton, 0, true, {2, false}, 16, {Key(188), Stamp(16, 2)}, {}},
        {"natural selected", LeftButton, 0, true, {3, false}, 16, {Key(78), Stamp(16, 2)}, {}},
        {"Shift with sharp selected: two sharps", LeftButton, ShiftBit, true, {1, false}, 16,
         {Key(77), Key(77), Stamp(16, 2)}, {}},
        {"Ctrl: a flat first", LeftButton, CtrlBit, true, {}, 16, {Key(188), Stamp(16, 2)}, {}},
        {"dot selected: the dot after the note", LeftButton, 0, true, {0, true}, 16,
         {Stamp(16, 2), Key(190)}, {}},
        {"Alt: a dot after", LeftButton, AltBit, true, {}, 16, {Stamp(16, 2), Key(190)}, {}},
        {"right: a rest with the zone's beams", RightButton, 0, true, {1, true}, 16, {Stamp(35, 2)},
         {1, true}},
        {"right without time division: Esc", RightButton, 0, false, {}, 16, {Key(27)}, {}},
        {"middle: a bar line, the selectors wait", MiddleButton, 0, true, {2, true}, 16, {Key(72)},
         {2, true}},
        {"Shift with the right button", RightButton, ShiftBit, true, {}, 16, {Stamp(35, 2), Key(77)}, {}},
        {"a code below the digits stamps nothing", LeftButton, 0, true, {}, -11, {Stamp(-11, 2)}, {}},
        {"row 35 in C: the rest", LeftButton, 0, true, {}, 35, {Stamp(35, 2)}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Window staff;
        staff.ed.st.StaffCode = c.code;
        staff.ed.st.StaffBeams = 2;
        staff.ed.st.NoteValue = 1;
        StaffSelectors sel = c.before;
        StaffClick(staff.ed, c.button, c.shift, c.timeDivision, sel);

        // The same acts done by hand on a second window.
        Window typed;
        typed.ed.st.NoteValue = 1;
        std::vector<int> keys;
        for (const Act& a : c.acts) {
            if (a.key) {
                keys.push_back(a.code);
                typed.press(a.code);
            } else {
                typed.ed.st.GlyphBand = 0;
                typed.ed.StampSymbol(a.code, a.beams);
            }
        }
        EXPECT_EQ(staff.sent, keys);
        EXPECT_EQ(diffArea(staff.ed.page, 0, 0, typed.ed.page.image(), QRect(0, 0, 668, 300)), "");
        EXPECT_FLOAT_EQ(staff.ed.caret.Left, typed.ed.caret.Left);
        EXPECT_EQ(staff.ed.st.NoteValue, typed.ed.st.NoteValue);
        EXPECT_EQ(sel.accidental, c.after.accidental);
        EXPECT_EQ(sel.dot, c.after.dot);
    }
}

TEST(StaffClick, NoteAfterAnAccidentalCompletesItsBarLineInFull) {
    // 1 2 3, then a sharp 4 from the staff: the note fills the 4/4 bar, and the
    // automatic bar line must come out whole, as when 4 is typed after M.
    Window staff, typed;
    for (Window* w : {&staff, &typed})
        for (Integer k : {49, 50, 51}) w->press(k);
    staff.ed.st.StaffCode = 17;
    staff.ed.st.StaffBeams = 0;
    StaffSelectors sharp{1, false};
    StaffClick(staff.ed, staff::LeftButton, 0, true, sharp);
    typed.press(77);
    typed.press(52);

    EXPECT_EQ(diffArea(staff.ed.page, 0, 96, typed.ed.page.image(), QRect(0, 96, 668, 40)), "");
    // The bar line's stroke reaches row 32, which the bar probes read.
    int strokes = 0;
    for (int x = 20; x < 668; ++x) strokes += staff.ed.page.isInk(x, 96 + 5) && staff.ed.page.isInk(x, 96 + 32);
    EXPECT_EQ(strokes, 1);
    EXPECT_EQ(staff.ed.st.GlyphBand, 0);
}

TEST(StaffClick, RestFromTheRightButtonErasesAChordInChordInput) {
    // In chord input code 35 only blots out the chord: nothing is stamped as a note.
    EnsureGuiApplication();
    Window w;
    w.ed.pageFont = PageFontFace();
    w.ed.st.NoteInputMode = 0;
    w.ed.st.StaffBeams = 1;
    StaffSelectors none;
    StaffClick(w.ed, staff::RightButton, 0, true, none);
    EXPECT_TRUE(allWhite(w.ed.page, QRect(0, 96, 668, 40)));
    EXPECT_EQ(w.sounds, std::vector<std::string>{"kac.wav"});
}

}  // namespace
