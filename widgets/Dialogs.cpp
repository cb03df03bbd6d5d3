#include "Dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QPrintDialog>
#include <QPrinter>
#include <QUrl>
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

QString StandardDialogs::ExportFileName(QWidget* parent, const QString& title, const QStringList& filters,
                                        QString& selectedFilter) {
    QFileDialog d(parent, title);
    d.setOption(QFileDialog::DontUseNativeDialog);
    d.setAcceptMode(QFileDialog::AcceptSave);
    d.setFileMode(QFileDialog::AnyFile);
    d.setNameFilters(filters);
    if (!selectedFilter.isEmpty()) d.selectNameFilter(selectedFilter);
    // The chosen type gives a name without an extension its own.
    auto suffixOf = [](const QString& filter) {
        const int star = filter.indexOf(QLatin1String("*."));
        return star < 0 ? QString() : filter.mid(star + 2).section(QLatin1Char(')'), 0, 0).section(u' ', 0, 0);
    };
    d.setDefaultSuffix(suffixOf(d.selectedNameFilter()));
    QObject::connect(&d, &QFileDialog::filterSelected, &d,
                     [&d, suffixOf](const QString& f) { d.setDefaultSuffix(suffixOf(f)); });
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return QString();
    selectedFilter = d.selectedNameFilter();
    return d.selectedFiles().first();
}

bool StandardDialogs::ChoosePrinter(QWidget* parent, QPrinter& printer) {
    QPrintDialog d(&printer, parent);
    return d.exec() == QDialog::Accepted;
}

void StandardDialogs::OpenFolder(const QString& folder) { QDesktopServices::openUrl(QUrl::fromLocalFile(folder)); }

void StandardDialogs::About(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::about(parent, title, text);
}

}  // namespace qn
