#include "WindowChanges.h"

#include <QScrollBar>

#include "ClickLabel.h"

namespace qn {

LabelChange::LabelChange(ClickLabel* label, const QString& before, const QString& after, bool fitText,
                         std::function<void()> relayout)
    : label_(label), before_(before), after_(after), fit_(fitText), relayout_(std::move(relayout)) {}

void LabelChange::show(const QString& text) {
    if (!label_) return;
    label_->setText(text);
    if (fit_) label_->adjustSize();
    if (relayout_) relayout_();
}

OverlayLook OverlayLook::Of(const ClickLabel* w) {
    OverlayLook l;
    l.shown = !w->isHidden();
    l.geometry = w->geometry();
    l.text = w->text();
    l.picture = w->pixmap();
    l.tag = w->Tag;
    return l;
}

void OverlayLook::ApplyTo(ClickLabel* w) const {
    if (!picture.isNull()) {
        w->setPixmap(picture);
    } else {
        if (!w->pixmap().isNull()) w->clear();  // setText of an unchanged text keeps the picture
        w->setText(text);
    }
    w->setGeometry(geometry);
    w->Tag = tag;
    w->setVisible(shown);
    if (shown) w->raise();
}

bool OverlayLook::operator==(const OverlayLook& o) const {
    return shown == o.shown && geometry == o.geometry && text == o.text &&
           picture.cacheKey() == o.picture.cacheKey() && tag == o.tag;
}

OverlayChange::OverlayChange(ClickLabel* overlay, const OverlayLook& before, const OverlayLook& after)
    : overlay_(overlay), before_(before), after_(after) {}

void OverlayChange::undo() {
    if (overlay_) before_.ApplyTo(overlay_);
}

void OverlayChange::redo() {
    if (overlay_) after_.ApplyTo(overlay_);
}

int OverlayChange::id() const {
    OverlayLook moved = before_;
    moved.geometry.moveTopLeft(after_.geometry.topLeft());
    return moved == after_ ? MoveId : -1;
}

bool OverlayChange::mergeWith(const QUndoCommand* other) {
    const auto* o = static_cast<const OverlayChange*>(other);
    if (o->overlay_ != overlay_) return false;
    after_ = o->after_;
    // Moved back where the run started: nothing left to undo.
    setObsolete(after_ == before_);
    return true;
}

SliderChange::SliderChange(QScrollBar* slider, int before, int after)
    : slider_(slider), before_(before), after_(after) {}

void SliderChange::undo() {
    if (slider_) slider_->setValue(before_);
}

void SliderChange::redo() {
    if (slider_) slider_->setValue(after_);
}

}  // namespace qn
