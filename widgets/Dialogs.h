#pragma once
// The modal dialogs the window asks the user with. Tests substitute their own.

#include <QColor>
#include <QString>
#include <QStringList>

class QPrinter;
class QWidget;

namespace qn {

enum class SaveChangesAnswer { Yes, No, Cancel };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A message box titled "提示".
    virtual void Message(QWidget* parent, const QString& text) = 0;
    // The same with the critical icon (a refused input).
    virtual void Critical(QWidget* parent, const QString& text) { Message(parent, text); }
    // The colour dialog preset with colour; false when cancelled (colour unchanged).
    virtual bool ChooseColour(QWidget* parent, QColor& colour) = 0;
    // An input box titled "提示"; false when cancelled.
    virtual bool InputBox(QWidget* parent, const QString& prompt, const QString& defaultText,
                          QString& answer) = 0;
    // File dialogs with a title and a filter ("位图(*.bmp)"); empty when cancelled.
    virtual QString OpenFileName(QWidget* parent, const QString& title, const QString& filter) = 0;
    virtual QString SaveFileName(QWidget* parent, const QString& title, const QString& filter) = 0;
    // A question titled "提示" with Yes and No and the stop icon; true for Yes.
    virtual bool YesNo(QWidget* parent, const QString& text) = 0;
    // "是否保存对当前乐谱的修改？" with Yes, No and Cancel.
    virtual SaveChangesAnswer AskSaveChanges(QWidget* parent) = 0;
    // The system beep: a successful save's only confirmation.
    virtual void Beep() = 0;
    // A save dialog offering several file types ("PNG (*.png)" ...); the chosen
    // type comes back in selectedFilter. Empty when cancelled.
    virtual QString ExportFileName(QWidget* parent, const QString& title, const QStringList& filters,
                                   QString& selectedFilter) = 0;
    // The print dialog; false when cancelled.
    virtual bool ChoosePrinter(QWidget* parent, QPrinter& printer) = 0;
    // Shows a folder in the desktop's file browser.
    virtual void OpenFolder(const QString& folder) = 0;
    // The program's "关于" box: rich text (version, libraries and licences).
    virtual void About(QWidget* parent, const QString& title, const QString& text) = 0;
};

class StandardDialogs final : public Dialogs {
public:
    void Message(QWidget* parent, const QString& text) override;
    void Critical(QWidget* parent, const QString& text) override;
    bool ChooseColour(QWidget* parent, QColor& colour) override;
    bool InputBox(QWidget* parent, const QString& prompt, const QString& defaultText,
                  QString& answer) override;
    QString OpenFileName(QWidget* parent, const QString& title, const QString& filter) override;
    QString SaveFileName(QWidget* parent, const QString& title, const QString& filter) override;
    bool YesNo(QWidget* parent, const QString& text) override;
    SaveChangesAnswer AskSaveChanges(QWidget* parent) override;
    void Beep() override;
    QString ExportFileName(QWidget* parent, const QString& title, const QStringList& filters,
                           QString& selectedFilter) override;
    bool ChoosePrinter(QWidget* parent, QPrinter& printer) override;
    void OpenFolder(const QString& folder) override;
    void About(QWidget* parent, const QString& title, const QString& text) override;
};

}  // namespace qn
