// Picture1_KeyDown / Picture1_KeyUp: the command keys first, in their fixed
// order; every other key becomes a symbol.
#include "KeyHandler.h"

namespace qn {

KeyHandler::KeyHandler(Editor& editor, InputView& view) : ed_(editor), view_(view) {}

void KeyHandler::Picture1_KeyDown(Integer keyCode, Integer shift) {
    // One key, one undo step: the bar line, line break and justification it
    // causes come back here through the Enter key and fold into it.
    History::Step step(ed_.history);
    EditorState& st = ed_.st;
    switch (keyCode) {
    case 71: st.ChordAtCaret = 1; return;              // G, held
    case 75: view_.Command10_Click(); return;          // K
    case 80: view_.ShowNewScoreDialog(); return;       // P
    case 76: view_.SlurKey(); return;                  // L
    case vk::Delete: DeleteOverlay(); return;
    case 79: view_.GraceNoteKey(); return;             // O
    case 70: OpenPictureInsertPanel(); return;         // F
    case 68: OpenTextInsertPanel(); return;            // D
    case vk::Enter: NewLine(); return;
    case vk::Insert: view_.Command4_Click(); return;
    case vk::Esc: NextEnabledNoteValue(); return;
    case vk::PageUp: FewerBeams(); return;
    case vk::PageDown: MoreBeams(); return;
    case 100: case 101: case 102: case 103: case 104: case 105:  // keypad 4..9, held
        st.KeypadHeld[keyCode - 96] = 1;
        return;
    case vk::Add: st.KeypadHeld[5] = 1; return;
    case vk::Subtract: st.KeypadHeld[6] = 1; return;
    case 96: case 97: case 98: case 99:                          // keypad 0..3
        SelectNoteValueDirect(Integer(keyCode - 96));
        return;
    case vk::Left: case vk::Up: case vk::Right: case vk::Down:
        ArrowKey(keyCode, shift);
        return;
    case 83: view_.Command2_Click(); return;           // S
    default: break;
    }
    const Integer code = MapKeyToSymbol(keyCode);
    if (code > 0) ed_.StampSymbol(code, st.NoteValue);
}

void KeyHandler::Picture1_KeyUp(Integer keyCode, Integer /*shift*/) {
    EditorState& st = ed_.st;
    switch (keyCode) {
    case 71: st.ChordAtCaret = 0; break;
    case 100: case 101: case 102: case 103: case 104: case 105:
        st.KeypadHeld[keyCode - 96] = 0;
        break;
    case vk::Add: st.KeypadHeld[5] = 0; break;
    case vk::Subtract: st.KeypadHeld[6] = 0; break;
    default: break;
    }
}

}  // namespace qn
