#pragma once
// Staff input without widgets: from the pointer on the staff panel to the
// symbol code and note value of the pointed note, the place of the preview
// note, the accidental and dot selectors, and what a click sends to the page
// (key codes through the page's key handler, notes and rests straight to
// StampSymbol).
//
// Panel pixels: the staff lines lie at y 100..172, one diatonic step is 9
// pixels, and row 14 is the first ledger line below the staff (y 190); rows
// grow upwards. The panel's heights 0..276 are rows 35 down to 4.

#include <QString>

#include "Editor.h"

namespace qn {

namespace staff {
constexpr int PanelWidth = 292, PanelHeight = 277;
constexpr int LowLedgerY = 190;  // row 14
constexpr int StepPixels = 9;
constexpr int LastLowRow = 20;  // rows up to here preview with a low-note picture
// Zone dividers from the right: x 224, 176, 128 (quarter | eighth | 16th | 32nd).
constexpr int ZoneEdges[3] = {128, 176, 224};
}  // namespace staff

// The staff row at panel height y: (190 - y) / 9 + 14, rounded.
int StaffRow(int y);
// The symbol code of a row in a key (Combo2's index, the tonic's scale step
// above C): the treble staff's row 14 in C is the plain 1 (code 14); the bass
// clef lies 12 codes lower (two octaves less a third).
Integer StaffCodeAt(int row, int keyIndex, bool bassClef);
// The time zone (beam count) at panel x; a pointer exactly on a divider is zone 0.
Integer StaffZone(int x);
// Preview pictures: "s" (head at the bottom, stem up) for rows up to 20.
QString StaffMarkerSuffixFor(int row);
// The preview's top that puts its note head on the pointed line or space.
int StaffMarkerTop(int row);
// The preview picture below the program folder: "wn/<beams><suffix>.gif".
QString StaffMarkerFile(int beams, const QString& suffix);

// What a pointer move asks of the preview `Image3`.
struct StaffPointer {
    int markerLeft = 0;
    bool moveMarker = false;  // the row changed: put the preview at markerTop
    int markerTop = 0;
    bool reloadMarker = false;  // the zone or the picture kind changed: LoadStaffMarker
};

// The pointer moved to panel (x, y): sets StaffCode, StaffBeams, StaffMarkerRow
// and StaffMarkerSuffix. A pointer dragged off the panel counts as at its edge.
StaffPointer StaffPointerMoved(EditorState& st, int x, int y, int keyIndex, bool bassClef);

// The selectors `Label12` (accidental before the next note, its Tag 0..3) and
// `Label13` (a dot after it).
struct StaffSelectors {
    int accidental = 0;  // 0 none, 1 sharp, 2 flat, 3 natural
    bool dot = false;
};
int NextAccidentalTag(int tag);      // 无 -> 升 -> 降 -> 原 -> 无
QString AccidentalCaption(int tag);  // "无", "升", "降", "原"
QString DotCaption(bool dot);        // "无", "点"

// Mouse buttons and modifier bits as the panel's click receives them.
namespace staff {
constexpr int LeftButton = 1, RightButton = 2, MiddleButton = 4;
constexpr int ShiftBit = 1, CtrlBit = 2, AltBit = 4;
}  // namespace staff

// A click on the staff (`Label10_MouseDown`): rests, accidentals, the note at
// StaffCode, bar line and dots, in that order. timeDivision is `Check7`: the
// note value comes from the pointer's zone, else from NoteValue. The
// selectors apply to this left click only and are reset by it.
void StaffClick(Editor& ed, int button, int shift, bool timeDivision, StaffSelectors& selectors);

}  // namespace qn
