#pragma once
// Dialogs that answer from prepared values and record what was asked.

#include <QPrinter>
#include <QStringList>
#include <deque>
#include <optional>

#include "Dialogs.h"

namespace qn {

class FakeDialogs : public Dialogs {
public:
    QStringList messages;
    std::optional<QColor> colourAnswer;  // none: the dialog is cancelled
    QColor offered;
    // Answers in the order they are asked; an empty queue cancels.
    std::deque<std::optional<QString>> inputAnswers;
    std::deque<QString> fileAnswers;  // empty string: cancelled
    std::deque<bool> yesNoAnswers;
    std::deque<SaveChangesAnswer> saveChangesAnswers;
    QStringList asked;  // prompts, dialog titles and questions, in order
    int beeps = 0;

    void Message(QWidget*, const QString& text) override { messages << text; }
    bool ChooseColour(QWidget*, QColor& colour) override {
        offered = colour;
        if (!colourAnswer) return false;
        colour = *colourAnswer;
        return true;
    }
    bool InputBox(QWidget*, const QString& prompt, const QString& defaultText, QString& answer) override {
        asked << prompt + " [" + defaultText + "]";
        if (inputAnswers.empty()) return false;
        const std::optional<QString> a = inputAnswers.front();
        inputAnswers.pop_front();
        if (!a) return false;
        answer = *a;
        return true;
    }
    QString OpenFileName(QWidget*, const QString& title, const QString& filter) override {
        return file(title, filter);
    }
    QString SaveFileName(QWidget*, const QString& title, const QString& filter) override {
        return file(title, filter);
    }
    bool YesNo(QWidget*, const QString& text) override {
        asked << text;
        if (yesNoAnswers.empty()) return false;
        const bool a = yesNoAnswers.front();
        yesNoAnswers.pop_front();
        return a;
    }
    SaveChangesAnswer AskSaveChanges(QWidget*) override {
        asked << QStringLiteral("是否保存对当前乐谱的修改？");
        if (saveChangesAnswers.empty()) return SaveChangesAnswer::Cancel;
        const SaveChangesAnswer a = saveChangesAnswers.front();
        saveChangesAnswers.pop_front();
        return a;
    }
    void Beep() override { ++beeps; }
    // Ctrl+E: the answer's file and type.
    std::deque<std::pair<QString, QString>> exportAnswers;
    QString printToPdf;  // empty: the print dialog is cancelled
    QStringList openedFolders;
    QString ExportFileName(QWidget*, const QString& title, const QStringList& filters,
                           QString& selectedFilter) override {
        asked << title + " " + filters.join(";;");
        if (exportAnswers.empty()) return QString();
        const auto a = exportAnswers.front();
        exportAnswers.pop_front();
        selectedFilter = a.second;
        return a.first;
    }
    int printersAsked = 0;
    QStringList abouts;  // the "关于" boxes' texts
    bool ChoosePrinter(QWidget*, QPrinter& printer) override {
        ++printersAsked;
        if (printToPdf.isEmpty()) return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printToPdf);
        return true;
    }
    void OpenFolder(const QString& folder) override { openedFolders << folder; }
    void About(QWidget*, const QString& title, const QString& text) override { abouts << title + "\n" + text; }

private:
    QString file(const QString& title, const QString& filter) {
        asked << title + " " + filter;
        if (fileAnswers.empty()) return QString();
        const QString a = fileAnswers.front();
        fileAnswers.pop_front();
        return a;
    }
};

}  // namespace qn
