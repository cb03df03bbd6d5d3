#include <gtest/gtest.h>

#include "VirtualKey.h"

using namespace qn;

TEST(VirtualKey, FromQtKeys) {
    const auto kp = Qt::KeypadModifier;
    const Qt::KeyboardModifiers none;
    struct Case {
        int key;
        Qt::KeyboardModifiers mods;
        Integer want;
    } cases[] = {
        {Qt::Key_1, none, 49}, {Qt::Key_Exclam, Qt::ShiftModifier, 49}, {Qt::Key_ParenLeft, none, 57},
        {Qt::Key_ParenRight, none, 48}, {Qt::Key_A, none, 65}, {Qt::Key_Z, Qt::ShiftModifier, 90},
        {Qt::Key_F1, none, 112}, {Qt::Key_F12, none, 123},
        {Qt::Key_0, kp, 96}, {Qt::Key_9, kp, 105}, {Qt::Key_Plus, kp, 107}, {Qt::Key_Minus, kp, 109},
        {Qt::Key_Enter, kp, 13}, {Qt::Key_Return, none, 13},
        // Keypad with NumLock off sends navigation keys, as on Windows.
        {Qt::Key_Left, kp, 37}, {Qt::Key_End, kp, 35}, {Qt::Key_Insert, kp, 45}, {Qt::Key_Clear, kp, 12},
        {Qt::Key_Semicolon, none, 186}, {Qt::Key_Colon, Qt::ShiftModifier, 186}, {Qt::Key_Comma, none, 188}, {Qt::Key_Less, Qt::ShiftModifier, 188}, {Qt::Key_Minus, none, 189},
        {Qt::Key_Underscore, none, 189}, {Qt::Key_Period, none, 190}, {Qt::Key_QuoteLeft, none, 192},
        {Qt::Key_BracketLeft, none, 219}, {Qt::Key_Backslash, none, 220}, {Qt::Key_BracketRight, none, 221},
        {Qt::Key_Apostrophe, none, 222}, {Qt::Key_Space, none, 32}, {Qt::Key_Backspace, none, 8},
        {Qt::Key_Escape, none, 27}, {Qt::Key_PageUp, none, 33}, {Qt::Key_PageDown, none, 34},
        {Qt::Key_Left, none, 37}, {Qt::Key_Up, none, 38}, {Qt::Key_Right, none, 39}, {Qt::Key_Down, none, 40},
        {Qt::Key_Insert, none, 45}, {Qt::Key_Delete, none, 46},
        {Qt::Key_Shift, Qt::ShiftModifier, 0}, {Qt::Key_NumLock, none, 0}, {Qt::Key_Control, none, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(VirtualKeyFromQt(c.key, c.mods), c.want) << std::hex << c.key;
}

TEST(VirtualKey, ShiftState) {
    EXPECT_EQ(ShiftStateFromQt(Qt::NoModifier), 0);
    EXPECT_EQ(ShiftStateFromQt(Qt::ShiftModifier), 1);
    EXPECT_EQ(ShiftStateFromQt(Qt::ControlModifier), 2);
    EXPECT_EQ(ShiftStateFromQt(Qt::AltModifier), 4);
    EXPECT_EQ(ShiftStateFromQt(Qt::ShiftModifier | Qt::ControlModifier | Qt::KeypadModifier), 3);
}
