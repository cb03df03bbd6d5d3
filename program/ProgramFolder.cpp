#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

namespace qn {

namespace {

QString Clean(const QString& path) { return QDir::cleanPath(QDir(path).absolutePath()); }

// The option's value, empty when not given. The last --home wins, as with most
// command-line options; arguments[0] is the program.
QString HomeOption(const QStringList& arguments) {
    QString chosen;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--home") && i + 1 < arguments.size())
            chosen = arguments[++i];
        else if (a.startsWith(QLatin1String("--home=")))
            chosen = a.mid(7);
    }
    return chosen;
}

// Copies every file and folder below from into to (which exists). The copies
// belong to the user and are writable whatever the installed modes are.
QString CopyTree(const QString& from, const QString& to) {
    const QDir source(from);
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        const QString target = QDir(to).filePath(source.relativeFilePath(path));
        if (info.isDir()) {
            if (!QDir().mkpath(target)) return QStringLiteral("cannot create %1").arg(target);
            continue;
        }
        if (!QFile::copy(path, target))
            return QStringLiteral("cannot copy %1 to %2").arg(path, target);
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                          QFile::WriteUser | QFile::ReadGroup | QFile::ReadOther);
    }
    return QString();
}

}  // namespace

QString ResolveProgramFolder(const QStringList& arguments, const QString& environmentHome,
                             const QString& executableFolder) {
    QString chosen = HomeOption(arguments);
    if (chosen.isEmpty()) chosen = environmentHome;
    if (chosen.isEmpty()) chosen = executableFolder;
    return Clean(chosen);
}

QString InstalledDataFolder(const QString& executableFolder) {
    const QDir bin(Clean(executableFolder));
    if (bin.dirName() != QLatin1String("bin")) return QString();
    const QString data = Clean(bin.filePath(QStringLiteral("../share/quillnote")));
    return QFileInfo(data).isDir() ? data : QString();
}

QString PerUserFolder(const FolderEnvironment& env) {
    QString base = env.xdgDataHome;
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir(env.home).filePath(QStringLiteral(".local/share"));
    return Clean(QDir(base).filePath(QStringLiteral("quillnote")));
}

ProgramFolderChoice ChooseProgramFolder(const QStringList& arguments, const FolderEnvironment& env,
                                        const QString& executableFolder) {
    QString chosen = HomeOption(arguments);
    if (chosen.isEmpty()) chosen = env.quillnoteHome;
    if (!chosen.isEmpty()) return {Clean(chosen), QString()};
    const QString bundled = InstalledDataFolder(executableFolder);
    if (bundled.isEmpty()) return {Clean(executableFolder), QString()};
    return {PerUserFolder(env), bundled};
}

QString PrepareProgramFolder(const ProgramFolderChoice& choice) {
    if (choice.bundled.isEmpty()) return QString();
    const QFileInfo target(choice.folder);
    if (target.isDir()) return QString();
    if (target.exists()) return QStringLiteral("%1 is not a folder").arg(choice.folder);
    const QString parent = target.absolutePath();
    if (!QDir().mkpath(parent)) return QStringLiteral("cannot create %1").arg(parent);
    QTemporaryDir work(QDir(parent).filePath(QStringLiteral(".quillnote-new-XXXXXX")));
    if (!work.isValid()) return QStringLiteral("cannot create a folder in %1").arg(parent);
    const QString copied = CopyTree(choice.bundled, work.path());
    if (!copied.isEmpty()) return copied;
    if (QDir().rename(work.path(), choice.folder)) {
        work.setAutoRemove(false);
        return QString();
    }
    // Another start may have made it meanwhile; that one is as good.
    if (QFileInfo(choice.folder).isDir()) return QString();
    return QStringLiteral("cannot rename %1 to %2").arg(work.path(), choice.folder);
}

QString ExistingProgramFolder(const ProgramFolderChoice& choice) {
    if (choice.bundled.isEmpty() || QFileInfo(choice.folder).isDir()) return choice.folder;
    return choice.bundled;
}

FolderEnvironment ProcessFolderEnvironment() {
    return {qEnvironmentVariable("QUILLNOTE_HOME"), qEnvironmentVariable("XDG_DATA_HOME"),
            qEnvironmentVariable("HOME", QDir::homePath())};
}

QString ProgramFolder() {
    const ProgramFolderChoice choice = ChooseProgramFolder(
        QCoreApplication::arguments(), ProcessFolderEnvironment(), QCoreApplication::applicationDirPath());
    const QString error = PrepareProgramFolder(choice);
    if (error.isEmpty()) return choice.folder;
    QTextStream(stderr) << "quillnote: the program folder " << choice.folder << " cannot be made ("
                        << error << "); using " << choice.bundled << " read-only\n";
    return choice.bundled;
}

QString ProgramPath(const QString& folder, const QString& relative) {
    return QDir(folder).filePath(relative);
}

}  // namespace qn
