// The page drawn anew from its music: PDF and SVG as vectors and real text,
// checked with poppler (pdfimages, pdftotext, pdftoppm) and Qt's SVG renderer;
// the "as shown" style as a lossless picture of the very pixels.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <cmath>
#include <map>
#include <set>

#include "BatchExport.h"
#include "MarksWindow.h"
#include "PageReader.h"
#include "VectorPage.h"

using namespace qn;
using qn::test::MarksWindow;
using qn::test::typeScript;

namespace {

bool havePoppler() {
    return !QStandardPaths::findExecutable(QStringLiteral("pdfimages")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty();
}

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return QStringLiteral("<failed: %1>").arg(program);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The lines of `pdfimages -list` after its two heading lines.
QStringList imagesOf(const QString& pdf) {
    QStringList lines = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}).split(QLatin1Char('\n'));
    QStringList out;
    for (int i = 2; i < lines.size(); ++i)
        if (!lines[i].trimmed().isEmpty()) out << lines[i].simplified();
    return out;
}

// A page with every kind of symbol the keys write, chords, lyrics, arcs and a
// second song's head, typed through the program's own paths.
struct SymbolPage {
    MarksWindow w;
    SymbolPage() {
        w.pitch = 90;  // room for chords and lyrics under a line
        typeScript(w, QStringLiteral("/0 1 Q F2 2 /1 3 4 /2 5 6 /3 7 1 7 1 /1 5 6 | Enter "
                                     "/0 # 4 b 7 n 7 5 . | [ 1 - 2 - ] r 0 3 ' 9 5 0 | Enter "
                                     "Z X C V B \\"));
        for (const Integer code : {0, 29, 106, 107, 108}) w.ed.StampSymbol(code, w.ed.st.NoteValue);
        typeScript(w, QStringLiteral("S # 4 b 6 n 6 S Enter 1 2 3 4 5 6 5 -"));
        std::vector<score::PagePosition> cells;
        for (const score::Measure& m : score::ReadPage(w.ed.page, w.pitch).measures)
            for (const score::Event& e : m.events)
                if (e.position.line == 3 && e.kind == score::EventKind::Note && !e.tiedFromPrevious)
                    cells.push_back(e.position);
        // An arc over the first three notes of the line.
        w.ed.caret.Left = Single(cells.at(0).x);
        w.ed.caret.Top = Single(cells.at(0).top);
        w.press(76);
        w.ed.caret.Left = Single(cells.at(2).x);
        w.press(76);
        w.toLine(3);
        w.chord(49);
        w.chord(53, {103});
        w.chord(50, {104});  // 2 MAX
        w.notes();
        w.lyric(96 + 3 * 90 + 58, QStringLiteral("  一 闪 一 闪 亮 晶"));
        w.toLine(5);
        w.head(QStringLiteral("小星星"), QStringLiteral("G"), QStringLiteral("3"), QStringLiteral("4"),
               QStringLiteral("每分钟96拍"));
        w.toLine(7);
        typeScript(w, QStringLiteral("5 6 5 | 3 - 1"));
    }
    PageComposition composition() const {
        ScoreDocument doc = StartUpDocument();
        doc.title = QStringLiteral("矢量页");
        doc.lineSpacing = w.pitch;
        QImage page = w.ed.page.storage().copy(0, 0, w.ed.page.width(), w.ed.page.height());
        return ComposeDocument(std::move(page), doc, ScoreDocument::Held{}, ExportContext{});
    }
};

// Ink centre (darkness-weighted) of an image's rows [top, top + n) and
// columns [left, left + w), offset by (dx, dy) into the image.
QPointF inkCentre(const QImage& img, QRectF pageBox, double scale, QPointF offset, bool* any) {
    double sx = 0, sy = 0, sw = 0;
    const QRect box = QRectF(pageBox.left() * scale + offset.x(), pageBox.top() * scale + offset.y(),
                             pageBox.width() * scale, pageBox.height() * scale)
                          .toAlignedRect()
                          .intersected(img.rect());
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x) {
            const double dark = 255 - qGray(img.pixel(x, y));
            sx += dark * (x + 0.5);
            sy += dark * (y + 0.5);
            sw += dark;
        }
    *any = sw > 0;
    if (sw == 0) return {};
    return QPointF((sx / sw - offset.x()) / scale, (sy / sw - offset.y()) / scale);
}

// Every recognised cell's ink centre in `drawn` (page pixels times `scale`,
// shifted by `offset`) against the page's own, on the rows a cell's symbol
// stands on (3..24: beams, chords and arcs lie outside them). Returns the
// codes seen, and fails for every symbol further than 1.5 pixels away.
std::set<int> expectCentresMatch(const QImage& page, int pitch, const QImage& drawn, double scale, QPointF offset) {
    std::set<int> seen;
    const score::PageReading reading = score::ReadSymbols(page, page.width(), page.height(), pitch);
    for (const score::PageSymbol& s : reading.symbols) {
        const QRectF box(s.position.x, s.position.top + 3, s.position.width, 22);
        bool inPage = false, inDrawn = false;
        const QPointF want = inkCentre(page, box, 1, {}, &inPage);
        const QPointF got = inkCentre(drawn, box, scale, offset, &inDrawn);
        if (!inPage) continue;
        seen.insert(s.code);
        EXPECT_TRUE(inDrawn) << "code " << s.code << " at " << s.position.x << "," << s.position.top << " not drawn";
        if (!inDrawn) continue;
        const double d = std::hypot(want.x() - got.x(), want.y() - got.y());
        EXPECT_LE(d, 1.5) << "code " << s.code << " at x " << s.position.x << " line " << s.position.line << ": page ("
                          << want.x() << "," << want.y() << ") drawn (" << got.x() << "," << got.y() << ")";
    }
    return seen;
}

// The symbol kinds the page must hold, so the centre check covers each one.
const std::map<int, const char*> kKinds = {
    {7, "plain digit"},   {0, "two dots below"}, {14, "one dot above"},
    {35, "rest"},         {41, "dash"},          {101, "bar line"},
    {102, "repeat start"}, {103, "repeat end"},  {104, "final bar"},
    {105, "double bar"},  {106, "natural"},      {107, "sharp"},
    {108, "flat"},        {113, "open bracket"}, {114, "close bracket"},
    {115, "dot"},         {36, "冬"},            {37, "X"},
    {38, "仓"},           {39, "次"},            {40, "板"},
    {201, "half natural"}, {202, "half sharp"},  {203, "half flat"},
    {29, "two dots above"},
};

}  // namespace

TEST(VectorPage, EveryRecognisedSymbolIsDrawnAtItsPlaceWithNoResidue) {
    SymbolPage page;
    const PageComposition c = page.composition();
    const VectorPage v = LayOutVectorPage(c.page, c.facts.linePitch);
    EXPECT_TRUE(v.residual.isNull()) << "unexplained ink at " << v.residualAt.x() << "," << v.residualAt.y() << " size "
                                     << v.residual.width() << "x" << v.residual.height();
    EXPECT_FALSE(v.texts.empty());
    EXPECT_FALSE(v.arcs.empty());

    QImage drawn(c.page.size(), QImage::Format_RGB32);
    drawn.fill(Qt::white);
    QPainter p(&drawn);
    DrawVectorComposition(p, c, v);
    p.end();
    const std::set<int> seen = expectCentresMatch(c.page, c.facts.linePitch, drawn, 1, {});
    for (const auto& [code, name] : kKinds) EXPECT_TRUE(seen.count(code)) << "the page holds no " << name;
}

TEST(VectorPage, APageThatCannotBeReadKeepsAllItsInk) {
    SymbolPage page;
    PageComposition c = page.composition();
    c.facts.linePitch = 0;  // no line bands: nothing is recognised
    const VectorPage v = LayOutVectorPage(c.page, c.facts.linePitch);
    ASSERT_FALSE(v.residual.isNull());
    QImage drawn(c.page.size(), QImage::Format_RGB32);
    drawn.fill(Qt::white);
    QPainter p(&drawn);
    p.drawImage(v.residualAt, v.residual);
    p.end();
    EXPECT_TRUE(drawn == c.page.convertToFormat(QImage::Format_RGB32));
}

TEST(VectorPage, PdfHoldsNoPictureTheTextsAndSymbolsAtTheirPlaces) {
    if (!havePoppler()) GTEST_SKIP() << "poppler-utils (pdfimages, pdftotext, pdftoppm) not installed";
    SymbolPage page;
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
    ASSERT_EQ(WriteComposition(page.composition(), pdf, ExportFormat::Pdf, 100), QString());
    EXPECT_EQ(imagesOf(pdf), QStringList());

    const QString text = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    for (const char* want : {"矢量页", "小星星", "一 闪 一 闪 亮 晶", "每分钟96拍", "1=G", "5", "7", "MAX"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(want))) << want << " not in the PDF's text:\n" << text.toStdString();

    // Rasterised so that one page pixel is one raster pixel.
    const PageComposition c = page.composition();
    QPdfWriter layoutOf(dir.filePath(QStringLiteral("unused.pdf")));
    layoutOf.setPageSize(QPageSize(QPageSize::A4));
    layoutOf.setResolution(300);
    layoutOf.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    const QRect paint = layoutOf.pageLayout().paintRectPixels(300);
    const double dpi = 300.0 * c.page.width() / paint.width();
    run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi, 'f', 4), QStringLiteral("-gray"),
                                     QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf,
                                     dir.filePath(QStringLiteral("raster"))});
    const QImage raster(dir.filePath(QStringLiteral("raster.png")));
    ASSERT_FALSE(raster.isNull());
    const QPointF offset(paint.x() * dpi / 300.0, paint.y() * dpi / 300.0);
    const std::set<int> seen = expectCentresMatch(c.page, c.facts.linePitch, raster, 1, offset);
    EXPECT_GE(seen.size(), kKinds.size());
}

TEST(VectorPage, EraserScribbleIsKeptAsOneLosslessOneBitPicture) {
    if (!havePoppler()) GTEST_SKIP() << "poppler-utils not installed";
    SymbolPage page;
    PageComposition c = page.composition();
    // Ink no symbol explains: the remains of an eraser stroke between two lines.
    QPainter p(&c.page);
    p.setPen(Qt::black);
    p.drawLine(450, 240, 490, 246);
    p.end();
    const VectorPage v = LayOutVectorPage(c.page, c.facts.linePitch);
    ASSERT_FALSE(v.residual.isNull());
    EXPECT_EQ(v.residual.depth(), 1);
    EXPECT_EQ(QRect(v.residualAt, v.residual.size()), QRect(QPoint(450, 240), QPoint(490, 246)));
    EXPECT_TRUE(v.residual.convertToFormat(QImage::Format_RGB32) == c.page.copy(450, 240, 41, 7));

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("scribble.pdf"));
    ASSERT_EQ(WriteComposition(c, pdf, ExportFormat::Pdf, 100), QString());
    const QStringList images = imagesOf(pdf);
    ASSERT_EQ(images.size(), 1) << images.join(QLatin1Char('\n')).toStdString();
    // page num type width height color comp bpc enc ...
    const QStringList f = images[0].split(QLatin1Char(' '));
    ASSERT_GE(f.size(), 9);
    EXPECT_EQ(f[3], QStringLiteral("41"));
    EXPECT_EQ(f[4], QStringLiteral("7"));
    EXPECT_EQ(f[7], QStringLiteral("1")) << "bits per component";
    EXPECT_EQ(f[8], QStringLiteral("image")) << "encoding (image: Flate, lossless)";
}

TEST(VectorPage, AsShownPdfHoldsThePagesExactPixels) {
    if (!havePoppler()) GTEST_SKIP() << "poppler-utils not installed";
    SymbolPage page;
    PageComposition c = page.composition();
    // A coloured chord and grey text would need more than one bit; this page has the chord colour.
    const QImage shown = RenderComposition(c);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("shown.pdf"));
    ASSERT_EQ(WriteComposition(c, pdf, ExportFormat::Pdf, 100, nullptr, PrintStyle::AsShown), QString());
    const QStringList images = imagesOf(pdf);
    ASSERT_EQ(images.size(), 1) << images.join(QLatin1Char('\n')).toStdString();
    EXPECT_FALSE(images[0].contains(QLatin1String("jpeg")));
    run(QStringLiteral("pdfimages"), {QStringLiteral("-png"), pdf, dir.filePath(QStringLiteral("img"))});
    const QImage extracted = QImage(dir.filePath(QStringLiteral("img-000.png"))).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(extracted.size(), shown.size());
    EXPECT_TRUE(extracted == shown.convertToFormat(QImage::Format_RGB32));

    // A black and white page goes in as one bit a pixel.
    PageComposition bw;
    bw.page = QImage(100, 140, QImage::Format_RGB32);
    bw.page.fill(Qt::white);
    bw.page.setPixel(10, 10, 0xFF000000u);
    const QImage exact = ExactPicture(RenderComposition(bw));
    EXPECT_EQ(exact.depth(), 1);
    EXPECT_TRUE(exact.convertToFormat(QImage::Format_RGB32) == bw.page);
}

TEST(VectorPage, SvgDrawsTheSameSymbolsWithRealText) {
    SymbolPage page;
    const PageComposition c = page.composition();
    QBuffer svg;
    svg.open(QIODevice::WriteOnly);
    ASSERT_EQ(WriteSvg(c, svg), QString());
    const QString xml = QString::fromUtf8(svg.data());
    EXPECT_TRUE(xml.contains(QLatin1String("<text")));
    EXPECT_TRUE(xml.contains(QStringLiteral("矢量页")));
    EXPECT_FALSE(xml.contains(QLatin1String("<image"))) << "a page of recognised symbols needs no picture";

    QSvgRenderer renderer(svg.data());
    ASSERT_TRUE(renderer.isValid());
    QImage drawn(c.page.size(), QImage::Format_RGB32);
    drawn.fill(Qt::white);
    QPainter p(&drawn);
    renderer.render(&p, QRectF(QPointF(0, 0), QSizeF(c.page.size())));
    p.end();
    expectCentresMatch(c.page, c.facts.linePitch, drawn, 1, {});
}

// The lossless pictures take the smallest exact form the page allows, in the
// PNG export and in the "as shown" PDF alike.
TEST(VectorPage, LosslessPicturesAreOneBitGreyOrColourAsThePageNeeds) {
    if (!havePoppler()) GTEST_SKIP() << "poppler-utils not installed";
    struct Case {
        const char* name;
        QRgb ink;
        int pngDepth;
        const char* pdfColour;  // pdfimages: color comp bpc
    } cases[] = {
        {"black and white", 0xFF000000u, 1, "gray 1 1"},
        // Qt's PDF writer keeps no 8-bit grey picture: grey goes in as RGB, still Flate.
        {"grey", 0xFF808080u, 8, "rgb 3 8"},
        {"colour", 0xFFFF0000u, 32, "rgb 3 8"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        PageComposition c;
        c.page = QImage(668, 945, QImage::Format_RGB32);
        c.page.fill(Qt::white);
        for (int x = 100; x < 200; ++x) c.page.setPixel(x, 150, 0xFF000000u);
        c.page.setPixel(300, 300, k.ink);
        QTemporaryDir dir;
        const QString png = dir.filePath(QStringLiteral("p.png")), pdf = dir.filePath(QStringLiteral("p.pdf"));
        ASSERT_EQ(WriteComposition(c, png, ExportFormat::Png, 100), QString());
        const QImage read(png);
        EXPECT_EQ(read.depth(), k.pngDepth);
        EXPECT_TRUE(read.convertToFormat(QImage::Format_RGB32) == c.page);
        ASSERT_EQ(WriteComposition(c, pdf, ExportFormat::Pdf, 100, nullptr, PrintStyle::AsShown), QString());
        const QStringList images = imagesOf(pdf);
        ASSERT_EQ(images.size(), 1);
        const QStringList f = images[0].split(QLatin1Char(' '));
        ASSERT_GE(f.size(), 9);
        EXPECT_EQ(QStringList(f.mid(5, 3)).join(QLatin1Char(' ')), QString::fromUtf8(k.pdfColour));
        EXPECT_EQ(f[8], QStringLiteral("image")) << "Flate, not JPEG";
    }
}
