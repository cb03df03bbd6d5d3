#include "InsertPanels.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace qn {

namespace {
QPushButton* button(QWidget* parent, const QString& caption, int x, int y, int w, const char* name) {
    auto* b = new QPushButton(caption, parent);
    b->setGeometry(x, y, w, 20);
    b->setObjectName(QLatin1String(name));
    return b;
}

QGroupBox* frame(QWidget* page, const QString& caption, int w, int h, const char* name) {
    auto* f = new QGroupBox(caption, page);
    f->setObjectName(QLatin1String(name));
    f->setGeometry(0, 0, w, h);
    f->setAutoFillBackground(true);
    f->hide();
    return f;
}
}  // namespace

TextInsertPanel CreateTextInsertPanel(QWidget* page) {
    TextInsertPanel p;
    p.Frame2 = frame(page, QStringLiteral("插入文字编辑"), 265, 401, "Frame2");
    p.List1 = new QListWidget(p.Frame2);
    p.List1->setObjectName(QStringLiteral("List1"));
    p.List1->setGeometry(8, 16, 249, 352);
    p.Command6 = button(p.Frame2, QStringLiteral("取消"), 80, 376, 73, "Command6");
    p.Command5 = button(p.Frame2, QStringLiteral("确定"), 176, 376, 73, "Command5");
    return p;
}

PictureInsertPanel CreatePictureInsertPanel(QWidget* page) {
    PictureInsertPanel p;
    p.Frame3 = frame(page, QStringLiteral("图片"), 217, 449, "Frame3");
    p.Image2 = new QLabel(p.Frame3);
    p.Image2->setObjectName(QStringLiteral("Image2"));
    p.Image2->move(16, 24);
    p.File1 = new QListWidget(p.Frame3);
    p.File1->setObjectName(QStringLiteral("File1"));
    p.File1->setGeometry(16, 104, 185, 306);
    p.Command9 = button(p.Frame3, QStringLiteral("取消"), 56, 424, 65, "Command9");
    p.Command8 = button(p.Frame3, QStringLiteral("确定"), 136, 424, 65, "Command8");
    return p;
}

QStringList PictureLibraryFiles(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral("*.bmp")}, QDir::Files,
                                  QDir::Name | QDir::IgnoreCase);
}

}  // namespace qn
