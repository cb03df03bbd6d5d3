// Picture1_KeyDown / Picture1_KeyUp: a command key runs its command (the
// page's key table names it); every other key becomes a symbol.
#include "KeyHandler.h"
#include "KeyTable.h"

namespace qn {

KeyHandler::KeyHandler(Editor& editor, InputView& view) : ed_(editor), view_(view) {}

void KeyHandler::Picture1_KeyDown(Integer keyCode, Integer shift) {
    // One key, one undo step: the bar line, line break and justification it
    // causes come back here through the Enter key and fold into it.
    History::Step step(ed_.history);
    EditorState& st = ed_.st;
    const KeyEntry* key = FindPageKey(keyCode);
    switch (key ? key->command : KeyCommand::None) {
    case KeyCommand::None: break;
    case KeyCommand::ChordAtCaret: st.ChordAtCaret = 1; return;
    case KeyCommand::ToggleChordMode: view_.Command10_Click(); return;
    case KeyCommand::NewScoreDialog: view_.ShowNewScoreDialog(); return;
    case KeyCommand::Slur: view_.SlurKey(); return;
    case KeyCommand::DeleteOverlay: DeleteOverlay(); return;
    case KeyCommand::GraceNote: view_.GraceNoteKey(); return;
    case KeyCommand::PictureInsert: OpenPictureInsertPanel(); return;
    case KeyCommand::TextInsert: OpenTextInsertPanel(); return;
    case KeyCommand::NewLine: NewLine(); return;
    case KeyCommand::ToggleInsert: view_.Command4_Click(); return;
    case KeyCommand::NextNoteValue: NextEnabledNoteValue(); return;
    case KeyCommand::FewerBeams: FewerBeams(); return;
    case KeyCommand::MoreBeams: MoreBeams(); return;
    case KeyCommand::KeypadHeld: st.KeypadHeld[size_t(key->slot)] = 1; return;
    case KeyCommand::NoteValue: SelectNoteValueDirect(key->slot); return;
    case KeyCommand::Arrow: ArrowKey(keyCode, shift); return;
    case KeyCommand::ToggleWidth: view_.Command2_Click(); return;
    }
    const Integer code = MapKeyToSymbol(keyCode);
    if (code > 0) ed_.StampSymbol(code, st.NoteValue);
}

void KeyHandler::Picture1_KeyUp(Integer keyCode, Integer /*shift*/) {
    EditorState& st = ed_.st;
    const KeyEntry* key = FindPageKey(keyCode);
    if (!key) return;
    if (key->command == KeyCommand::ChordAtCaret) st.ChordAtCaret = 0;
    if (key->command == KeyCommand::KeypadHeld) st.KeypadHeld[size_t(key->slot)] = 0;
}

}  // namespace qn
