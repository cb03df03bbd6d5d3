#pragma once
// The slur arc `Image4`, painted into the page by the slur command.

#include <QImage>

namespace assetgen {

// 475 x 15, black on white: a two-pixel arc along the top edge from about
// x = 93 to x = 381, curving down to the bottom corners (x = 0 and x = 474 of
// the bottom row).
QImage MakeSlurArc();

}  // namespace assetgen
