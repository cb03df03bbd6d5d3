#include "PatternButton.h"

#include <QPainter>
#include <qdrawutil.h>

namespace qn {

PatternButton::PatternButton(const QPixmap& picture, QWidget* parent)
    : QAbstractButton(parent), picture_(picture) {
    setCheckable(true);
    setAutoExclusive(true);
    setFocusPolicy(Qt::NoFocus);
}

void PatternButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const bool down = isChecked() || isDown();
    p.fillRect(rect(), palette().button());
    // The picture sits one pixel further in while the button is pressed.
    if (!picture_.isNull()) {
        const QPoint at((width() - picture_.width()) / 2 + (down ? 1 : 0),
                        (height() - picture_.height()) / 2 + (down ? 1 : 0));
        p.drawPixmap(at, picture_);
    }
    qDrawShadePanel(&p, rect(), palette(), down, 1);
}

}  // namespace qn
