// Quillnote: the program. Option --home DIR chooses the program folder;
// --export SOURCE... exports pictures without a window (see ExportCommand.h).
#include <QApplication>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>
#include <unistd.h>

#include "ExportCommand.h"
#include "Form1.h"
#include "ProgramFolder.h"

namespace {
// The export prints its own lines; the platform's notes about the session
// (no runtime folder on a bare terminal) are not the user's business there.
void quietPlatformNotes(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtWarningMsg && text.contains(QLatin1String("XDG_RUNTIME_DIR"))) return;
    QTextStream(stderr) << qFormatLogMessage(type, context, text) << "\n";
}
}  // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    if (qn::IsExportCommand(arguments)) {
        // No window and no display: pictures are drawn off screen.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(quietPlatformNotes);
        QGuiApplication app(argc, argv);
        QTextStream out(stdout), err(stderr);
        return qn::RunExportCommand(QCoreApplication::arguments(), QCoreApplication::applicationDirPath(), out,
                                    err, ::isatty(STDERR_FILENO) == 1);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillnote"));
    qn::Form1 form(qn::ProgramFolder());
    form.show();
    return app.exec();
}
