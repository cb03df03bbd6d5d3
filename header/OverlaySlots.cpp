#include "OverlaySlots.h"

#include <QPainter>
#include <QWidget>

#include "SongFont.h"

namespace qn {

namespace {

// A picture overlay: its picture at its own size, with a thin border while selected.
class PictureLabel : public ClickLabel {
public:
    explicit PictureLabel(QWidget* parent) : ClickLabel(QString(), parent) {}
    bool bordered = false;

protected:
    void paintEvent(QPaintEvent* event) override {
        ClickLabel::paintEvent(event);
        if (!bordered) return;
        QPainter p(this);
        p.setPen(Qt::black);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

void setTextColour(QWidget* w, const QColor& colour) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, colour);
    w->setPalette(p);
}

Integer tagNumber(const ClickLabel* w) {
    bool ok = false;
    const int v = w->Tag.toInt(&ok);
    // A tag that is no number (or none) is stored as 0.
    return ok && v >= -32768 && v <= 32767 ? Integer(v) : Integer(0);
}

std::vector<OverlayRecord> visible(const ClickLabel* const* slotList, int slotCount, int count) {
    std::vector<OverlayRecord> out;
    for (int i = 0; i < std::min(count, slotCount); ++i) {
        const ClickLabel* w = slotList[i];
        if (w->isHidden()) continue;
        out.push_back({Integer(w->x()), Integer(w->y()), tagNumber(w)});
    }
    return out;
}

}  // namespace

OverlaySlots::OverlaySlots(QWidget* page) : QObject(page) {
    for (int i = 0; i < TextSlots; ++i) {
        auto* l = new ClickLabel(QStringLiteral("文字"), page);
        l->setObjectName(QStringLiteral("Label7_%1").arg(i));
        l->setFont(SongFont(14));
        setTextColour(l, Qt::black);
        l->adjustSize();
        l->hide();
        connect(l, &ClickLabel::clicked, this, [this, i] { emit textClicked(i); });
        connect(l, &ClickLabel::released, this, [this, i] { emit textReleased(i); });
        Label7[size_t(i)] = l;
    }
    for (int i = 0; i < PictureSlots; ++i) {
        auto* l = new PictureLabel(page);
        l->setObjectName(QStringLiteral("Ima_%1").arg(i));
        l->hide();
        connect(l, &ClickLabel::clicked, this, [this, i] { emit pictureClicked(i); });
        Ima[size_t(i)] = l;
    }
}

ClickLabel* OverlaySlots::Named(Integer selected) const {
    if (selected >= 0 && selected < FirstPicture) return Label7[size_t(selected)];
    if (selected >= FirstPicture && selected - FirstPicture < PictureSlots)
        return Ima[size_t(selected - FirstPicture)];
    return nullptr;
}

void OverlaySlots::MarkSelected(Integer selected) {
    if (selected >= 0 && selected < FirstPicture) {
        setTextColour(Label7[size_t(selected)], QColor(255, 0, 0));
    } else if (ClickLabel* w = Named(selected)) {
        static_cast<PictureLabel*>(w)->bordered = true;
        w->update();
    }
}

void OverlaySlots::Unmark(Integer selected) {
    if (selected >= 0 && selected < FirstPicture) {
        setTextColour(Label7[size_t(selected)], Qt::black);
    } else if (ClickLabel* w = Named(selected)) {
        static_cast<PictureLabel*>(w)->bordered = false;
        w->update();
    }
}

void OverlaySlots::PlaceText(int slot, int left, int top, const QString& text, const QString& tag) {
    if (slot < 0 || slot >= TextSlots) return;
    ClickLabel* l = Label7[size_t(slot)];
    l->setText(text);
    l->adjustSize();
    l->move(left, top);
    l->Tag = tag;
    l->show();
    l->raise();
}

void OverlaySlots::PlacePicture(int slot, int left, int top, const QPixmap& picture, const QString& tag) {
    if (slot < 0 || slot >= PictureSlots) return;
    ClickLabel* l = Ima[size_t(slot)];
    // A picture that cannot be loaded leaves the slot's picture as it was.
    if (!picture.isNull()) {
        l->setPixmap(picture);
        l->resize(picture.size());
    }
    l->move(left, top);
    l->Tag = tag;
    l->show();
    l->raise();
}

void OverlaySlots::HideTexts(int from, int to) {
    for (int i = std::max(from, 0); i <= std::min(to, TextSlots - 1); ++i) Label7[size_t(i)]->hide();
}

void OverlaySlots::HidePictures(int from, int to) {
    for (int i = std::max(from, 0); i <= std::min(to, PictureSlots - 1); ++i) Ima[size_t(i)]->hide();
}

std::vector<OverlayRecord> OverlaySlots::VisibleTexts(int count) const {
    return visible(Label7.data(), TextSlots, count);
}

std::vector<OverlayRecord> OverlaySlots::VisiblePictures(int count) const {
    return visible(Ima.data(), PictureSlots, count);
}

}  // namespace qn
