// The running rhythm bookkeeping of stamping: beat division, beams carried
// across spaces and dots, automatic spacing, durations, bar lines and bars.
#include <QRect>
#include <cmath>

#include "Editor.h"

namespace qn {

namespace {
// A caption that is not a number counts as 0.
double captionNumber(const QString& caption) {
    bool ok = false;
    const double v = caption.trimmed().toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

// Duration of a value with `beams` beam lines in thirty-second notes: 2^(3 - beams).
Long unitsFor(int beams) { return Long(RoundHalfEven(std::pow(2.0, 3 - beams))); }
}  // namespace

void Editor::BeatDivision() {
    if (st.BeatUnit <= 0) return;  // the time-signature lists offer only 4 and 8
    const int u = RoundHalfEven(32.0 / st.BeatUnit);
    if (u == 0 || st.BarUnits % u != 0 || st.BarUnits <= 0 || !view_.Check8()) return;
    const double v = captionNumber(view_.Label6sCaption(4));
    // One half-width blank per 0.5; never more than a line can hold.
    const int most = page.width() / geom::HalfCell;
    int n = 0;
    for (double t = 0.5; t <= v && n < most; t += 0.5, ++n) StampSymbol(200, 0);
}

void Editor::BridgeBeamGap(Integer beams) {
    const int g = st.PendingBeamGap;
    if (g <= 0 || beams <= 0) return;
    // Repeat the beam rows of the g pixels before the dot or accidental under it.
    const int x = caretX(), y = caretY();
    page.bitBlt(QRect(x - 2 * g, y + 26, g, 5), x - g, y + 26);
    view_.RefreshPage();
    st.PendingBeamGap = 0;
}

int Editor::AutomaticSpacing(Integer beams) {
    const Integer cls = st.SpacingClass;
    if (!view_.Check4() || cls < 0 || cls >= 5 || !(st.SpacingValues[cls] > 0)) return 0;
    const Single w = st.SpacingValues[cls] * 12;
    const int g = RoundHalfEven(w);
    // The strip carries the previous note's beams (cells 116..119) into the space.
    if (beams > 0) page.paintPicture(Picmode2(), QRect(12 * (cls + 16), 0, g, geom::LineHeight), caretX(), caretY());
    caret.Left = caret.Left + w;
    return g;
}

void Editor::CountNote(Integer beams, Single lineTop, Single noteEnd) {
    st.BarUnits += unitsFor(beams);
    if (!(double(st.BeatUnit) * st.BarUnits / 32.0 >= st.BeatsPerBar)) return;
    if (BarCompletesLine() && caret.Top != lineTop) {
        // The note wrapped the caret, but the bar line closing the line belongs
        // right after it on its own line; the line break then leaves that line.
        caret.Top = lineTop;
        caret.Left = noteEnd;
    }
    StampSymbol(101, 0);
}

bool Editor::CountDot() {
    if (st.LastBeamCount >= 3) return false;
    st.LastBeamCount = Integer(st.LastBeamCount + 1);
    st.BarUnits += unitsFor(st.LastBeamCount);
    return true;
}

void Editor::OrnamentBookkeeping(Integer code, int gapWidth) {
    const Integer c = CodeClass(code);
    if (c > 0) st.PendingBeamGap = Integer(gapWidth);
    if (c == 0) {
        st.SpacingClass = 5;
        st.PendingBeamGap = 0;
    }
    if (c == 2) st.SpacingClass = 5;
}

bool Editor::BarCompletesLine() { return st.BarsInLine + 1 >= view_.HScroll2(1); }

void Editor::CountBar() {
    st.BarsInLine = Integer(st.BarsInLine + 1);
    st.BarUnits = 0;
    if (st.BarsInLine >= view_.HScroll2(1)) view_.Picture1_KeyDown(13, 0);
}

}  // namespace qn
