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
#include "LayoutMath.h"

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
// The pair stamp, in bytes the format leaves unused (positions 97..120) so
// every other reader of the sidecar sees the bytes it reads unchanged: a mark,
// the checksum of the page saved with this sidecar, the checksum of the fields
// written with it, and the page's size.
constexpr int Stamp = 96;
constexpr int StampSize = 24;
}  // namespace sidecar

// A sidecar is some 800 bytes; its tail is kept as it is, but a file this
// large is no sidecar and is neither read nor rewritten.
inline constexpr qint64 kMaxSidecarSize = 16 << 20;

// The largest page bitmap that is loaded: the largest layout's page and an
// eighth more each way. Anything larger is refused before it is decoded.
inline constexpr int kMaxPageWidth = kMaxLayoutPageWidth + kMaxLayoutPageWidth / 8;
inline constexpr int kMaxPageHeight = kMaxLayoutPageHeight + kMaxLayoutPageHeight / 8;

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

// ---- The pair

// A checksum of the page's pixels as the bitmap stores them (RGB, no alpha).
quint64 PageChecksum(const QImage& page);
// Writes the stamp of page into patched sidecar bytes (at least 120 long).
void StampSidecar(QByteArray& bytes, const QImage& page);

enum class PairCheck {
    Unstamped,  // no stamp: a sidecar from before, or of another writer
    Foreign,    // stamped, but another writer changed the fields since
    Matches,    // the page is the one saved with this sidecar
    Mixed,      // the page belongs to another save than the sidecar
};
// Whether page is the one saved with these sidecar bytes.
PairCheck CheckPair(const QByteArray& sidecarBytes, const QImage& page);

// ---- Files

// Writes the sidecar at path: the old file's bytes are kept except those the
// document owns, and the file is replaced as a whole only once the new content
// is complete. Returns an error text, empty on success.
QString WriteSidecarFile(const QString& path, const ScoreDocument& doc);
// Reads the sidecar at path into doc. A missing sidecar is created empty (no
// error when that fails: the page still opens). Returns an error text when
// something is there but cannot be read: no regular file (a folder, a FIFO, a
// device, a symlink loop), too large, or unreadable.
// raw, when given, receives the bytes read (for CheckPair).
QString ReadSidecarFile(const QString& path, ScoreDocument& doc, bool batchExport,
                        ScoreDocument::Held* held = nullptr, QByteArray* raw = nullptr);

// Loads a page bitmap. Anything that is not a sound BMP of at most
// kMaxPageWidth x kMaxPageHeight (missing, a folder, a FIFO, a symlink loop,
// unreadable, not a BMP, truncated, too large) gives an error text with the
// real reason and leaves page untouched.
QString LoadPageBitmap(const QString& path, QImage& page);
// The page size a bitmap's header gives, checked as LoadPageBitmap checks it
// before decoding; invalid when it would be refused.
QSize BitmapHeaderSize(const QString& path);

// Writes an image as a 24-bit BMP (bottom-up rows, no palette), as the page
// bitmap is stored. False when the device refuses the bytes.
bool WriteBmp24(const QImage& image, QIODevice& device);

// Writes the page bitmap and the sidecar of a document. Both are written to
// temporary files first and put in place only when both are complete; the old
// bitmap is kept under a second name until the sidecar is in place, so a
// failure at any step leaves the old pair. The sidecar is stamped with the
// page, so a pair mixed by a kill between the two renames is found on open
// (CheckPair). Returns an error text naming the file, empty on success.
QString SaveScoreFiles(const QString& bitmapPath, const QImage& page, const ScoreDocument& doc);

// Test seam for fault injection: called before each rename of a save with the
// path about to be replaced; true makes that rename fail as a full disk would.
using SaveFaultHook = bool (*)(const QString& path);
void SetSaveFaultHookForTesting(SaveFaultHook hook);

}  // namespace qn
