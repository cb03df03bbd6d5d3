#pragma once
// "set.ini": the user's preferences, 18 bytes, little-endian.
//   0 export ratio (byte), 1 beat spacing (float32), 5/9/13/17 switches
//   Check8, Check10, Check11, Check12 (0 or 1). Other bytes are never touched.
//
// Damaged values read as safe defaults: a switch byte other than 0 or 1 reads
// as 0 (off); a beat spacing that is not a number or lies outside 0..8 reads as
// 0, so the beat-division loop never sees a huge count.

#include <QString>

#include "EditorState.h"

namespace qn {

inline constexpr int kOptionsFileSize = 18;
// Only the first 18 bytes are read, but a "set.ini" this large is no
// preferences file (its tail is kept as it is when written).
inline constexpr qint64 kMaxOptionsFileSize = 16 << 20;

struct OptionsValues {
    Byte ExportScale = 0;
    Single BeatSpacing = 0;  // spacing value 4
    Byte Check8 = 0;
    Byte Check10 = 0;
    Byte Check11 = 0;
    Byte Check12 = 0;
};

struct OptionsReadResult {
    OptionsValues values;
    QString error;  // empty when the file could be opened (or created)
};

// Opens the file for reading and writing, creating it empty when absent; bytes
// beyond the end read as zero. Never truncates. A file that exists but is
// read-only is still read, without error. When the file can be neither opened
// nor created, all values are zero and error says why. Only a regular file of
// at most kMaxOptionsFileSize bytes is read: a FIFO, a device, a folder or a
// symlink loop gives zeros and an error, never a hang.
OptionsReadResult ReadOptionsFile(const QString& path);
// Writes the six items at their offsets in place, creating the file only when
// it is missing; every other byte, a long tail included, is left untouched and
// a shorter file grows to 18 bytes with zeros. Returns an error text saying
// whether the file could not be created, opened for writing or written; empty
// on success.
QString WriteOptionsFile(const QString& path, const OptionsValues& values);

}  // namespace qn
