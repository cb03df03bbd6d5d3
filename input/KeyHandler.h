#pragma once
// The keyboard: command dispatch of the page canvas, the key-to-symbol map and
// the editing commands. Other code (stamping, the staff panel) calls
// Picture1_KeyDown with key codes as if a key had been pressed.
//
// Implementation files by aspect:
//   KeyHandler.cpp       Picture1_KeyDown / Picture1_KeyUp dispatch
//   KeyTable.cpp         the page's keys: what each writes or does (also the key chart's)
//   KeyMap.cpp           MapKeyToSymbol
//   EditingCommands.cpp  note value keys, Enter, arrows, Delete, F, D

#include <QPoint>

#include "Editor.h"
#include "InputView.h"

namespace qn {

// Windows virtual-key codes used by the dispatch.
namespace vk {
constexpr Integer Backspace = 8, Enter = 13, Esc = 27, Space = 32, PageUp = 33, PageDown = 34,
                  Left = 37, Up = 38, Right = 39, Down = 40, Insert = 45, Delete = 46,
                  Numpad0 = 96, Add = 107, Subtract = 109, F1 = 112, F12 = 123,
                  Semicolon = 186, Comma = 188, Minus = 189, Period = 190, Backquote = 192,
                  LeftBracket = 219, Backslash = 220, RightBracket = 221, Apostrophe = 222;
}

class KeyHandler {
public:
    KeyHandler(Editor& editor, InputView& view);

    void Picture1_KeyDown(Integer keyCode, Integer shift);
    void Picture1_KeyUp(Integer keyCode, Integer shift);
    Integer MapKeyToSymbol(Integer keyCode);

    // ---- EditingCommands.cpp
    void NextEnabledNoteValue();      // Esc
    void FewerBeams();                // Page Up
    void MoreBeams();                 // Page Down
    void SelectNoteValueDirect(Integer value);  // keypad 0..3
    void NewLine();                   // Enter
    void ArrowKey(Integer keyCode, Integer shift);
    void DeleteOverlay();             // Delete
    void OpenPictureInsertPanel();    // F
    void OpenTextInsertPanel();       // D

private:
    // Sets OverlayInsertX/Y at the caret; returns where a panel of the given
    // right margin opens.
    QPoint SetOverlayInsertPoint(int rightMargin);

    Editor& ed_;
    InputView& view_;
};

}  // namespace qn
