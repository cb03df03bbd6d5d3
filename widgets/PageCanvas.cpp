#include "PageCanvas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "EditorState.h"
#include "Page.h"

namespace qn {

namespace {
const QColor kGuideLineColour(224, 224, 224);  // &H00E0E0E0
// Grey, so the margin shows without being taken for ink.
const QColor kMarginLineColour(160, 160, 160);
constexpr int kCaretWidth = 13, kCaretHeight = 40;
}  // namespace

PageCanvas::PageCanvas(const Page& page, const Caret& caret, QWidget* parent)
    : QWidget(parent), page_(page), caret_(caret) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);  // the eraser square follows the pointer without a button
}

void PageCanvas::setGuideLines(std::vector<QLine> lines) {
    guideLines_ = std::move(lines);
    if (guideLinesVisible_) update();
}

void PageCanvas::setGuideLinesVisible(bool visible) {
    if (visible == guideLinesVisible_) return;
    guideLinesVisible_ = visible;
    update();
}

void PageCanvas::setCaretPicture(const QPixmap& picture) {
    caretPicture_ = picture;
    updateCaret();
}

QRect PageCanvas::caretRect() const {
    const int w = std::max(kCaretWidth, caretPicture_.width());
    const int h = std::max(kCaretHeight, caretPicture_.height());
    return QRect(RoundHalfEven(caret_.Left), RoundHalfEven(caret_.Top), w, h);
}

void PageCanvas::updateCaret() {
    update(caretRect().united(lastCaretRect_));
}

void PageCanvas::setMarginLine(int x) {
    if (x == marginLineX_) return;
    if (marginLineX_ >= 0) update(QRect(marginLineX_, 0, 1, height()));
    marginLineX_ = x;
    if (x >= 0) update(QRect(x, 0, 1, height()));
}

void PageCanvas::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    const QImage& storage = page_.storage();
    const QRect pageRect(0, 0, std::min(page_.width(), storage.width()),
                         std::min(page_.height(), storage.height()));
    for (const QRect& r : event->region()) {
        const QRect src = r.intersected(pageRect);
        if (!src.isEmpty()) p.drawImage(src.topLeft(), storage, src);
        // Whatever the page does not cover (never in normal use) shows white.
        const QRegion rest = QRegion(r).subtracted(QRegion(pageRect));
        for (const QRect& w : rest) p.fillRect(w, Qt::white);
    }

    if (guideLinesVisible_) {
        const QRect area = event->rect();
        for (const QLine& l : guideLines_) {
            // A line control from y1 to y2 covers y1 .. y2 - 1.
            const QRect r(l.x1(), l.y1(), 1, l.y2() - l.y1());
            if (r.intersects(area)) p.fillRect(r, kGuideLineColour);
        }
    }

    if (marginLineX_ >= 0) {
        const QRect r(marginLineX_, 0, 1, height());
        if (r.intersects(event->rect())) p.fillRect(r, kMarginLineColour);
    }

    lastCaretRect_ = caretRect();
    if (caret_.Visible && !caretPicture_.isNull())
        p.drawPixmap(lastCaretRect_.topLeft(), caretPicture_);
}

void PageCanvas::keyPressEvent(QKeyEvent* event) {
    if (onKeyPress) onKeyPress(event);
}

void PageCanvas::keyReleaseEvent(QKeyEvent* event) {
    if (onKeyRelease) onKeyRelease(event);
}

void PageCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) leftPressed_ = true;
    if (onMousePress) onMousePress(event);
}

void PageCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (onMouseMove) onMouseMove(event);
}

void PageCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (onMouseRelease) onMouseRelease(event);
    if (event->button() != Qt::LeftButton) return;
    const bool click = leftPressed_ && rect().contains(event->position().toPoint());
    leftPressed_ = false;
    if (click && onClick) onClick();
}

}  // namespace qn
