#pragma once
// Mouse work on the page that needs no window: where a press puts the caret,
// how a drag sizes the selection rectangle, and the eraser's square.

#include <QPoint>
#include <QRect>
#include <QSize>

#include "EditorState.h"
#include "Page.h"

namespace qn {

namespace mouse {
constexpr int GridStep = 6;         // horizontal grid and selection step
constexpr int PressWidth = 12;      // the selection rectangle of a plain press
constexpr int PressHeight = 40;
constexpr int MinCopyWidth = 24;    // narrower selections are not copied
constexpr int ParkedTop = -999;     // Top of the eraser square in caret mode
}  // namespace mouse

// The grid place of a caret-mode press at page point (X, Y):
//   x = 20 + 6q, q = round(X - 23) / 6     (the cell under the pointer)
//   y = 96 + p r, r = round(Y - 96) / p    (the top of the line band under it)
// Rounding is half to even and the divisions truncate toward zero, so presses
// left of x = 17 or above the first band land left of 20 or above 96. A pitch
// below 1 is taken as 1.
QPoint SnapToGrid(Single X, Single Y, int pitch);

// The selection rectangle pressed at `origin` (a grid place) and dragged to
// (X, Y): whole 6-pixel steps right and whole pitches down of the origin, at
// least 6 x pitch (a drag left of or above the origin gives that minimum).
QSize SelectionSize(QPoint origin, Single X, Single Y, int pitch);

// The eraser square `Shape1`: a k x k brush centred on the pointer, Left and
// Top at X - k/2 and Y - k/2 (halves kept).
struct EraserSquare {
    Single Left = 0;
    Single Top = mouse::ParkedTop;
    int Size = 0;
    // The page pixels under the brush: Left and Top rounded half to even.
    QRect pixels() const;
};
EraserSquare EraserSquareAt(Single X, Single Y, int k);

// Whitens the whole square under the brush, whatever its size, and nothing
// outside the page. Returns the page area that was whitened.
QRect EraseSquare(Page& page, const EraserSquare& square);

}  // namespace qn
