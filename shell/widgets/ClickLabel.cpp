#include "ClickLabel.h"

#include <QMouseEvent>

namespace qn {

void ClickLabel::mousePressEvent(QMouseEvent* event) {
    emit pressed(event->button());
    event->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    event->accept();
}

}  // namespace qn
