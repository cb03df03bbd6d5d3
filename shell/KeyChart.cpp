#include "KeyChart.h"

#include <QHBoxLayout>
#include <QPrinter>
#include <QPushButton>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>
#include <set>

#include "Atlas.h"
#include "Dialogs.h"
#include "KeyTable.h"

namespace qn {

namespace {

bool HasGlyph(Integer code) { return code > 0 && code < 300; }

QString GlyphCell(Integer code) {
    return HasGlyph(code) ? QStringLiteral("<img src=\"glyph:%1\" width=\"12\" height=\"40\">").arg(code)
                          : QString();
}

QImage GlyphPicture(Integer code) {
    if (code < 100) return Picmode().copy(NoteCellRect(code, 0));
    return Picmode2().copy(OrnamentCellRect(code, 0, 40));
}

}  // namespace

QString KeyChartHtml() {
    QString html = QStringLiteral(
        "<html><head><meta charset=\"utf-8\"></head><body>"
        "<h1>键盘速查</h1>"
        "<p>在乐谱页上按键即可写入。Shift、Ctrl 不改变按键的作用（方向键除外）；"
        "Ctrl 加字母是程序的命令（见 ≡ 菜单）。</p>");
    const std::vector<KeyChartRow> rows = KeyChartRows();
    bool open = false;
    for (size_t i = 0; i < rows.size(); ++i) {
        const KeyChartRow& row = rows[i];
        if (i == 0 || rows[i - 1].group != row.group) {
            if (open) html += QStringLiteral("</table>");
            html += QStringLiteral("<h2>%1</h2><table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">")
                        .arg(KeyGroupName(row.group).toHtmlEscaped());
            open = true;
        }
        QStringList keys;
        for (Integer k : row.keys) keys << KeyName(k).toHtmlEscaped();
        const KeyEntry& e = *row.entry;
        const bool writes = e.command == KeyCommand::None;
        QString what = QString::fromUtf16(e.what).toHtmlEscaped();
        if (writes && e.halfSymbol != e.symbol) what += QStringLiteral("（半字符模式写半宽）");
        html += QStringLiteral("<tr><td><b>%1</b></td><td>%2</td><td>%3</td></tr>")
                    .arg(keys.join(QStringLiteral("&nbsp;&nbsp;")), writes ? GlyphCell(e.symbol) : QString(), what);
    }
    if (open) html += QStringLiteral("</table>");
    html += QStringLiteral("</body></html>");
    return html;
}

void FillKeyChart(QTextDocument& doc) {
    std::set<Integer> codes;
    for (const KeyEntry& e : PageKeys())
        if (e.command == KeyCommand::None && HasGlyph(e.symbol)) codes.insert(e.symbol);
    for (Integer code : codes)
        doc.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("glyph:%1").arg(code)),
                        GlyphPicture(code));
    doc.setHtml(KeyChartHtml());
}

KeyChart::KeyChart(Dialogs& dialogs, QWidget* parent) : QDialog(parent), dialogs_(dialogs) {
    setObjectName(QStringLiteral("KeyChart"));
    setWindowTitle(QStringLiteral("键盘速查"));
    setModal(false);
    view_ = new QTextBrowser(this);
    FillKeyChart(*view_->document());
    auto* print = new QPushButton(QStringLiteral("打印"), this);
    print->setObjectName(QStringLiteral("KeyChartPrint"));
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    connect(print, &QPushButton::clicked, this, [this] { Print(); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(print);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_);
    layout->addLayout(buttons);
    resize(560, 720);
}

QTextDocument* KeyChart::document() const { return view_->document(); }

void KeyChart::ScrollToTop() {
    view_->moveCursor(QTextCursor::Start);
    view_->ensureCursorVisible();
}

bool KeyChart::Print() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(QStringLiteral("键盘速查"));
    if (!dialogs_.ChoosePrinter(this, printer)) return false;
    // A document of its own: the printer lays it out on its pages.
    QTextDocument doc;
    FillKeyChart(doc);
    doc.print(&printer);
    return printer.printerState() != QPrinter::Error;
}

}  // namespace qn
