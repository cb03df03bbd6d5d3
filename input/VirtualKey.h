#pragma once
// Qt key events to the Windows virtual-key codes the key map speaks.
// Built from Qt::Key and the keypad modifier only (never native scan codes), so
// it behaves the same offscreen and in a real X window.

#include <Qt>

#include "EditorState.h"

namespace qn {

// 0 for keys the editor does not handle (modifier-only keys, NumLock, ...).
Integer VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers);
// The shift bit set: 1 Shift, 2 Ctrl, 4 Alt.
Integer ShiftStateFromQt(Qt::KeyboardModifiers modifiers);

}  // namespace qn
