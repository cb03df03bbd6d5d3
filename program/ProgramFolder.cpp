#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace qn {

QString ResolveProgramFolder(const QStringList& arguments, const QString& environmentHome,
                             const QString& executableFolder) {
    QString chosen;
    // The last --home wins, as with most command-line options; arguments[0] is the program.
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--home") && i + 1 < arguments.size())
            chosen = arguments[++i];
        else if (a.startsWith(QLatin1String("--home=")))
            chosen = a.mid(7);
    }
    if (chosen.isEmpty()) chosen = environmentHome;
    if (chosen.isEmpty()) chosen = executableFolder;
    return QDir::cleanPath(QDir(chosen).absolutePath());
}

QString ProgramFolder() {
    return ResolveProgramFolder(QCoreApplication::arguments(),
                                qEnvironmentVariable("QUILLNOTE_HOME"),
                                QCoreApplication::applicationDirPath());
}

QString ProgramPath(const QString& folder, const QString& relative) {
    return QDir(folder).filePath(relative);
}

}  // namespace qn
