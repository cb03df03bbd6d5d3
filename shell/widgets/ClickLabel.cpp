#include "ClickLabel.h"

#include <QMouseEvent>

namespace qn {

void ClickLabel::mousePressEvent(QMouseEvent* event) {
    emit pressed(event->button());
    emit pressedAt(event->button(), event->position().toPoint(), event->globalPosition().toPoint());
    event->accept();
}

void ClickLabel::mouseMoveEvent(QMouseEvent* event) {
    emit movedAt(event->buttons(), event->position().toPoint(), event->globalPosition().toPoint());
    event->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    emit releasedAt(event->button(), event->position().toPoint(), event->globalPosition().toPoint());
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    emit released();
    event->accept();
}

void ClickLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    emit doubleClicked();
    event->accept();
}

}  // namespace qn
