#pragma once
// The installer's steps: put Quillnote's desktop entry and icon into the user's
// data folder and refresh the desktop's application list. No window here; the
// caller shows the outcome.

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace installer {

struct InstallReport {
    QStringList failedSteps;  // one line per failed step, in step order
    bool ok() const { return failedSteps.isEmpty(); }
    // "安装成功", or "安装失败" followed by the failed steps, one per line.
    QString message() const;
};

// Runs the steps in their fixed order; a failed step is noted and the next runs.
// `programFolder` is the installer's own folder (it holds "kos").
InstallReport RunInstall(const QString& programFolder, const QProcessEnvironment& env);

// $XDG_DATA_HOME when it is an absolute path, else $HOME/.local/share.
QString DataHome(const QProcessEnvironment& env);
// The quillnote program in `folder` or the folder above it; empty when neither has one.
QString FindQuillnote(const QString& folder);
// `path` as the program of a desktop entry's Exec value: quoted when it holds a
// reserved character, with the string escapes of the entry format applied.
QString DesktopExecProgram(const QString& path);

}  // namespace installer
