// install: puts Quillnote into the desktop's application menu.
//
// It copies the desktop entry and the icon from the "kos" folder beside it into
// the user's data folder, starts update-desktop-database, and shows the outcome
// titled "提示". With a display the outcome is a message box; without one (or
// on the offscreen and minimal platforms) it is printed, success on standard
// output and failure on standard error. Exit status 0 on success, 1 otherwise.

#include "Installer.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <memory>

namespace {

bool headlessPlatform(const QString& name) {
    return name.startsWith(QLatin1String("offscreen")) || name.startsWith(QLatin1String("minimal"));
}

// A message box needs a display; decide before any application object exists.
bool wantMessageBox() {
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    if (!platform.isEmpty()) return !headlessPlatform(platform);
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

}  // namespace

int main(int argc, char** argv) {
    const bool box = wantMessageBox();
    // A display that cannot be reached falls back to printing instead of aborting.
    if (box && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
                                       ? QByteArray("xcb;offscreen")
                                       : QByteArray("wayland;xcb;offscreen"));
    std::unique_ptr<QCoreApplication> app(box ? new QApplication(argc, argv)
                                              : new QCoreApplication(argc, argv));

    const installer::InstallReport report = installer::RunInstall(
        QCoreApplication::applicationDirPath(), QProcessEnvironment::systemEnvironment());
    const QString text = report.message();

    if (box && !headlessPlatform(QGuiApplication::platformName())) {
        QMessageBox msg(report.ok() ? QMessageBox::Information : QMessageBox::Critical,
                        QStringLiteral("提示"), text, QMessageBox::Ok);
        msg.exec();
    } else {
        std::FILE* out = report.ok() ? stdout : stderr;
        std::fprintf(out, "%s\n", text.toLocal8Bit().constData());
        std::fflush(out);
    }
    return report.ok() ? 0 : 1;
}
