#include "ClickLabel.h"

#include <QMouseEvent>
#include <QPainter>

#include "PageComposer.h"

namespace qn {

QSize ClickLabel::sizeHint() const {
    if (!pixmap().isNull()) return QLabel::sizeHint();
    return LabelTextSize(font(), text());
}

void ClickLabel::paintEvent(QPaintEvent* event) {
    if (!pixmap().isNull()) {
        QLabel::paintEvent(event);
        return;
    }
    // The same drawing as the exported page's, so both show the same pixels.
    QPainter p(this);
    DrawLabelText(p, contentsRect(), font(), palette().color(foregroundRole()), alignment(), text());
}

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
