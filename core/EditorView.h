#pragma once
// What the editor core needs of the main window, read at the moment of use.
// The window implements it from its widgets; tests fill it with plain values.

#include <QRgb>
#include <QString>

#include "EditorState.h"

namespace qn {

class EditorView {
public:
    virtual ~EditorView() = default;

    virtual bool Check4() = 0;                  // "自动分配音符间距": automatic spacing
    virtual bool Check8() = 0;                  // "自动分拍": automatic beat division
    virtual QString Label6sCaption(int index) = 0;  // spacing value as shown (index 4: beat spacing)
    virtual int HScroll2(int index) = 0;        // 0 bar width, 1 bars per line, 2 line pitch
    virtual int Line3X1() = 0;                  // right-margin guide, W - 14 after layout
    virtual QRgb Label5ForeColor() = 0;         // "和弦颜色": the chord colour

    virtual void PlaySoundEffect(const QString& name) = 0;
    virtual void RefreshPage() = 0;             // show the page again after a block move
    // The key handler of the page; stamping sends Enter (13, 0) for the automatic line break.
    virtual void Picture1_KeyDown(Integer keyCode, Integer shift) = 0;
    // An undo or redo put back the page and the editing state: show them again
    // (the page, the caret and its picture, the note value, the time signature).
    virtual void StateRestored() {}
};

}  // namespace qn
