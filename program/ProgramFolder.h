#pragma once
// The program folder: where "speed.txt", "explin.txt", "set.ini", "s/", "wn/"
// and "sound/" live. By default the executable's folder; the environment
// variable QUILLNOTE_HOME overrides it, and the option "--home DIR" (or
// "--home=DIR") overrides both.

#include <QString>
#include <QStringList>

namespace qn {

QString ResolveProgramFolder(const QStringList& arguments, const QString& environmentHome,
                             const QString& executableFolder);

// The folder for the running application (needs a QCoreApplication).
QString ProgramFolder();

// A file or folder below the program folder, e.g. ProgramPath(folder, "s/k0.bmp").
QString ProgramPath(const QString& folder, const QString& relative);

}  // namespace qn
