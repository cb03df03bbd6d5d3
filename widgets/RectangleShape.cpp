#include "RectangleShape.h"

#include <QPainter>

namespace qn {

RectangleShape::RectangleShape(const QColor& colour, Look look, QWidget* parent)
    : QWidget(parent), colour_(colour), look_(look) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void RectangleShape::setLook(Look look) {
    if (look == look_) return;
    look_ = look;
    update();
}

void RectangleShape::paintEvent(QPaintEvent*) {
    if (width() < 1 || height() < 1) return;
    QPainter p(this);
    if (look_ == Look::Hatched) p.fillRect(rect(), QBrush(colour_, Qt::BDiagPattern));
    QPen pen(colour_, 0, look_ == Look::Dashed ? Qt::DashLine : Qt::SolidLine);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    // The outline lies on the shape's own edge pixels.
    p.drawRect(QRect(0, 0, width() - 1, height() - 1));
}

}  // namespace qn
