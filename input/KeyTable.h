#pragma once
// The page's keys as one table: what each key writes or does. The dispatch of
// Picture1_KeyDown, MapKeyToSymbol and the key chart all read it, so the chart
// cannot drift from the keys the page really uses.

#include <QString>
#include <vector>

#include "EditorState.h"

namespace qn {

// The command a key runs before any symbol is written.
enum class KeyCommand {
    None,             // the key writes its symbol
    ChordAtCaret,     // G, held
    ToggleChordMode,  // K
    NewScoreDialog,   // P
    Slur,             // L
    DeleteOverlay,    // Delete
    GraceNote,        // O
    PictureInsert,    // F
    TextInsert,       // D
    NewLine,          // Enter
    ToggleInsert,     // Insert
    NextNoteValue,    // Esc
    FewerBeams,       // Page Up
    MoreBeams,        // Page Down
    KeypadHeld,       // keypad 4..9, + and -: chord modifiers while held
    NoteValue,        // keypad 0..3
    Arrow,            // the four arrows
    ToggleWidth,      // S
};

// The chart's groups, in the chart's order.
enum class KeyGroup { Notes, Octaves, Rhythm, BarLines, Accidentals, Editing, Modes };

struct KeyEntry {
    Integer keyCode;
    KeyGroup group;
    KeyCommand command;
    Integer symbol;      // symbol code written in full-width mode; 0: none
    Integer halfSymbol;  // in half-width mode
    Integer glyphBand;   // GlyphBand set by MapKeyToSymbol
    Integer slot;        // KeypadHeld slot, or the note value of keypad 0..3
    const char16_t* what;  // the chart's caption
};

// Every key the page knows, each key code once.
const std::vector<KeyEntry>& PageKeys();
// The row of a key code, or nullptr.
const KeyEntry* FindPageKey(Integer keyCode);

// The name printed on the key ("A", "F1", "Page Up", "小键盘 5").
QString KeyName(Integer keyCode);
// The chart's heading of a group ("音符", "八度", ...).
QString KeyGroupName(KeyGroup group);

// One line of the key chart: keys that do the same, in the chart's order
// (groups in the order above; within one, the symbols before the commands).
struct KeyChartRow {
    KeyGroup group;
    std::vector<Integer> keys;
    const KeyEntry* entry;  // the first key's row: what they write or do
};
std::vector<KeyChartRow> KeyChartRows();

// Whether the action of a key reads the Shift state (1 Shift, 2 Ctrl, 4 Alt):
// only the arrows do; every other key does the same with or without them.
bool KeyReadsShiftState(Integer keyCode);

}  // namespace qn
