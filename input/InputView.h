#pragma once
// What the key handler needs of the main window beyond the editor core.

#include "EditorState.h"

namespace qn {

class InputView {
public:
    virtual ~InputView() = default;

    // Controls read at the moment of use.
    virtual bool Check1() = 0;             // "从五线谱输入": staff input
    virtual int Combo2ListIndex() = 0;     // key chosen for staff input, 0..6
    virtual bool Check5(int index) = 0;    // pattern index takes part in the Esc cycle
    virtual bool Check11() = 0;            // "换行时两端对齐": justify on line break

    // Toolbar commands the keys share with their buttons.
    virtual void Command10_Click() = 0;    // note / chord input
    virtual void Command4_Click() = 0;     // insert / overwrite
    virtual void Command2_Click() = 0;     // full / half width
    virtual void Option1_Click(Integer index) = 0;  // choose the rhythm pattern
    virtual void SetOption1Value(Integer index) = 0;  // mark the pattern button selected

    // Caret picture and blink.
    virtual void RestartBlink() = 0;       // a full interval passes before the next toggle; caret shown
    virtual void LoadCaretPicture(Integer index) = 0;  // "s/k<index>.bmp"

    // Panels opened at the caret.
    virtual void ShowNewScoreDialog() = 0;                       // P: Picture8
    virtual void ShowPictureInsertPanel(int left, int top) = 0;  // F: Frame3
    virtual void ShowTextInsertPanel(int left, int top) = 0;     // D: Frame2

    // Overlays named by SelectedOverlay (0..49 text, 50 and up picture).
    // OverlayPosition returns false when no such overlay exists.
    virtual bool OverlayPosition(Integer selected, int& left, int& top) = 0;
    virtual void MoveOverlay(Integer selected, int left, int top) = 0;
    virtual void HideOverlay(Integer selected) = 0;

    virtual void Beep() = 0;
    virtual void SlurKey() = 0;        // L: slur mark / draw slur
    virtual void GraceNoteKey() = 0;   // O: grace-note entry
};

}  // namespace qn
