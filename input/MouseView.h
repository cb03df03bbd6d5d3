#pragma once
// What the mouse handler needs of the main window: the mode combo box, the two
// rectangle shapes on the page canvas, the lyrics box and a few window services.

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>

#include "EditorState.h"

namespace qn {

// The two outlines of the eraser square `Shape1`; the window picks two visibly
// different styles (say plain when idle, hatched while erasing).
enum class EraserLook { Idle, Active };

class MouseView {
public:
    virtual ~MouseView() = default;

    // 0 "不清除" (caret mode); k = 1..50 "清除kXk" (eraser with a k x k brush).
    virtual int Combo3ListIndex() = 0;

    // The eraser square `Shape1` at r (page pixels). A parked square has Top -999.
    virtual void PlaceShape1(const QRect& r) = 0;
    virtual void SetShape1Look(EraserLook look) = 0;
    // The selection rectangle `Shape2`: shown at r on a press and as it grows; hidden on release.
    virtual void ShowShape2(const QRect& r) = 0;
    virtual void HideShape2() = 0;

    virtual void CaretMoved() = 0;                    // the editor's caret has a new Left/Top
    virtual void RepaintPage(const QRect& area) = 0;  // page pixels in `area` changed
    virtual void FocusPage() = 0;                     // input focus back to the page canvas
    virtual void HideInlineEditors() = 0;             // the header's in-place editors
    // Gives overlay `selected` (0..49 Label7(i), 50 and up Ima(i - 50)) its
    // unselected look: black text, no border.
    virtual void DeselectOverlay(Integer selected) = 0;

    // The lyrics box `Textgc`: shown with its Top at `top` (Left and Width stay
    // as laid out), holding `prompt` selected whole, with the input focus.
    virtual void OpenLyricsBox(int top, const QString& prompt) = 0;
    virtual void HideLyricsBox() = 0;
    virtual QString LyricsText() = 0;
    virtual QPoint LyricsPosition() = 0;  // the box's Left and Top on the page
    // The font the lyrics are printed in: the canvas's font name at the box's size.
    virtual QFont LyricsFont() = 0;

    virtual void Beep() = 0;
    virtual void PlaySoundEffect(const QString& name) = 0;
};

}  // namespace qn
