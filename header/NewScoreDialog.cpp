#include "NewScoreDialog.h"

#include <QFrame>
#include <QPushButton>
#include <QScrollBar>

#include "NewScoreHead.h"
#include "ClickLabel.h"
#include "SongFont.h"

namespace qn {

namespace {

ClickLabel* Label(QFrame* parent, const QString& text, int x, int y, int pixels, const QString& name,
                  Qt::Alignment alignment = Qt::AlignLeft) {
    auto* l = new ClickLabel(text, parent);
    l->setObjectName(name);
    l->setFont(SongFont(pixels));
    l->setAlignment(alignment | Qt::AlignVCenter);
    l->move(x, y);
    l->adjustSize();
    return l;
}

}  // namespace

NewScoreDialog BuildNewScoreDialog(QFrame* d) {
    NewScoreDialog n;
    const auto label2 = [d](const QString& text, int x, int y, int index,
                            Qt::Alignment alignment = Qt::AlignLeft) {
        return Label(d, text, x, y, kHeadPixels, QStringLiteral("Label2_%1").arg(index), alignment);
    };
    n.Label2_14 = label2(QStringLiteral("新加标题:"), 17, 16, 14, Qt::AlignRight);
    n.Label14 = Label(d, QStringLiteral("标题"), 24, 40, kHeadTitlePixels, QStringLiteral("Label14"));
    n.Label2_11 = label2(QStringLiteral("1="), 200, 48, 11);
    // Key and time signature get their texts from start-up's list choices.
    n.Label2_3 = label2(QString(), 216, 48, 3);
    n.Label2_13 = label2(QString(), 236, 40, 13);
    n.Label2_12 = label2(QString(), 236, 56, 12);
    n.Label2_10 = label2(QStringLiteral("Lumora 制谱"), 45, 72, 10, Qt::AlignRight);
    n.Label2_8 = label2(QStringLiteral("每分钟72拍"), 16, 96, 8);

    n.Line1_2 = new QFrame(d);
    n.Line1_2->setObjectName(QStringLiteral("Line1_2"));
    n.Line1_2->setGeometry(232, 56, 17, 1);
    n.Line1_2->setAutoFillBackground(true);
    QPalette black = n.Line1_2->palette();
    black.setColor(QPalette::Window, Qt::black);
    n.Line1_2->setPalette(black);
    n.Line1_2->setAttribute(Qt::WA_TransparentForMouseEvents);

    n.HScroll3 = new QScrollBar(Qt::Horizontal, d);
    n.HScroll3->setObjectName(QStringLiteral("HScroll3"));
    n.HScroll3->setGeometry(16, 120, 121, 16);
    n.HScroll3->setRange(30, 150);
    n.HScroll3->setSingleStep(1);
    n.HScroll3->setPageStep(10);
    n.HScroll3->setValue(72);
    n.HScroll3->setTracking(false);  // Change comes when the thumb is let go

    n.Command11 = new QPushButton(QStringLiteral("确定"), d);
    n.Command11->setObjectName(QStringLiteral("Command11"));
    n.Command11->setGeometry(248, 120, 73, 25);
    return n;
}

}  // namespace qn
