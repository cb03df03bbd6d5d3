#pragma once
// The key chart ("键盘速查"): every key of the page with the symbol it writes or
// the command it runs, grouped. Made from the page's key table (input/KeyTable),
// never from a copy of it, so it shows exactly the keys the page uses.

#include <QDialog>
#include <QString>

class QTextBrowser;
class QTextDocument;

namespace qn {

class Dialogs;

// The chart as HTML; a written symbol's picture is the image "glyph:<code>".
QString KeyChartHtml();
// The chart as a document, with the glyph pictures from the atlases.
void FillKeyChart(QTextDocument& doc);

class KeyChart : public QDialog {
    Q_OBJECT
public:
    KeyChart(Dialogs& dialogs, QWidget* parent);
    QTextDocument* document() const;
    void ScrollToTop();
    // Asks for a printer and prints the chart; false when cancelled or failed.
    bool Print();

private:
    Dialogs& dialogs_;
    QTextBrowser* view_;
};

}  // namespace qn
