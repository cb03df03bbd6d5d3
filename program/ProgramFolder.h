#pragma once
// The program folder: where "speed.txt", "explin.txt", "set.ini", "s/", "wn/"
// and "sound/" live. The option "--home DIR" (or "--home=DIR") wins, then the
// environment variable QUILLNOTE_HOME. Otherwise a program run from its build
// folder uses that folder, and an installed one (<prefix>/bin/quillnote with
// its data in <prefix>/share/quillnote) a folder of the user's own,
// $XDG_DATA_HOME/quillnote, filled from the installed copies on first start:
// the installed data stays read-only and users never share their settings.

#include <QString>
#include <QStringList>

namespace qn {

// What the choice of folder reads from the environment.
struct FolderEnvironment {
    QString quillnoteHome;  // QUILLNOTE_HOME
    QString xdgDataHome;    // XDG_DATA_HOME
    QString home;           // HOME
};

// The option, else environmentHome, else the executable's folder.
QString ResolveProgramFolder(const QStringList& arguments, const QString& environmentHome,
                             const QString& executableFolder);

// <prefix>/share/quillnote when the executable lies in <prefix>/bin and that
// folder exists; empty for any other place (a build folder).
QString InstalledDataFolder(const QString& executableFolder);

// $XDG_DATA_HOME/quillnote; ~/.local/share/quillnote when XDG_DATA_HOME is
// unset or not absolute (as the XDG base directory rules say).
QString PerUserFolder(const FolderEnvironment& env);

struct ProgramFolderChoice {
    QString folder;   // the program folder
    QString bundled;  // the installed copies the folder is made from; empty: none
};

ProgramFolderChoice ChooseProgramFolder(const QStringList& arguments, const FolderEnvironment& env,
                                        const QString& executableFolder);

// Makes choice.folder as a copy of choice.bundled when it does not exist yet
// (an existing folder is the user's and is left alone). The copy is made in a
// temporary folder beside it and renamed into place, so an interrupted start
// leaves no half-filled folder. Error text, empty on success.
QString PrepareProgramFolder(const ProgramFolderChoice& choice);

// The folder to read from without creating anything: the chosen one if it
// exists, else the installed copies.
QString ExistingProgramFolder(const ProgramFolderChoice& choice);

// The environment of the running process.
FolderEnvironment ProcessFolderEnvironment();

// The folder for the running application (needs a QCoreApplication): chosen and
// prepared; if the user's folder cannot be made, the installed copies are used
// read-only and the reason goes to standard error.
QString ProgramFolder();

// A file or folder below the program folder, e.g. ProgramPath(folder, "s/k0.bmp").
QString ProgramPath(const QString& folder, const QString& relative);

}  // namespace qn
