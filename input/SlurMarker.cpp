#include "SlurMarker.h"

#include "Slur.h"

namespace qn {

SlurStep SlurKey(Editor& ed, SlurMark& Label8, QRect* changed) {
    if (changed) *changed = QRect();
    if (!Label8.Visible) {
        Label8.Left = ed.caret.Left;
        Label8.Top = ed.caret.Top;
        Label8.Visible = true;
        return SlurStep::Marked;
    }
    Label8.Visible = false;
    if (Label8.Left == ed.caret.Left && Label8.Top == ed.caret.Top) return SlurStep::Unmarked;
    // From the middle of the marked cell to the middle of the caret's cell.
    const int x1 = RoundHalfEven(Label8.Left + 6), x2 = RoundHalfEven(ed.caret.Left + 6);
    const int y1 = RoundHalfEven(Label8.Top), y2 = RoundHalfEven(ed.caret.Top);
    const QRect area = DrawSlur(ed.page, x1, y1, x2, y2);
    if (changed) *changed = area;
    return SlurStep::Drawn;
}

}  // namespace qn
