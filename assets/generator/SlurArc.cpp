#include "SlurArc.h"

#include "Canvas.h"

#include <cmath>

namespace assetgen {

QImage MakeSlurArc() {
    constexpr int kW = 475, kH = 15;
    // Each shoulder is a quarter ellipse from the crown down to a bottom corner,
    // wide enough that the stroke leaves the top row near x = 93 and x = 381.
    // The centre line runs half a pixel inside the picture, and a 2 x 2 pen
    // gives the two-pixel stroke without gaps where the curve turns steep.
    constexpr int kFlatLeft = 149, kFlatRight = kW - 1 - kFlatLeft;
    Canvas c(kW, kH);
    c.fill(kFlatLeft, 0, kFlatRight, 1);
    const double a = kFlatLeft - 0.5, b = kH - 1.5;
    constexpr int kSteps = 4000;
    for (int i = 0; i <= kSteps; ++i) {
        const double t = (M_PI / 2) * i / kSteps;
        const double x = kFlatLeft - a * std::sin(t);  // from the crown to 0.5
        const double y = (kH - 1) - b * std::cos(t);   // from 0.5 to 14
        const int px = static_cast<int>(std::floor(x - 0.5)), py = static_cast<int>(std::floor(y - 0.5));
        c.fill(px, py, px + 1, py + 1);
        c.fill(kW - 2 - px, py, kW - 1 - px, py + 1);  // the mirror image on the right
    }
    return c.image();
}

}  // namespace assetgen
