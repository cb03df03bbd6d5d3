#include "StaffPanel.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include "StaffInput.h"
#include "ClickLabel.h"
#include "SongFont.h"

namespace qn {

StaffMouseArea::StaffMouseArea(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Label10"));
    setMouseTracking(true);  // the preview follows the pointer with no button down
}

void StaffMouseArea::mouseMoveEvent(QMouseEvent* event) {
    emit moved(event->position().toPoint());
    event->accept();
}

void StaffMouseArea::mousePressEvent(QMouseEvent* event) {
    emit pressed(event->button(), event->modifiers(), event->position().toPoint());
    event->accept();
}

namespace {

template <class W>
W* Named(W* w, const QString& name) {
    w->setObjectName(name);
    return w;
}

QFrame* VerticalLine(QWidget* parent, int x, int y1, int y2, QColor colour) {
    auto* f = new QFrame(parent);
    f->setGeometry(x, y1, 1, y2 - y1 + 1);
    f->setAutoFillBackground(true);
    QPalette p = f->palette();
    p.setColor(QPalette::Window, colour);
    f->setPalette(p);
    f->setAttribute(Qt::WA_TransparentForMouseEvents);
    return f;
}

ClickLabel* Selector(QWidget* parent, int x, int y, const QString& name) {
    auto* l = Named(new ClickLabel(QStringLiteral("无"), parent), name);
    l->setFont(SongFont(12));
    l->setGeometry(x, y, 12, 12);
    return l;
}

}  // namespace

StaffPanel BuildStaffPanel(QWidget* window) {
    StaffPanel s;
    QFrame* p = s.Picture3 = Named(new QFrame(window), QStringLiteral("Picture3"));
    p->setGeometry(80, 0, staff::PanelWidth, staff::PanelHeight);
    p->setAutoFillBackground(true);
    p->hide();

    // Below the mouse area: the staves and the preview.
    const char* const staves[2] = {":/pictures/staff_treble.bmp", ":/pictures/staff_bass.bmp"};
    for (int i = 0; i < 2; ++i) {
        QLabel* image = s.Image1[size_t(i)] = Named(new QLabel(p), QStringLiteral("Image1_%1").arg(i));
        image->setPixmap(QPixmap(QString::fromLatin1(staves[i])));
        image->setGeometry(0, 0, 477, i == 0 ? 255 : 256);  // wider than the panel: clipped
        image->setVisible(i == 0);
    }
    s.Image3 = Named(new QLabel(p), QStringLiteral("Image3"));
    s.Image3->setAttribute(Qt::WA_TransparentForMouseEvents);
    s.Image3->resize(0, 0);

    const int zoneX[3] = {224, 176, 128};
    for (int i = 0; i < 3; ++i)
        s.Line5[size_t(i)] = Named(VerticalLine(p, zoneX[i], 0, 256, QColor(0xC0, 0xC0, 0xC0)),
                                   QStringLiteral("Line5_%1").arg(i));

    s.Label10 = new StaffMouseArea(p);
    s.Label10->setGeometry(0, 0, staff::PanelWidth, staff::PanelHeight);

    // Above it: what the user clicks besides the staff.
    s.Label12 = Selector(p, 272, 8, QStringLiteral("Label12"));
    s.Label12->Tag = QStringLiteral("0");
    s.Label13 = Selector(p, 272, 24, QStringLiteral("Label13"));
    s.Label9 = Named(new QLabel(QStringLiteral("4分音符|八分音符|16分音符|32分音符"), p),
                     QStringLiteral("Label9"));
    s.Label9->setFont(SongFont(12));
    s.Label9->setGeometry(80, 256, 204, 12);
    s.Label9->setAttribute(Qt::WA_TransparentForMouseEvents);
    s.Check7 = Named(new QCheckBox(QStringLiteral("划分时间"), p), QStringLiteral("Check7"));
    s.Check7->setGeometry(0, 256, 73, 17);
    s.Check7->setChecked(true);
    s.Command13 = Named(new QPushButton(QStringLiteral("X"), p), QStringLiteral("Command13"));
    s.Command13->setGeometry(0, 0, 17, 15);
    return s;
}

}  // namespace qn
