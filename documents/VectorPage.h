#pragma once
// The page drawn anew from its music for print, PDF and SVG: every cell the
// page reader recognises becomes a vector symbol at the cell's place (digits,
// syllables, accidentals and brackets as outlines, beams, dashes, bar lines
// and dots as geometry), texts the reader recognises become real text in the
// Song face, arcs become curves. Ink nothing explains (eraser remains, pasted
// odd regions, hand-made marks) is kept as a lossless image of only that ink,
// under the vectors. The header labels and overlays are the composition's.

#include <QImage>
#include <QPainterPath>
#include <QRect>
#include <QString>
#include <vector>

#include "PageComposer.h"

class QIODevice;
class QPainter;

namespace qn {

// What the page reader found, ready to draw: made once per page.
struct VectorPage {
    struct Shape {
        enum Kind { Box, Dot, Outline } kind = Box;
        QRectF box;        // page pixels
        QPointF centre;    // Outline: the atlas glyph's centre of mass, page pixels
        int design = 0;    // Outline: which glyph (see VectorPage.cpp)
    };
    struct Text {
        QString text;
        QPointF baseline;  // page pixels
        int pixelSize = 14;
        bool bold = false;
        QRgb colour = 0xFF000000u;
    };
    std::vector<Shape> shapes;
    std::vector<Text> texts;
    std::vector<QPainterPath> arcs;  // filled outlines in page pixels
    QImage residual;                 // the unexplained ink, or null
    QPoint residualAt;               // its top-left on the page
    int recognisedCells = 0;
};

// Reads the page once and lays out what to draw.
VectorPage LayOutVectorPage(const QImage& page, int linePitch);

// Draws the composition in page pixels onto p (whatever its device and
// transform): residual ink, vector symbols, arcs, texts, then the labels and
// overlays.
void DrawVectorComposition(QPainter& p, const PageComposition& c, const VectorPage& v);
void DrawVectorComposition(QPainter& p, const PageComposition& c);

// A picture (the composition as shown) in the smallest exact lossless form:
// 1-bit when only black and white, 8-bit grey when only greys, else RGB.
QImage ExactPicture(const QImage& picture);

// An SVG document of the composition at page size; error text, empty on success.
QString WriteSvg(const PageComposition& c, QIODevice& out, PrintStyle style = PrintStyle::Vector);

}  // namespace qn
