#pragma once
// The command-line import:
//   quillnote --import SONG.musicxml|SONG.mxl [--out DIR] [--part N] [--home DIR]
// No window is made. The pages are written as documents (bitmap and sidecar)
// into DIR (default: beside the song), named after the song's title (else the
// file): "歌名.bmp", "歌名 2.bmp", ... One line per written page on standard
// output; what could not be written exactly, the proof and every failure on
// standard error.

#include <QStringList>

class QTextStream;

namespace qn::import {

bool IsImportCommand(const QStringList& arguments);

// Exit status: 0 the pages are written, 1 nothing written (a refused file, a
// failed write), 2 a usage error (with the usage text on err).
int RunImportCommand(const QStringList& arguments, const QString& executableFolder, QTextStream& out, QTextStream& err);

// The file name a song's first page gets: its title with the characters no
// file name may hold replaced, else the source's base name.
QString DocumentBaseName(const QString& title, const QString& sourcePath);

}  // namespace qn::import
