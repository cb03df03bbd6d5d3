#pragma once
// A score document on disk: the page bitmap (BMP) and its sidecar, a small
// binary file of fixed positions holding the layout, a few switches, the header
// texts, the page number and the overlay lists. Headless: errors come back as
// text, the window decides what to show.

#include <QByteArray>
#include <QIODevice>
#include <QImage>
#include <QString>
#include <array>
#include <vector>

#include "EditorState.h"

namespace qn {

// One overlay record: its place on the page and the number of its phrase or picture.
struct OverlayRecord {
    Integer left = 0;
    Integer top = 0;
    Integer index = 0;
    bool operator==(const OverlayRecord& o) const {
        return left == o.left && top == o.top && index == o.index;
    }
};

// Everything the sidecar holds, as values. Reading a sidecar overwrites only
// the fields the file really holds, so a short file keeps the current values.
struct ScoreDocument {
    Integer barWidth = 80;     // HScroll2(0)
    Integer barsPerLine = 8;   // HScroll2(1)
    Integer lineSpacing = 60;  // HScroll2(2)
    Byte staffInput = 0;       // Check1
    Byte guideLines = 1;       // Check2
    Byte skipBarLines = 0;     // Check3
    Byte autoSpacing = 1;      // Check4
    Byte staffKey = 0;         // Combo2 list index
    std::array<Single, 4> spacing{0.5f, 0.5f, 0.0f, 0.0f};
    Byte numeratorIndex = 2;    // Combo1(0)
    Byte denominatorIndex = 0;  // Combo1(1)
    Byte keyIndex = 0;          // Combo1(2)
    QString title;
    Integer pageNumber = 0;
    // Only visible overlays, packed, in slot order.
    std::vector<OverlayRecord> textOverlays;
    std::vector<OverlayRecord> pictureOverlays;
    QString tempo;

    // Which fields a read found in the file (all true after a full read).
    struct Held {
        bool layout[3] = {};
        bool staffInput = false, guideLines = false, skipBarLines = false, autoSpacing = false;
        bool staffKey = false;
        bool spacing[4] = {};
        bool numeratorIndex = false, denominatorIndex = false, keyIndex = false;
        bool title = false, pageNumber = false, textOverlays = false, pictureOverlays = false;
        bool tempo = false;
    };
};

namespace sidecar {
// 0-based offsets of the fields.
constexpr int BarWidth = 0, BarsPerLine = 2, LineSpacing = 4;
constexpr int StaffInput = 6, GuideLines = 7, SkipBarLines = 8, AutoSpacing = 9;
constexpr int StaffKey = 20;
constexpr int Spacing0 = 30;  // four float32
constexpr int Numerator = 47, Denominator = 48, Key = 49;
constexpr int Title = 51;
constexpr int PageNumber = 121;
constexpr int TextCount = 149, PictureCount = 151;
constexpr int Tempo = 153;
constexpr int TextRecords = 200, PictureRecords = 500;
constexpr int RecordSize = 6;
constexpr int TextFieldSize = 44;
// Text records must never reach the picture area: 50 fit between them.
constexpr int MaxTextRecords = (PictureRecords - TextRecords) / RecordSize;
// Picture slots 0..49.
constexpr int MaxPictureRecords = 50;
}  // namespace sidecar

// The sidecar of a page bitmap: the path with its last three characters
// replaced by "dat" (positional: "song" gives "sdat").
QString SidecarPath(const QString& bitmapPath);

// A text field: the text padded or cut to 44 characters, then its GBK form cut
// to 44 bytes at the last whole character and padded with spaces.
QByteArray EncodeTextField(const QString& text);
// The text of a 44-byte field without leading and trailing spaces.
QString DecodeTextField(const QByteArray& field);

// The sidecar bytes after writing doc over old (bytes not owned keep their
// values; a shorter file grows, zero-filled).
QByteArray PatchSidecar(QByteArray old, const ScoreDocument& doc);
// Reads what bytes hold into doc; fields beyond the end keep their values.
// During a batch export the staff-input and guide-line switches are not read.
ScoreDocument::Held ReadSidecar(const QByteArray& bytes, ScoreDocument& doc, bool batchExport);

// ---- Files

// Writes the sidecar at path: the old file's bytes are kept except those the
// document owns, and the file is replaced as a whole only once the new content
// is complete. Returns an error text, empty on success.
QString WriteSidecarFile(const QString& path, const ScoreDocument& doc);
// Reads the sidecar at path into doc. A missing sidecar is created empty (no
// error when that fails: the page still opens). Returns an error text when the
// file exists but cannot be read.
QString ReadSidecarFile(const QString& path, ScoreDocument& doc, bool batchExport,
                        ScoreDocument::Held* held = nullptr);

// Loads a page bitmap. Anything that is not a sound BMP of sane size (missing,
// a folder, not a BMP, truncated, absurd dimensions) gives an error text and
// leaves page untouched.
QString LoadPageBitmap(const QString& path, QImage& page);

// Writes an image as a 24-bit BMP (bottom-up rows, no palette), as the page
// bitmap is stored. False when the device refuses the bytes.
bool WriteBmp24(const QImage& image, QIODevice& device);

// Writes the page bitmap and the sidecar of a document. Both are written to
// temporary files first and put in place only when both are complete, so a
// failure leaves both files as they were. Returns an error text naming the
// file, empty on success.
QString SaveScoreFiles(const QString& bitmapPath, const QImage& page, const ScoreDocument& doc);

}  // namespace qn
