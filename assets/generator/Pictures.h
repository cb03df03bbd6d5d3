#pragma once
// The small pictures: rhythm pattern buttons, carets, the picture library, and
// the staff panel's staves and preview notes.

#include <QImage>
#include <QString>

namespace assetgen {

// Pattern button i, 32 x 32: the digit 5 with i underlines, black on white.
QImage MakePatternButton(int underlines);
// The caret before the first pattern change: a question mark on transparent ground.
QImage MakeBuiltinCaret();
// Caret for pattern i, 13 x 40: an insertion bar and i underlines on the beam rows.
QImage MakePatternCaret(int underlines);

// Staff panel pictures: 477 x 255 treble, 477 x 256 bass.
QImage MakeStaff(bool treble);
// Preview note with `flags` flags; a low note has its head at the bottom.
QImage MakeStaffPreview(int flags, bool low);

// s/k0..k3.bmp into `dir`.
void WritePatternCarets(const QString& dir);
// The picture library (grace note digits and groups, ornaments) into `dir`.
void WritePictureLibrary(const QString& dir);
// wn/0.gif .. wn/3s.gif into `dir`, each read back and checked.
void WriteStaffPreviews(const QString& dir);

}  // namespace assetgen
