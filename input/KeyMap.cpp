// MapKeyToSymbol: a key code to the symbol code it stamps.
#include "KeyHandler.h"

namespace qn {

Integer KeyHandler::MapKeyToSymbol(Integer keyCode) {
    EditorState& st = ed_.st;
    st.GlyphBand = 0;
    const bool fullWidth = st.HalfWidthMode == 0;
    Integer code = 0;
    switch (keyCode) {
    case 49: case 50: case 51: case 52: case 53: case 54: case 55:
        code = Integer(keyCode - 35);  // plain 1..7
        break;
    case 56: code = 21; break;      // 1 with a dot above
    case 81: code = 7; break;       // Q W E R T Y U: 1..7 with a dot below
    case 87: code = 8; break;
    case 69: code = 9; break;
    case 82: code = 10; break;
    case 84: code = 11; break;
    case 89: code = 12; break;
    case 85: code = 13; break;
    case 73: code = 14; break;      // I: plain 1
    case 79: code = 35; break;      // O: rest (a command key, so only direct calls get here)
    case vk::Semicolon: code = 35; break;  // the rest's own key, on the home row
    case 90: code = 36; break;      // Z X C V B: percussion syllables
    case 88: code = 37; break;
    case 67: code = 38; break;
    case 86: code = 39; break;
    case 66: code = 40; break;
    case vk::Minus: case vk::Backquote: code = 41; break;  // dash
    case 65: case 72: code = 101; break;                   // A, H: bar line
    case vk::LeftBracket: code = 102; break;
    case vk::RightBracket: code = 103; break;
    case vk::Backslash: code = 104; break;
    case vk::Apostrophe: code = 105; break;
    case vk::Period: code = 115; break;
    case 78: code = 201; st.GlyphBand = 2; break;          // N: natural
    case 77: code = 202; st.GlyphBand = 2; break;          // M: sharp
    case vk::Comma: code = 203; st.GlyphBand = 2; break;   // comma: flat
    case vk::Space: code = fullWidth ? 100 : 200; break;
    case 57: code = fullWidth ? 113 : 209; break;          // 9: "("
    case 48: code = fullWidth ? 114 : 210; break;          // 0: ")"
    case vk::Backspace: code = 999; break;
    default:
        if (keyCode >= vk::F1 && keyCode <= vk::F12) code = Integer(keyCode - 91);
        break;
    }
    // Staff input writes in the chosen key: every note result is lowered by it.
    // The rest (35) has no pitch and stays.
    if (code < 35 && view_.Check1()) code = Integer(code - view_.Combo2ListIndex());
    return code;
}

}  // namespace qn
