// Picture1_MouseDown / MouseMove / MouseUp / Click, Combo3_Click, the region
// clipboard buttons and the lyrics box's keys.
#include "MouseHandler.h"

#include "Lyrics.h"

namespace qn {

MouseHandler::MouseHandler(Editor& editor, MouseView& view) : ed_(editor), view_(view) {}

void MouseHandler::Combo3_Click() {
    const int k = view_.Combo3ListIndex();
    shape1_.Size = k;
    if (k == 0) shape1_.Top = mouse::ParkedTop;
    view_.PlaceShape1(shape1_.pixels());
    view_.FocusPage();
}

void MouseHandler::Picture1_MouseDown(Integer button, Integer /*shift*/, Single X, Single Y) {
    if (button == mouse::RightButton) {
        view_.OpenLyricsBox(RoundHalfEven(Y), LyricsPrompt());
        return;
    }
    if (button != mouse::LeftButton) return;
    EditorState& st = ed_.st;
    if (!caretMode()) {
        st.EraserDown = 1;
        view_.SetShape1Look(EraserLook::Active);
        EraserStep(X, Y);  // the press itself erases, before any movement
        return;
    }
    const QPoint at = SnapToGrid(X, Y, ed_.linePitch());
    ed_.caret.Left = Single(at.x());
    ed_.caret.Top = Single(at.y());
    st.BarUnits = 0;
    st.BarsInLine = 0;
    st.SpacingClass = 5;
    st.LastCellWidth = 2;
    st.SelectDragging = 1;
    shape2_ = QRect(at, QSize(mouse::PressWidth, mouse::PressHeight));
    view_.CaretMoved();
    view_.ShowShape2(shape2_);
}

void MouseHandler::Picture1_MouseMove(Integer /*button*/, Integer /*shift*/, Single X, Single Y) {
    if (caretMode()) {
        if (ed_.st.SelectDragging != 1) return;
        shape2_.setSize(SelectionSize(shape2_.topLeft(), X, Y, ed_.linePitch()));
        view_.ShowShape2(shape2_);
        return;
    }
    EraserStep(X, Y);
}

void MouseHandler::EraserStep(Single X, Single Y) {
    // The square follows the pointer with or without a button: a preview of the brush.
    const int size = shape1_.Size;
    shape1_ = EraserSquareAt(X, Y, view_.Combo3ListIndex());
    shape1_.Size = size;
    view_.PlaceShape1(shape1_.pixels());
    if (ed_.st.EraserDown != 1) return;
    const QRect area = EraseSquare(ed_.page, shape1_);
    if (!area.isEmpty()) view_.RepaintPage(area);
}

void MouseHandler::Picture1_MouseUp(Integer button, Integer /*shift*/, Single /*X*/, Single /*Y*/) {
    if (button != mouse::LeftButton) return;
    if (!caretMode()) {
        ed_.st.EraserDown = 0;
        view_.SetShape1Look(EraserLook::Idle);
        return;
    }
    ed_.st.SelectDragging = 0;
    view_.HideShape2();
    if (shape2_.width() >= mouse::MinCopyWidth) clipboard_.Copy(ed_.page, shape2_);
}

void MouseHandler::Picture1_Click() {
    EditorState& st = ed_.st;
    view_.HideInlineEditors();
    if (st.SelectedOverlay >= 0) view_.DeselectOverlay(st.SelectedOverlay);
    st.SelectedOverlay = -1;
}

void MouseHandler::Command14_Click() {
    QRect changed;
    if (clipboard_.Paste(ed_.page, RoundHalfEven(ed_.caret.Left), RoundHalfEven(ed_.caret.Top), &changed)) {
        if (!changed.isEmpty()) view_.RepaintPage(changed);
    } else {
        view_.Beep();  // nothing was copied yet
    }
    view_.FocusPage();
}

void MouseHandler::Command15_Click() {
    const QRect changed =
        clipboard_.Clear(ed_.page, RoundHalfEven(ed_.caret.Left), RoundHalfEven(ed_.caret.Top), shape2_.size());
    if (!changed.isEmpty()) view_.RepaintPage(changed);
    view_.FocusPage();
}

bool MouseHandler::Textgc_KeyDown(Integer keyCode, Integer /*shift*/) {
    if (keyCode != 13) return false;
    const QPoint at = view_.LyricsPosition();
    const QRect changed = PrintLyrics(ed_.page, view_.LyricsText(), at.x(), at.y(), view_.LyricsFont());
    view_.HideLyricsBox();
    if (!changed.isEmpty()) view_.RepaintPage(changed);
    view_.PlaySoundEffect(QStringLiteral("0.wav"));
    return true;
}

void MouseHandler::Textgc_LostFocus() { view_.HideLyricsBox(); }

}  // namespace qn
