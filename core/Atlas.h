#pragma once
// Symbol codes and the two glyph atlases built into the program.
//
//   Picmode  (508 x 160): note cells, x = 12 * code, y = 40 * beam count.
//   Picmode2 (821 x 115): full-width ornament cells at y 0 (code 100 + k at
//                         x = 12k), half-width cells at y 40 (code 200 + k at x = 6k).

#include <QImage>
#include <QRect>

#include "EditorState.h"

namespace qn {

constexpr int kPicmodeWidth = 508, kPicmodeHeight = 160;
constexpr int kPicmode2Width = 821, kPicmode2Height = 115;

// The atlases, loaded once from the program's resources.
const QImage& Picmode();
const QImage& Picmode2();

// Source rectangle of a note cell (codes 0..99 name columns; the caller clips).
QRect NoteCellRect(int code, int beams);
// Source rectangle of the band of an ornament cell (codes 100..299).
QRect OrnamentCellRect(int code, int bandTop, int bandHeight);
// Width on the page of a stamped code: 12 full, 6 half-width, 0 not a cell.
int CellWidth(int code);

// 1 augmentation dots, 2 half-width accidentals, 0 everything else.
Integer CodeClass(Integer code);
void CodeClass(Integer code, Integer& result);

}  // namespace qn
