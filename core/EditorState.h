#pragma once
// The editor's working state: one flat set of fields owned by the main window.
// Names, types and start values are those every subsystem uses.

#include <QString>
#include <array>
#include <cstdint>

namespace qn {

using Integer = std::int16_t;  // 16-bit signed
using Long = std::int32_t;     // 32-bit signed
using Single = float;          // single precision
using Byte = std::uint8_t;

struct EditorState {
    Integer GlyphBand = 0;
    Integer OverlayInsertX = 0;
    Integer OverlayInsertY = 0;
    Integer TextOverlayCount = 0;
    Integer SelectedOverlay = -1;
    Integer PictureOverlayCount = 0;
    QString DocumentPath;
    Integer PendingBeamGap = 0;
    Integer NoteValue = 0;
    Integer BeatsPerBar = 4;
    Integer HalfWidthMode = 0;
    Integer LastCellWidth = 0;
    std::array<Single, 10> SpacingValues{0.5f, 0.5f, 0.0f, 0.0f};
    Integer SpacingClass = 5;
    Integer InsertMode = 1;
    std::array<Integer, 10> BandTop{0, 26, 3};
    std::array<Integer, 10> BandHeight{40, 5, 22};
    Integer SelectDragging = 0;
    Byte ExportScale = 0;
    Integer StaffBeams = 0;
    Integer StaffCode = 0;
    QString StaffMarkerSuffix;
    Integer StaffMarkerRow = 0;
    Long BarUnits = 0;
    Integer LastBeamCount = 0;
    Integer BarsInLine = 0;
    Integer NoteInputMode = 1;
    Integer EraserDown = 0;
    Integer BeatUnit = 4;
    QString ExportFolderStamp;
    Integer JustifyLineTop = 0;
    QString PathBeforeBatch;
    Single BatchStep = 0;
    Integer ChordAtCaret = 0;
    std::array<Integer, 10> KeypadHeld{};
    Integer PageNumber = 0;
    Integer OptionsChanged = 0;
    Integer TitleDragX = 0;
    Integer TitleDragY = 0;
};

// The caret picture `Imapnt`: its top-left corner is the insertion point.
struct Caret {
    Single Left = 20;
    Single Top = 96;
    bool Visible = true;
    int Picture = -1;  // -1 the built-in question mark, 0..3 "s/k<n>.bmp"
};

// Page geometry shared by stamping, editing commands and layout.
namespace geom {
constexpr int LineHeight = 40;
constexpr int FullCell = 12;
constexpr int HalfCell = 6;
constexpr int FirstLineTop = 96;
constexpr int LeftMargin = 20;
constexpr int RightLimitInset = 32;  // the line is full past W - 32
}  // namespace geom

void SwapInt(Integer& a, Integer& b);
// Replaces every occurrence of search by replacement, left to right, never
// rescanning replaced text. Leaves text alone when search is empty or equals
// the replacement.
void ReplaceText(QString& text, const QString& search, const QString& replacement);

// Conversion of a single-precision coordinate to an integer: half to even.
int RoundHalfEven(double v);

}  // namespace qn
