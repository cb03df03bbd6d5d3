#pragma once
// The page as the user sees it: the page bitmap with the title, the header
// labels, the page number and the overlays drawn over it; no caret, guide
// lines, margin line or panels. Every label is drawn without a ground, the
// title too (opaque on screen): page ink under the title band stays in the
// picture. One composition serves the window's labels
// (they size and draw their text with the functions below), the exports, the
// command line and printing, so all of them show the same page.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <vector>

#include "ScoreDocument.h"

class QPainter;
class QPagedPaintDevice;

namespace qn {

// A label's text: its size, and its drawing inside the label's rectangle.
QSize LabelTextSize(const QFont& font, const QString& text);
void DrawLabelText(QPainter& p, const QRect& rect, const QFont& font, const QColor& colour,
                   Qt::Alignment alignment, const QString& text);

// One thing lying on the page: a label's text, a picture or a black rule.
struct ComposedItem {
    enum Kind { Label, Picture, Rule } kind = Label;
    QRect rect;                 // the label's, the picture's or the rule's rectangle
    QFont font;
    QColor colour = Qt::black;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    QString text;
    QImage image;               // a picture
};

// What the header says about the music, for reading the page back as notes.
struct PageFacts {
    QString title;
    QString key = QStringLiteral("C");
    QString numerator = QStringLiteral("4");
    QString denominator = QStringLiteral("4");
    QString tempo = QStringLiteral("每分钟72拍");
    int linePitch = 60;
    // The overlays as marks for the notes: phrases and picture file names.
    struct Overlay {
        bool picture = false;
        QString text;
        QRect rect;
    };
    std::vector<Overlay> overlays;
};

struct PageComposition {
    QImage page;                     // the page bitmap at the page's size
    std::vector<ComposedItem> items; // bottom to top, as the window stacks them
    PageFacts facts;
};

// The composition at page size, pixel for pixel as the window draws it. The
// page is drawn on in place: pass a composition you no longer need by move.
QImage RenderComposition(PageComposition c);

// The export ratio every export uses: outside 50..200 percent it is 100.
int EffectiveExportScale(int percent);
// The picture of an export: width = page width x percent / 100, height = that
// width x 1.4142135623731, scaled without smoothing.
QImage ScaleForExport(const QImage& composed, int percent);

// How a page is printed and written as PDF or SVG: drawn anew from its music
// as vectors ("矢量"), or as the very pixels the window shows ("原样", a
// lossless picture).
enum class PrintStyle { Vector, AsShown };
// "vector" or "矢量", "as-shown" or "原样"; false for anything else.
bool ParsePrintStyle(const QString& text, PrintStyle& style);
// The word the settings keep: "vector", "as-shown".
QString PrintStyleKey(PrintStyle style);

// The labels, pictures and rules of a composition, in page pixels.
void DrawComposedItems(QPainter& p, const PageComposition& c);

// An A4 page (PDF or printer) at the printable width: the page drawn in the
// given style, labels and text overlays as real text (Vector), pictures
// losslessly. Returns false when the device cannot be painted on.
bool RenderOnPagedDevice(const PageComposition& c, QPagedPaintDevice& device,
                         PrintStyle style = PrintStyle::Vector);

// What the window shows besides the document: the labels the sidecar does not
// hold, and the lists its numbers point into.
struct ExportContext {
    QString credits = QStringLiteral("Lumora 制谱");
    QString pageNumberText = QStringLiteral("< 1 >");   // shown while the file holds no number
    QString pageNumberStyle = QStringLiteral("< p >");
    QString keyText = QStringLiteral("C");              // shown when a list index is out of range
    QString numeratorText = QStringLiteral("4");
    QString denominatorText = QStringLiteral("4");
    QStringList phrases;        // "explin.txt"
    QString libraryFolder;      // "s/sik"
    QStringList libraryFiles;   // its "*.bmp" files in list order
};

// The document as the program shows it right after start-up.
ScoreDocument StartUpDocument();

// The composition of a document read from its files, exactly as the window
// shows it after opening it.
PageComposition ComposeDocument(QImage bitmap, const ScoreDocument& doc,
                                const ScoreDocument::Held& held, const ExportContext& context);

// Header label places (page pixels) shared with the window's layout.
namespace header {
constexpr int TitleTop = 8;
constexpr int KeyPrefixX = 16, KeyX = 32, LabelsY = 48;
constexpr int NumeratorX = 52, NumeratorY = 40, DenominatorY = 56;
constexpr int FractionBarX1 = 48, FractionBarX2 = 64, FractionBarY = 56;
constexpr int TempoX = 96;
constexpr int CreditsRightInset = 32;   // credits end at page width - 32
constexpr int PageNumberBottomInset = 45;
// Pixel sizes of 宋体 15.75, 10.5 and 14.25 pt.
constexpr int TitlePixels = 21, LabelPixels = 14, PageNumberPixels = 19;
}  // namespace header

}  // namespace qn
