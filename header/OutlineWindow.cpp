#include "OutlineWindow.h"

#include <QPainter>
#include <QRegion>

namespace qn {

OutlineWindow::OutlineWindow()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus) {
    setObjectName(QStringLiteral("Form2"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void OutlineWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    p.setPen(QColor(0, 0, 255));
    p.drawRect(0, 0, width() - 1, height() - 1);
    p.setPen(Qt::white);
    p.drawRect(1, 1, width() - 3, height() - 3);
}

void OutlineWindow::resizeEvent(QResizeEvent*) {
    // Only the two one-pixel outlines belong to the window.
    const QRegion all(rect());
    setMask(all.subtracted(QRegion(rect().adjusted(2, 2, -2, -2))));
}

}  // namespace qn
