#include "PageOps.h"

#include <algorithm>

namespace qn {

QPoint SnapToGrid(Single X, Single Y, int pitch) {
    pitch = std::max(pitch, 1);
    const int q = RoundHalfEven(double(X) - 23) / mouse::GridStep;
    const int r = RoundHalfEven(double(Y) - geom::FirstLineTop) / pitch;
    return {geom::LeftMargin + mouse::GridStep * q, geom::FirstLineTop + pitch * r};
}

QSize SelectionSize(QPoint origin, Single X, Single Y, int pitch) {
    pitch = std::max(pitch, 1);
    const int w = mouse::GridStep * ((RoundHalfEven(X) - origin.x()) / mouse::GridStep);
    const int h = pitch * ((RoundHalfEven(Y) - origin.y()) / pitch);
    return {std::max(w, mouse::GridStep), std::max(h, pitch)};
}

QRect EraserSquare::pixels() const { return QRect(RoundHalfEven(Left), RoundHalfEven(Top), Size, Size); }

EraserSquare EraserSquareAt(Single X, Single Y, int k) {
    EraserSquare s;
    s.Left = X - Single(k) / 2;
    s.Top = Y - Single(k) / 2;
    s.Size = k;
    return s;
}

QRect EraseSquare(Page& page, const EraserSquare& square) {
    // The white source picture of the original brush was smaller than the
    // largest brushes; here the whole square is white at every size.
    const QRect area = square.pixels().intersected(QRect(0, 0, page.width(), page.height()));
    if (!area.isEmpty()) page.fillWhite(area);
    return area;
}

}  // namespace qn
