#pragma once
// 宋体 and its stand-ins on systems without it, sized in pixels so the layout
// does not depend on the screen's dots per inch (points at 96 dpi: 9 pt = 12 px,
// 10.5 pt = 14 px, 14.25 pt = 19 px, 15.75 pt = 21 px, 18 pt = 24 px).

#include <QFont>

namespace qn {

QFont SongFont(int pixelSize, bool bold = false);

}  // namespace qn
