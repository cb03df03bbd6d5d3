#include "VirtualKey.h"

namespace qn {

namespace {
// Keypad keys arrive as navigation keys while NumLock is off, as Windows sends them.
Integer keypadKey(int k) {
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return Integer(96 + (k - Qt::Key_0));
    switch (k) {
    case Qt::Key_Asterisk: return 106;
    case Qt::Key_Plus: return 107;
    case Qt::Key_Minus: return 109;
    case Qt::Key_Period: case Qt::Key_Comma: return 110;
    case Qt::Key_Slash: return 111;
    case Qt::Key_Enter: case Qt::Key_Return: return 13;
    case Qt::Key_Clear: return 12;
    default: return -1;  // not a keypad-only key: map as usual
    }
}
}  // namespace

Integer VirtualKeyFromQt(int k, Qt::KeyboardModifiers modifiers) {
    if (modifiers & Qt::KeypadModifier) {
        const Integer v = keypadKey(k);
        if (v >= 0) return v;
    }
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return Integer('A' + (k - Qt::Key_A));
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return Integer('0' + (k - Qt::Key_0));
    if (k >= Qt::Key_F1 && k <= Qt::Key_F12) return Integer(112 + (k - Qt::Key_F1));
    switch (k) {
    // Shifted digit-row symbols fold back to their key.
    case Qt::Key_ParenRight: return 48;
    case Qt::Key_Exclam: return 49;
    case Qt::Key_At: return 50;
    case Qt::Key_NumberSign: return 51;
    case Qt::Key_Dollar: return 52;
    case Qt::Key_Percent: return 53;
    case Qt::Key_AsciiCircum: return 54;
    case Qt::Key_Ampersand: return 55;
    case Qt::Key_Asterisk: return 56;
    case Qt::Key_ParenLeft: return 57;

    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: case Qt::Key_Backtab: return 9;
    case Qt::Key_Clear: return 12;
    case Qt::Key_Return: case Qt::Key_Enter: return 13;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;

    case Qt::Key_Semicolon: case Qt::Key_Colon: return 186;
    case Qt::Key_Equal: case Qt::Key_Plus: return 187;
    case Qt::Key_Comma: case Qt::Key_Less: return 188;
    case Qt::Key_Minus: case Qt::Key_Underscore: return 189;
    case Qt::Key_Period: case Qt::Key_Greater: return 190;
    case Qt::Key_Slash: case Qt::Key_Question: return 191;
    case Qt::Key_QuoteLeft: case Qt::Key_AsciiTilde: return 192;
    case Qt::Key_BracketLeft: case Qt::Key_BraceLeft: return 219;
    case Qt::Key_Backslash: case Qt::Key_Bar: return 220;
    case Qt::Key_BracketRight: case Qt::Key_BraceRight: return 221;
    case Qt::Key_Apostrophe: case Qt::Key_QuoteDbl: return 222;
    default: return 0;  // modifiers, NumLock and keys the editor does not know
    }
}

Integer ShiftStateFromQt(Qt::KeyboardModifiers modifiers) {
    Integer s = 0;
    if (modifiers & Qt::ShiftModifier) s |= 1;
    if (modifiers & Qt::ControlModifier) s |= 2;
    if (modifiers & Qt::AltModifier) s |= 4;
    return s;
}

}  // namespace qn
