#include "PageComposer.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <cmath>

#include "HeaderText.h"
#include "LayoutMath.h"
#include "SongFont.h"

namespace qn {

namespace {

constexpr double kSideRatio = 1.4142135623731;

// The flags a label draws its plain text with.
int textFlags(Qt::Alignment alignment) {
    return int(alignment) | Qt::TextExpandTabs | Qt::TextForceLeftToRight;
}

void drawItem(QPainter& p, const ComposedItem& item) {
    switch (item.kind) {
    case ComposedItem::Label:
        DrawLabelText(p, item.rect, item.font, item.colour, item.alignment, item.text);
        break;
    case ComposedItem::Picture:
        p.drawImage(item.rect.topLeft(), item.image);
        break;
    case ComposedItem::Rule:
        p.fillRect(item.rect, Qt::black);
        break;
    }
}

ComposedItem label(const QRect& rect, const QFont& font, const QString& text) {
    ComposedItem i;
    i.kind = ComposedItem::Label;
    i.rect = rect;
    i.font = font;
    i.text = text;
    return i;
}

ComposedItem sizedLabel(int x, int y, const QFont& font, const QString& text) {
    return label(QRect(QPoint(x, y), LabelTextSize(font, text)), font, text);
}

QString listText(const QStringList& list, int index, const QString& fallback) {
    return index >= 0 && index < list.size() ? list[index] : fallback;
}

}  // namespace

QSize LabelTextSize(const QFont& font, const QString& text) {
    const QFontMetrics fm(font);
    return fm.boundingRect(QRect(0, 0, 2000, 2000), textFlags(Qt::AlignLeft | Qt::AlignTop), text).size();
}

void DrawLabelText(QPainter& p, const QRect& rect, const QFont& font, const QColor& colour,
                   Qt::Alignment alignment, const QString& text) {
    if (text.isEmpty()) return;
    p.save();
    p.setFont(font);
    p.setPen(colour);
    p.drawText(rect, textFlags(alignment), text);
    p.restore();
}

QImage RenderComposition(PageComposition c) {
    QImage out = std::move(c.page);
    if (out.format() != QImage::Format_RGB32) out = std::move(out).convertToFormat(QImage::Format_RGB32);
    QPainter p(&out);
    for (const ComposedItem& item : c.items) drawItem(p, item);
    p.end();
    return out;
}

int EffectiveExportScale(int percent) { return percent >= 50 && percent <= 200 ? percent : 100; }

QImage ScaleForExport(const QImage& composed, int percent) {
    const int r = EffectiveExportScale(percent);
    const int width = std::max(1, composed.width() * r / 100);
    const int height = std::max(1, int(std::lround(width * kSideRatio)));
    if (width == composed.width() && height == composed.height()) return composed;
    // The picture keeps the page's side ratio; rows below the page stay white.
    const int scaledHeight = int(std::lround(double(composed.height()) * width / composed.width()));
    const QImage scaled = composed.scaled(width, scaledHeight, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    QImage out(width, height, QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    p.drawImage(0, 0, scaled);
    return out;
}

bool ParsePrintStyle(const QString& text, PrintStyle& style) {
    const QString t = text.trimmed().toLower();
    if (t == QLatin1String("vector") || t == QStringLiteral("矢量")) style = PrintStyle::Vector;
    else if (t == QLatin1String("as-shown") || t == QStringLiteral("原样")) style = PrintStyle::AsShown;
    else return false;
    return true;
}

QString PrintStyleKey(PrintStyle style) {
    return style == PrintStyle::AsShown ? QStringLiteral("as-shown") : QStringLiteral("vector");
}

void DrawComposedItems(QPainter& p, const PageComposition& c) {
    for (const ComposedItem& item : c.items) drawItem(p, item);
}

ScoreDocument StartUpDocument() {
    ScoreDocument d;
    d.title = QStringLiteral("标题");
    d.tempo = QStringLiteral("每分钟72拍");
    return d;
}

PageComposition ComposeDocument(QImage bitmap, const ScoreDocument& doc,
                                const ScoreDocument::Held& held, const ExportContext& ctx) {
    // The layout sliders refuse values out of their range: the start-up layout stays.
    const auto inRange = [](int v, int lo, int hi, int fallback) { return v >= lo && v <= hi ? v : fallback; };
    const int linePitch = inRange(doc.lineSpacing, 50, 250, 60);
    const PageLayout layout = ComputePageLayout(inRange(doc.barWidth, 60, 240, 80),
                                                inRange(doc.barsPerLine, 4, 16, 8), linePitch);
    const int W = layout.pageWidth, H = layout.pageHeight;
    const QString keyText = listText(KeyList(), doc.keyIndex, ctx.keyText);
    const QString numeratorText = listText(NumeratorList(), doc.numeratorIndex, ctx.numeratorText);
    const QString denominatorText = listText(DenominatorList(), doc.denominatorIndex, ctx.denominatorText);

    PageComposition c;
    if (bitmap.size() == QSize(W, H) && bitmap.format() == QImage::Format_RGB32) {
        c.page = std::move(bitmap);  // the usual case: the bitmap is the page
    } else {
        c.page = QImage(W, H, QImage::Format_RGB32);
        c.page.fill(Qt::white);
        QPainter p(&c.page);
        p.drawImage(0, 0, bitmap);
    }

    const QFont titleFont = SongFont(header::TitlePixels);
    const QFont labelFont = SongFont(header::LabelPixels);
    const QFont pageFont = SongFont(header::PageNumberPixels);

    ComposedItem title = label(QRect(0, header::TitleTop, W, LabelTextSize(titleFont, doc.title).height()),
                               titleFont, doc.title);
    title.alignment = Qt::AlignHCenter | Qt::AlignTop;
    // The title's height follows the text it had at start-up, as the window's does.
    title.rect.setHeight(LabelTextSize(titleFont, QStringLiteral("标题")).height());
    c.items.push_back(title);

    c.items.push_back(sizedLabel(header::KeyPrefixX, header::LabelsY, labelFont, QStringLiteral("1=")));
    c.items.push_back(sizedLabel(header::KeyX, header::LabelsY, labelFont, keyText));
    c.items.push_back(sizedLabel(header::NumeratorX, header::NumeratorY, labelFont, numeratorText));
    c.items.push_back(sizedLabel(header::NumeratorX, header::DenominatorY, labelFont, denominatorText));
    c.items.push_back(sizedLabel(header::TempoX, header::LabelsY, labelFont, doc.tempo));
    const QSize creditsSize = LabelTextSize(labelFont, ctx.credits);
    c.items.push_back(sizedLabel(W - header::CreditsRightInset - creditsSize.width(), header::LabelsY, labelFont,
                                 ctx.credits));
    ComposedItem bar;
    bar.kind = ComposedItem::Rule;
    bar.rect = QRect(header::FractionBarX1, header::FractionBarY,
                     header::FractionBarX2 - header::FractionBarX1 + 1, 1);
    c.items.push_back(bar);
    const QString pageText = held.pageNumber ? PageNumberText(ctx.pageNumberStyle, doc.pageNumber)
                                             : ctx.pageNumberText;
    const QSize pageSize = LabelTextSize(pageFont, pageText);
    c.items.push_back(sizedLabel((W - pageSize.width()) / 2, H - header::PageNumberBottomInset, pageFont, pageText));

    c.facts = {doc.title, keyText, numeratorText, denominatorText, doc.tempo, linePitch, {}};

    // Overlays: phrases, then pictures, each raised above the ones before.
    for (const OverlayRecord& r : doc.textOverlays) {
        c.items.push_back(sizedLabel(r.left, r.top, labelFont, listText(ctx.phrases, r.index, QString())));
        c.facts.overlays.push_back({false, c.items.back().text, c.items.back().rect});
    }
    for (const OverlayRecord& r : doc.pictureOverlays) {
        const QString file = listText(ctx.libraryFiles, r.index, QString());
        if (file.isEmpty()) continue;
        QImage picture;
        if (!picture.load(ctx.libraryFolder + QLatin1Char('/') + file)) continue;
        ComposedItem item;
        item.kind = ComposedItem::Picture;
        item.image = picture.convertToFormat(QImage::Format_RGB32);
        item.rect = QRect(QPoint(r.left, r.top), picture.size());
        c.items.push_back(item);
        c.facts.overlays.push_back({true, file, item.rect});
    }
    return c;
}

}  // namespace qn
