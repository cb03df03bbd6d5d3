#include "Installer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>

namespace installer {

namespace {

const QString kDesktopSource = QStringLiteral("/kos/quillnote.desktop");
const QString kIconSource = QStringLiteral("/kos/quillnote.png");

QString describeCopy(const QString& src, const QString& dst, const QString& reason) {
    return QStringLiteral("复制 %1 到 %2：%3").arg(src, dst, reason);
}

// Reads a source file whole; false when it is missing or unreadable.
bool readSource(const QString& path, QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    bytes = f.readAll();
    return f.error() == QFile::NoError;
}

// Writes `bytes` to `path`, replacing what is there, creating the folders on
// the way. Returns an empty string or the reason of the failure.
QString writeDestination(const QString& path, const QByteArray& bytes) {
    const QString dir = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(dir)) return QStringLiteral("无法创建文件夹 %1").arg(dir);
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
        return QStringLiteral("无法写入目标文件");
    return {};
}

// Replaces the value of every Exec line of the entry. False when it has none.
bool fillExec(QByteArray& entry, const QString& program) {
    QList<QByteArray> lines = entry.split('\n');
    bool found = false;
    for (QByteArray& line : lines) {
        if (line.startsWith("Exec=")) {
            line = "Exec=" + DesktopExecProgram(program).toUtf8();
            found = true;
        }
    }
    entry = lines.join('\n');
    return found;
}

}  // namespace

QString InstallReport::message() const {
    if (ok()) return QStringLiteral("安装成功");
    return QStringLiteral("安装失败\n") + failedSteps.join(QLatin1Char('\n'));
}

QString DataHome(const QProcessEnvironment& env) {
    const QString xdg = env.value(QStringLiteral("XDG_DATA_HOME"));
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg)) return QDir::cleanPath(xdg);
    QString home = env.value(QStringLiteral("HOME"));
    if (home.isEmpty()) home = QDir::homePath();
    return QDir::cleanPath(home + QStringLiteral("/.local/share"));
}

QString FindQuillnote(const QString& folder) {
    const QDir here(folder);
    for (const QString& candidate : {here.filePath(QStringLiteral("quillnote")),
                                     here.filePath(QStringLiteral("../quillnote"))}) {
        const QFileInfo fi(candidate);
        if (fi.isFile() && fi.isExecutable()) return QDir::cleanPath(fi.absoluteFilePath());
    }
    return {};
}

QString DesktopExecProgram(const QString& path) {
    // Reserved characters of an Exec argument; such an argument is quoted, and
    // inside the quotes " ` $ \ take a backslash.
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool quote = false;
    for (QChar c : path) quote = quote || reserved.contains(c);
    QString arg;
    if (quote) {
        arg += QLatin1Char('"');
        for (QChar c : path) {
            if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
                c == QLatin1Char('\\'))
                arg += QLatin1Char('\\');
            arg += c;
        }
        arg += QLatin1Char('"');
    } else {
        arg = path;
    }
    // The entry's string escapes, then the field-code escape of a literal %.
    QString value;
    for (QChar c : arg) {
        if (c == QLatin1Char('\\')) value += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n')) value += QStringLiteral("\\n");
        else if (c == QLatin1Char('\t')) value += QStringLiteral("\\t");
        else if (c == QLatin1Char('\r')) value += QStringLiteral("\\r");
        else if (c == QLatin1Char('%')) value += QStringLiteral("%%");
        else value += c;
    }
    return value;
}

InstallReport RunInstall(const QString& programFolder, const QProcessEnvironment& env) {
    InstallReport report;
    const QString data = DataHome(env);
    const QString applications = data + QStringLiteral("/applications");

    // 1. The desktop entry, its Exec line naming the program found beside us.
    {
        const QString src = programFolder + kDesktopSource;
        const QString dst = applications + QStringLiteral("/quillnote.desktop");
        QByteArray entry;
        const QString program = FindQuillnote(programFolder);
        QString reason;
        if (!readSource(src, entry)) reason = QStringLiteral("源文件不存在或无法读取");
        else if (program.isEmpty())
            reason = QStringLiteral("在 %1 及其上一级文件夹中找不到 quillnote 程序").arg(programFolder);
        else if (!fillExec(entry, program)) reason = QStringLiteral("源文件没有 Exec 行");
        else reason = writeDestination(dst, entry);
        if (!reason.isEmpty()) report.failedSteps << describeCopy(src, dst, reason);
    }

    // 2. The icon.
    {
        const QString src = programFolder + kIconSource;
        const QString dst = data + QStringLiteral("/icons/hicolor/64x64/apps/quillnote.png");
        QByteArray icon;
        const QString reason = readSource(src, icon) ? writeDestination(dst, icon)
                                                     : QStringLiteral("源文件不存在或无法读取");
        if (!reason.isEmpty()) report.failedSteps << describeCopy(src, dst, reason);
    }

    // 3. Refresh the desktop's list of applications; its outcome is not awaited.
    {
        QProcess tool;
        tool.setProgram(QStringLiteral("update-desktop-database"));
        tool.setArguments({applications});
        tool.setProcessEnvironment(env);
        tool.setStandardOutputFile(QProcess::nullDevice());
        tool.setStandardErrorFile(QProcess::nullDevice());
        if (!tool.startDetached())
            report.failedSteps << QStringLiteral("启动 update-desktop-database %1：命令无法启动").arg(applications);
    }
    return report;
}

}  // namespace installer
