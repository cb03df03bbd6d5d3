#pragma once
// The mouse on the page canvas and the buttons of the region clipboard. In caret
// mode a left press puts the caret on the grid and a drag selects a region,
// copied on release; in eraser mode a left drag whitens the page under a square
// brush; a right press opens the lyrics box in either mode. The handlers only
// translate events; the page work is in the core (PageOps, RegionClipboard, Lyrics).

#include <QRect>

#include "Editor.h"
#include "MouseView.h"
#include "PageOps.h"
#include "RegionClipboard.h"

namespace qn {

// Mouse buttons as the handlers number them.
namespace mouse {
constexpr Integer LeftButton = 1, RightButton = 2, MiddleButton = 4;
}

class MouseHandler {
public:
    MouseHandler(Editor& editor, MouseView& view);

    // X and Y are page pixels; Shift is not used.
    void Picture1_MouseDown(Integer button, Integer shift, Single X, Single Y);
    void Picture1_MouseMove(Integer button, Integer shift, Single X, Single Y);
    void Picture1_MouseUp(Integer button, Integer shift, Single X, Single Y);
    void Picture1_Click();   // after a left click on the canvas
    void Combo3_Click();     // the mode was chosen

    void Command14_Click();  // "粘贴": paste at the caret (a beep before any copy)
    void Command15_Click();  // "清除": empty the clipboard, whiten the selection's size at the caret

    // Enter prints the lyrics and closes the box; returns true for Enter, which
    // the window then keeps from reaching the page. Other keys are the box's own.
    bool Textgc_KeyDown(Integer keyCode, Integer shift);
    void Textgc_LostFocus();

    const EraserSquare& Shape1() const { return shape1_; }
    const QRect& Shape2() const { return shape2_; }
    const RegionClipboard& Picture9() const { return clipboard_; }

private:
    bool caretMode() { return view_.Combo3ListIndex() < 1; }
    void EraserStep(Single X, Single Y);

    Editor& ed_;
    MouseView& view_;
    EraserSquare shape1_;
    QRect shape2_;  // keeps its size after the drag: Clear uses it
    RegionClipboard clipboard_;
};

}  // namespace qn
