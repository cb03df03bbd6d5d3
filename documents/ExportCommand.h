#pragma once
// The command-line export:
//   quillnote --export SOURCE... [--out DIR] [--scale PERCENT] [--format bmp|png|pdf|svg|mid|musicxml|wav] [--print-style vector|as-shown] [--home DIR]
// No window is made. One line per exported document on standard output, each
// failure on standard error with the file and the reason.

#include <QStringList>

class QTextStream;

namespace qn {

// True when the arguments ask for the export command.
bool IsExportCommand(const QStringList& arguments);

// Runs it (a QGuiApplication must exist). Exit status: 0 every document
// exported, 1 any failed, 2 a usage error (with the usage text on err).
int RunExportCommand(const QStringList& arguments, const QString& executableFolder, QTextStream& out,
                     QTextStream& err, bool progressOnErr);

}  // namespace qn
