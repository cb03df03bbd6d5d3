#include <gtest/gtest.h>

#include "TestWindow.h"

using namespace qn;
using qn::test::TestWindow;

TEST(KeyDispatch, CommandKeysNeverStamp) {
    struct Case {
        Integer key;
        const char* action;  // first action the window sees, "" for none
    } cases[] = {
        {71, ""},              // G: held chord anchor
        {75, "Command10"},     // K
        {80, "Picture8"},      // P
        {76, "slur"},          // L
        {46, ""},              // Delete with nothing selected: no beep
        {79, "grace"},         // O
        {70, "Frame3 20,108"}, // F
        {68, "Frame2 20,108"}, // D
        {45, "Command4"},      // Insert
        {27, "Option1_Click 1"},
        {33, "Option1_Click 0"},
        {34, "Option1_Click 1"},
        {100, ""}, {101, ""}, {102, ""}, {103, ""}, {104, ""}, {105, ""}, {107, ""}, {109, ""},
        {96, "blink"},
        {83, "Command2"},      // S
    };
    for (const Case& c : cases) {
        TestWindow w;
        const QImage before = w.ed.page.image();
        w.press(c.key);
        EXPECT_EQ(w.ed.page.image(), before) << c.key;
        EXPECT_FLOAT_EQ(w.ed.caret.Left, 20) << c.key;
        EXPECT_TRUE(w.sounds.empty()) << c.key;
        if (*c.action) {
            ASSERT_FALSE(w.actions.empty()) << c.key;
            EXPECT_EQ(w.actions.front(), c.action) << c.key;
        } else {
            EXPECT_TRUE(w.actions.empty()) << c.key;
        }
    }
}

TEST(KeyDispatch, HeldModifiers) {
    TestWindow w;
    w.press(71);
    EXPECT_EQ(w.ed.st.ChordAtCaret, 1);
    w.release(71);
    EXPECT_EQ(w.ed.st.ChordAtCaret, 0);
    for (Integer k = 100; k <= 105; ++k) {
        w.press(k);
        EXPECT_EQ(w.ed.st.KeypadHeld[k - 96], 1) << k;
        w.release(k);
        EXPECT_EQ(w.ed.st.KeypadHeld[k - 96], 0) << k;
    }
    // Keypad plus and keypad 5 share slot 5: releasing either one clears it.
    for (Integer releasedKey : {Integer(107), Integer(101)}) {
        w.press(107);
        w.press(101);
        w.release(releasedKey);
        EXPECT_EQ(w.ed.st.KeypadHeld[5], 0) << releasedKey;
    }
    w.press(109);
    EXPECT_EQ(w.ed.st.KeypadHeld[6], 1);
    w.release(102);
    EXPECT_EQ(w.ed.st.KeypadHeld[6], 0);
    // Other releases do nothing.
    w.press(104);
    w.release(49);
    w.release(13);
    EXPECT_EQ(w.ed.st.KeypadHeld[8], 1);
}

TEST(KeyDispatch, SymbolKeysStampWithTheNoteValue) {
    TestWindow w;
    w.check4 = false;
    w.ed.st.NoteValue = 2;
    w.press(49);
    EXPECT_FLOAT_EQ(w.ed.caret.Left, 32);
    EXPECT_EQ(w.ed.st.LastBeamCount, 2);
    EXPECT_EQ(w.ed.st.BarUnits, 2);
    EXPECT_EQ(w.sounds, std::vector<std::string>{"kac.wav"});
    w.press(8);  // Backspace
    EXPECT_FLOAT_EQ(w.ed.caret.Left, 20);
    w.press(112 + 12);  // F13 maps to nothing
    w.press(187);       // equals maps to nothing
    EXPECT_FLOAT_EQ(w.ed.caret.Left, 20);
}

TEST(KeyDispatch, SemicolonStampsTheRestAsANote) {
    struct Case {
        const char* name;
        Integer halfWidth;
        bool staff;
        int staffKey;
    } cases[] = {
        {"full width", 0, false, 0},
        {"half width", 1, false, 0},
        {"staff input in G", 0, true, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestWindow w;
        w.ed.st.HalfWidthMode = c.halfWidth;
        w.check1 = c.staff;
        w.combo2 = c.staffKey;
        w.ed.st.NoteValue = 1;
        w.press(186);
        const QImage page = w.ed.page.image();
        EXPECT_EQ(page.copy(20, 96, 12, 40), Picmode().copy(NoteCellRect(35, 1)).convertToFormat(page.format()));
        EXPECT_FLOAT_EQ(w.ed.caret.Left, 32);
        EXPECT_EQ(w.ed.st.BarUnits, 4) << "an eighth rest counts like an eighth note";
        EXPECT_EQ(w.ed.st.SpacingClass, 1);
        EXPECT_EQ(w.sounds, std::vector<std::string>{"kac.wav"});
    }
}
