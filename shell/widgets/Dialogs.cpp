#include "Dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace qn {

namespace {
const QString kTitle = QStringLiteral("提示");

// Qt's own dialogs look and behave the same on every desktop (and can be
// driven in tests); the replace question is the program's, not the dialog's.
QString fileDialog(QWidget* parent, const QString& title, const QString& filter, bool save) {
    QFileDialog d(parent, title, QString(), filter);
    d.setOption(QFileDialog::DontUseNativeDialog);
    d.setOption(QFileDialog::DontConfirmOverwrite);
    d.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    d.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (save) d.setDefaultSuffix(QStringLiteral("bmp"));
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return QString();
    return d.selectedFiles().first();
}
}  // namespace

void StandardDialogs::Message(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, kTitle, text);
}

void StandardDialogs::Critical(QWidget* parent, const QString& text) {
    QMessageBox::critical(parent, kTitle, text);
}

bool StandardDialogs::ChooseColour(QWidget* parent, QColor& colour) {
    const QColor chosen = QColorDialog::getColor(colour, parent);
    if (!chosen.isValid()) return false;
    colour = chosen;
    return true;
}

bool StandardDialogs::InputBox(QWidget* parent, const QString& prompt, const QString& defaultText,
                               QString& answer) {
    bool ok = false;
    const QString text = QInputDialog::getText(parent, kTitle, prompt, QLineEdit::Normal, defaultText, &ok);
    if (ok) answer = text;
    return ok;
}

QString StandardDialogs::OpenFileName(QWidget* parent, const QString& title, const QString& filter) {
    return fileDialog(parent, title, filter, false);
}

QString StandardDialogs::SaveFileName(QWidget* parent, const QString& title, const QString& filter) {
    return fileDialog(parent, title, filter, true);
}

bool StandardDialogs::YesNo(QWidget* parent, const QString& text) {
    return QMessageBox::critical(parent, kTitle, text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

SaveChangesAnswer StandardDialogs::AskSaveChanges(QWidget* parent) {
    const auto b = QMessageBox::question(parent, kTitle, QStringLiteral("是否保存对当前乐谱的修改？"),
                                         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    return b == QMessageBox::Yes ? SaveChangesAnswer::Yes
         : b == QMessageBox::No  ? SaveChangesAnswer::No
                                 : SaveChangesAnswer::Cancel;
}

void StandardDialogs::Beep() { QApplication::beep(); }

}  // namespace qn
