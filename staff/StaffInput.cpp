#include "StaffInput.h"

#include <algorithm>
#include <cmath>

namespace qn {

int StaffRow(int y) {
    // (190 - y) / 9 never ends in one half for whole pixels: plain rounding is exact.
    return int(std::lround(double(staff::LowLedgerY - y) / staff::StepPixels)) + 14;
}

Integer StaffCodeAt(int row, int keyIndex, bool bassClef) {
    int code = row - keyIndex;
    if (bassClef) code -= 12;
    return Integer(code);
}

Integer StaffZone(int x) {
    if (x < staff::ZoneEdges[0]) return 0;
    if (x > staff::ZoneEdges[0] && x < staff::ZoneEdges[1]) return 1;
    if (x > staff::ZoneEdges[1] && x < staff::ZoneEdges[2]) return 2;
    if (x > staff::ZoneEdges[2]) return 3;
    return 0;  // on a divider
}

QString StaffMarkerSuffixFor(int row) {
    return row <= staff::LastLowRow ? QStringLiteral("s") : QString();
}

int StaffMarkerTop(int row) {
    // A low-note picture has its head 98 rows down, a high-note one 8 rows down.
    return row <= staff::LastLowRow ? 218 - 9 * row : 308 - 9 * row;
}

QString StaffMarkerFile(int beams, const QString& suffix) {
    return QStringLiteral("wn/%1%2.gif").arg(beams).arg(suffix);
}

StaffPointer StaffPointerMoved(EditorState& st, int x, int y, int keyIndex, bool bassClef) {
    x = std::clamp(x, 0, staff::PanelWidth - 1);
    y = std::clamp(y, 0, staff::PanelHeight - 1);
    const int row = StaffRow(y);
    st.StaffCode = StaffCodeAt(row, keyIndex, bassClef);
    const Integer zone = StaffZone(x);

    StaffPointer out;
    out.markerLeft = x - 9;
    const QString suffix = StaffMarkerSuffixFor(row);
    if (row != st.StaffMarkerRow) {
        st.StaffMarkerRow = Integer(row);
        out.moveMarker = true;
        out.markerTop = StaffMarkerTop(row);
    }
    if (suffix != st.StaffMarkerSuffix || zone != st.StaffBeams) {
        st.StaffMarkerSuffix = suffix;
        st.StaffBeams = zone;
        out.reloadMarker = true;
    }
    return out;
}

int NextAccidentalTag(int tag) {
    const int next = tag + 1;
    return next > 3 ? 0 : next;
}

QString AccidentalCaption(int tag) {
    switch (tag) {
    case 1: return QStringLiteral("升");
    case 2: return QStringLiteral("降");
    case 3: return QStringLiteral("原");
    default: return QStringLiteral("无");
    }
}

QString DotCaption(bool dot) { return dot ? QStringLiteral("点") : QStringLiteral("无"); }

void StaffClick(Editor& ed, int button, int shift, bool timeDivision, StaffSelectors& selectors) {
    EditorState& st = ed.st;
    EditorView& page = ed.view();
    const auto key = [&page](Integer code) { page.Picture1_KeyDown(code, 0); };
    // Symbols stamped here skip the key map, which is what puts the glyph band
    // back to the whole cell: an accidental key just before leaves it at the
    // upper band, and a bar line completed by this note would come out cut.
    const auto stamp = [&ed, &st](Integer code, Integer beams) {
        st.GlyphBand = 0;
        ed.StampSymbol(code, beams);
    };

    if (button == staff::RightButton) {
        if (timeDivision)
            stamp(35, st.StaffBeams);  // a rest with the zone's beams (in chords: erase)
        else
            key(27);  // Esc: the next enabled note value
    }
    if (shift & staff::ShiftBit) key(77);  // sharp
    if (shift & staff::CtrlBit) key(188);  // flat
    if (button == staff::LeftButton) {
        switch (selectors.accidental) {
        case 1: key(77); break;   // sharp
        case 2: key(188); break;  // flat
        case 3: key(78); break;   // natural
        default: break;
        }
        selectors.accidental = 0;
        stamp(st.StaffCode, timeDivision ? st.StaffBeams : st.NoteValue);
    }
    if (button == staff::MiddleButton) key(72);  // bar line
    if (selectors.dot && button == staff::LeftButton) {
        selectors.dot = false;
        key(190);  // dot after the note
    }
    if (shift & staff::AltBit) key(190);
}

}  // namespace qn
