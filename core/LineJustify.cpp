// LineJustify: spreads a finished line to the right margin by inserting
// half-width blanks into the gaps between note groups, found by reading pixels.
#include <array>
#include <cmath>

#include "Editor.h"

namespace qn {

namespace {
constexpr int kMaxGaps = 256;  // gaps beyond these are left as they are
}

void Editor::LineJustify() {
    const Integer savedMode = st.InsertMode;
    st.InsertMode = 1;
    const int y = st.JustifyLineTop;
    const int W = page.width(), H = page.height();

    // Free space after the last ink on row 5: bar lines and accidentals cross it,
    // digits do not, so this is the space after the last bar line.
    int free = 0;
    for (int x = RoundHalfEven(W + 500.0); x >= 0; --x) {
        if (page.isInk(x, y + 5)) {
            free = RoundHalfEven(double(W) - x - 17);
            break;
        }
    }
    if (free > (W - 40) * 0.4) {  // too short a line to spread
        st.InsertMode = savedMode;
        return;
    }
    const int slotCount = int(std::floor(free / 6.0));

    // Gaps: an empty 6-pixel slot after an inked one. Row 15 crosses digit
    // bodies, row 26 the first beam, so a beamed group has no gap inside.
    std::array<int, kMaxGaps> gapAt{};
    std::array<int, kMaxGaps> blanks{};
    int n = 0;
    bool prevInked = true;
    const int last = view_.Line3X1();
    for (int x = 26; x <= last; x += geom::HalfCell) {
        bool inked = false;
        for (int i = 0; i < geom::HalfCell && !inked; ++i)
            inked = page.isInk(x + i, y + 15) || page.isInk(x + i, y + 26);
        if (!inked && prevInked && n < kMaxGaps) gapAt[n++] = x;
        prevInked = inked;
    }
    if (n == 0 || slotCount <= 0) {  // nothing to share out: the line stays as it is
        st.InsertMode = savedMode;
        return;
    }

    const int each = int(std::floor(double(slotCount) / n));
    int remainder = slotCount % n;
    for (int i = 0; i < n; ++i) blanks[i] = each;
    if (remainder > 0) {
        const double stepT = double(n) / remainder;
        for (double t = 0; t <= n - 1 && remainder > 0; t += stepT, --remainder) blanks[int(t)] += 1;
    }

    // The extra width puts the insert shift's right-edge blanking outside the
    // page while blanks go in; what is pushed past the edge is cut off after.
    page.resize(W + 50, H);
    for (int g = n - 1; g >= 0; --g) {  // right to left keeps the gaps still to do in place
        caret.Left = gapAt[g];
        caret.Top = st.JustifyLineTop;
        for (int k = 0; k < blanks[g]; ++k) StampSymbol(200, 0);
    }
    page.resize(W, H);
    st.InsertMode = savedMode;
}

}  // namespace qn
