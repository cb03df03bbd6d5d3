// The key chart is made from the page's key table: every key appears, in its
// group, with the picture of the symbol it writes; the chart prints.
#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QUrl>

#include "Atlas.h"
#include "FakeDialogs.h"
#include "KeyChart.h"
#include "KeyTable.h"

namespace qn {
namespace {

TEST(KeyChart, EveryKeyOfTheKeyMapAppearsInItsGroupAndNoOther) {
    QSet<QString> expected;
    for (const KeyEntry& e : PageKeys())
        expected << KeyGroupName(e.group) + " | " + KeyName(e.keyCode).toHtmlEscaped();

    // The chart's rows: the group heading, then the keys of each row in bold.
    const QString html = KeyChartHtml();
    QSet<QString> shown;
    int rows = 0;
    QString group;
    const QRegularExpression part(QStringLiteral("<h2>(.*?)</h2>|<tr><td><b>(.*?)</b></td>"));
    for (auto it = part.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (!m.captured(1).isEmpty()) {
            group = m.captured(1);
            continue;
        }
        ++rows;
        for (const QString& key : m.captured(2).split(QStringLiteral("&nbsp;&nbsp;"))) {
            EXPECT_FALSE(shown.contains(group + " | " + key)) << key.toStdString() << " twice";
            shown << group + " | " + key;
        }
    }
    EXPECT_EQ(shown, expected);
    EXPECT_LT(rows, int(PageKeys().size())) << "keys of the same action share a row";
    for (const char* heading : {"音符", "八度", "节奏", "小节线与反复", "升降号与括号", "编辑", "模式"})
        EXPECT_TRUE(html.contains(QStringLiteral("<h2>%1</h2>").arg(QString::fromUtf8(heading)))) << heading;
}

TEST(KeyChart, WrittenSymbolsShowTheirGlyphFromTheAtlas) {
    QTextDocument doc;
    FillKeyChart(doc);
    for (const KeyEntry& e : PageKeys()) {
        if (e.command != KeyCommand::None || e.symbol >= 300) continue;
        const QImage glyph =
            doc.resource(QTextDocument::ImageResource, QUrl(QStringLiteral("glyph:%1").arg(e.symbol))).value<QImage>();
        SCOPED_TRACE(KeyName(e.keyCode).toStdString());
        ASSERT_EQ(glyph.size(), QSize(CellWidth(e.symbol), 40));
        bool ink = false;
        for (int y = 0; y < glyph.height() && !ink; ++y)
            for (int x = 0; x < glyph.width() && !ink; ++x) ink = (glyph.pixel(x, y) & 0xFFFFFF) == 0;
        // Space writes a blank cell; every other symbol has ink.
        EXPECT_EQ(ink, e.symbol != 100);
    }
}

TEST(KeyChart, PrintsThroughTheDialogsAndCancelPrintsNothing) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    FakeDialogs dialogs;
    KeyChart chart(dialogs, nullptr);
    EXPECT_FALSE(chart.Print());
    EXPECT_EQ(dialogs.printersAsked, 1);

    dialogs.printToPdf = dir.filePath("chart.pdf");
    EXPECT_TRUE(chart.Print());
    QFile pdf(dialogs.printToPdf);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    // The chart needs more than one A4 page.
    const qsizetype pages = QString::fromLatin1(bytes).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]")));
    EXPECT_GE(pages, 2);
}

}  // namespace
}  // namespace qn
