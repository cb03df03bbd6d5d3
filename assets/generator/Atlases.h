#pragma once
// The two glyph atlases the editor stamps from.

#include <QImage>

namespace assetgen {

// Note atlas, 508 x 160: x = 12 * code, y = 40 * beam count.
QImage MakePicmode();
// Ornament atlas, 821 x 115: full-width cells at y 0, half-width cells at y 40.
QImage MakePicmode2();

}  // namespace assetgen
