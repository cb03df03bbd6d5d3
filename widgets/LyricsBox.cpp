#include "LyricsBox.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace qn {

void LyricsBox::keyPressEvent(QKeyEvent* event) {
    if (!(onKeyDown && onKeyDown(event))) QLineEdit::keyPressEvent(event);
    // A line edit ignores Return, Escape and a few more so a dialog can act on
    // them; here the page canvas behind would take them as typing.
    event->accept();
}

void LyricsBox::keyReleaseEvent(QKeyEvent* event) {
    QLineEdit::keyReleaseEvent(event);
    event->accept();
}

void LyricsBox::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // The edit's own context menu and a switch to another window are no move
    // to another control: the box stays open for the user to come back.
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason) return;
    if (onLostFocus) onLostFocus();
}

}  // namespace qn
