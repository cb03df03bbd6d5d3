// The editing commands of the page's key handler: note value, new line,
// caret and overlay moves, and the insert panels opened at the caret.
#include "KeyHandler.h"

namespace qn {

namespace {
void restartBlink(Editor& ed, InputView& view) {
    ed.caret.Visible = true;
    view.RestartBlink();
}
}  // namespace

void KeyHandler::NextEnabledNoteValue() {
    EditorState& st = ed_.st;
    // At most one full round: some toggle is always ticked, but never loop forever.
    for (int i = 0; i < 4; ++i) {
        st.NoteValue = Integer(st.NoteValue + 1);
        if (st.NoteValue >= 4 || st.NoteValue < 0) st.NoteValue = 0;
        if (view_.Check5(st.NoteValue)) break;
    }
    view_.Option1_Click(st.NoteValue);
    view_.SetOption1Value(st.NoteValue);
}

void KeyHandler::FewerBeams() {
    EditorState& st = ed_.st;
    st.NoteValue = Integer(st.NoteValue - 1);
    if (st.NoteValue < 0) st.NoteValue = 0;
    view_.Option1_Click(st.NoteValue);
    view_.SetOption1Value(st.NoteValue);
}

void KeyHandler::MoreBeams() {
    EditorState& st = ed_.st;
    st.NoteValue = Integer(st.NoteValue + 1);
    if (st.NoteValue > 3) st.NoteValue = 3;
    view_.Option1_Click(st.NoteValue);
    view_.SetOption1Value(st.NoteValue);
}

void KeyHandler::SelectNoteValueDirect(Integer value) {
    ed_.st.NoteValue = value;
    ed_.caret.Picture = value;
    restartBlink(ed_, view_);
    view_.LoadCaretPicture(value);
    view_.SetOption1Value(value);
}

void KeyHandler::NewLine() {
    EditorState& st = ed_.st;
    st.JustifyLineTop = Integer(RoundHalfEven(ed_.caret.Top));
    if (view_.Check11()) ed_.LineJustify();
    st.SpacingClass = 5;
    st.LastCellWidth = 2;
    st.BarUnits = 0;
    st.PendingBeamGap = 0;
    ed_.caret.Left = geom::LeftMargin;
    ed_.caret.Top = ed_.caret.Top + ed_.linePitch();
    st.BarsInLine = 0;
    ed_.view().PlaySoundEffect(QStringLiteral("5.wav"));
}

void KeyHandler::ArrowKey(Integer keyCode, Integer shift) {
    EditorState& st = ed_.st;
    const int step = shift == 1 ? 1 : shift == 2 ? 60 : 6;

    if (st.SelectedOverlay >= 0) {
        int left = 0, top = 0;
        if (!view_.OverlayPosition(st.SelectedOverlay, left, top)) return;
        // The bound is tested before the move, so one step may pass it.
        switch (keyCode) {
        case vk::Left: if (left > 8) left -= step; break;
        case vk::Up: if (top > 8) top -= step; break;
        case vk::Right: if (left < ed_.page.width()) left += step; break;
        case vk::Down: if (top < ed_.page.height()) top += step; break;
        default: return;
        }
        view_.MoveOverlay(st.SelectedOverlay, left, top);
        return;
    }

    // Each caret key forgets a different part of the running bookkeeping.
    const bool right = keyCode == vk::Right;
    if (!right) st.SpacingClass = 5;
    st.LastCellWidth = 2;
    st.BarUnits = 0;
    st.PendingBeamGap = 0;
    if (keyCode == vk::Up || keyCode == vk::Down) st.BarsInLine = 0;
    restartBlink(ed_, view_);

    Caret& c = ed_.caret;
    const int charStep = st.HalfWidthMode == 0 ? geom::FullCell : geom::HalfCell;
    switch (keyCode) {
    case vk::Left:
        c.Left = c.Left - charStep;
        if (c.Left < geom::LeftMargin) {
            if (c.Top > geom::FirstLineTop) {
                c.Top = c.Top - ed_.linePitch();
                c.Left = ed_.page.width() - geom::RightLimitInset;
                if (c.Top < geom::FirstLineTop) c.Top = geom::FirstLineTop;
            } else {
                c.Left = geom::LeftMargin;
            }
        }
        break;
    case vk::Up:
        if (c.Top > geom::FirstLineTop) c.Top = c.Top - ed_.linePitch();
        if (c.Top < geom::FirstLineTop) c.Top = geom::FirstLineTop;
        break;
    case vk::Right:
        c.Left = c.Left + charStep;
        ed_.WrapCaret();
        break;
    case vk::Down:
        if (c.Top < 2000) c.Top = c.Top + ed_.linePitch();
        break;
    default: break;
    }
}

void KeyHandler::DeleteOverlay() {
    if (ed_.st.SelectedOverlay < 0) return;
    view_.HideOverlay(ed_.st.SelectedOverlay);
    view_.Beep();
}

QPoint KeyHandler::SetOverlayInsertPoint(int rightMargin) {
    EditorState& st = ed_.st;
    st.OverlayInsertX = Integer(RoundHalfEven(ed_.caret.Left));
    st.OverlayInsertY = Integer(RoundHalfEven(ed_.caret.Top - 12));
    int left = st.OverlayInsertX;
    if (ed_.page.width() - rightMargin < left) left = ed_.page.width() - rightMargin;  // keep the panel on the page
    return QPoint(left, st.OverlayInsertY + 24);
}

void KeyHandler::OpenPictureInsertPanel() {
    if (ed_.st.PictureOverlayCount > 49) return;
    const QPoint at = SetOverlayInsertPoint(217);
    view_.ShowPictureInsertPanel(at.x(), at.y());
}

void KeyHandler::OpenTextInsertPanel() {
    // 50 text overlays: their records must never reach the sidecar's picture area.
    if (ed_.st.TextOverlayCount > 49) return;
    const QPoint at = SetOverlayInsertPoint(265);
    view_.ShowTextInsertPanel(at.x(), at.y());
}

}  // namespace qn
