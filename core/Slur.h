#pragma once
// Slurs: the arc picture `Image4` scaled between two caret places and painted
// into the page, in one piece on one line or in two pieces across two lines.

#include <QImage>
#include <QRect>

#include <vector>

#include "Page.h"

namespace qn {

constexpr int kImage4Width = 475, kImage4Height = 15;
constexpr int kImage4HalfWidth = 237;

// The arc picture, loaded once from the program's resources: black on white.
const QImage& Image4();

struct SlurPiece {
    QRect source;  // in Image4
    QRect target;  // on the page
};

// The pieces of the slur from (x1, y1) to (x2, y2), where x is the centre of a
// caret cell and y the top of its line; the points may come in either order.
//   same line: the whole arc over left x1, width s = |x2 - x1|, top
//              (y - 5) - s/100;
//   two lines: the left half from x1 to the right limit of the earlier line
//              (width W - x1 - 32), the right half from x = 20 to x2 on the later one
//              (width x2 - 20), each with its top (y - 5) - width/100.
// The bottom edge of every piece is at its line's y + 2; the top is rounded
// half to even. A piece without width is left out.
std::vector<SlurPiece> SlurPieces(int x1, int y1, int x2, int y2, int pageWidth);

// Scales src's srcRect to `size`, keeping the ink: a pixel of the result is ink
// when any source pixel it covers is ink, so a long thin arc squeezed into a
// few pixels stays unbroken. The rest is white.
QImage ScaleInk(const QImage& src, const QRect& srcRect, QSize size);

// Paints the ink of the slur's arc into the page; every other pixel of the
// pieces' rectangles keeps what it held (dots above the notes, earlier slurs).
// Returns the page area touched.
QRect DrawSlur(Page& page, int x1, int y1, int x2, int y2);

}  // namespace qn
