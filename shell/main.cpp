// Quillnote: the program. Option --home DIR chooses the program folder;
// --export SOURCE... exports pictures without a window (see ExportCommand.h);
// --import SONG writes a MusicXML song as documents without a window (ImportCommand.h);
// --version and --help answer without a window.
#include <QApplication>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>
#include <unistd.h>

#include "ExportCommand.h"
#include "Form1.h"
#include "ImportCommand.h"
#include "ProgramFolder.h"

namespace {
// The export prints its own lines; the platform's notes about the session
// (no runtime folder on a bare terminal) are not the user's business there.
void quietPlatformNotes(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtWarningMsg && text.contains(QLatin1String("XDG_RUNTIME_DIR"))) return;
    QTextStream(stderr) << qFormatLogMessage(type, context, text) << "\n";
}
const char kHelp[] =
    "Usage: quillnote [--home DIR]\n"
    "       quillnote --export SOURCE... [--out DIR] [--scale PERCENT] [--format bmp|png|pdf|svg|mid|musicxml|wav]\n"
    "                 [--print-style vector|as-shown] [--home DIR]\n"
    "       quillnote --import SONG.musicxml|SONG.mxl [--out DIR] [--part N] [--home DIR]\n"
    "       quillnote --version | --help\n"
    "  --home DIR   the program folder (lists, picture library, \"set.ini\"); also QUILLNOTE_HOME.\n"
    "               Installed, the default is $XDG_DATA_HOME/quillnote (~/.local/share/quillnote).\n"
    "  --export     write pictures or notes of documents without a window (see quillnote --export)\n"
    "  --import     write a MusicXML song as documents without a window (see quillnote --import)\n"
    "See quillnote(1) for the keys.\n";

}  // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    if (arguments.contains(QLatin1String("--version"))) {
        std::fputs("quillnote " QUILLNOTE_VERSION "\n", stdout);
        return 0;
    }
    if (arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h"))) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (qn::IsExportCommand(arguments)) {
        // No window and no display: pictures are drawn off screen.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(quietPlatformNotes);
        QGuiApplication app(argc, argv);
        QTextStream out(stdout), err(stderr);
        return qn::RunExportCommand(QCoreApplication::arguments(), QCoreApplication::applicationDirPath(), out,
                                    err, ::isatty(STDERR_FILENO) == 1);
    }
    if (qn::import::IsImportCommand(arguments)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(quietPlatformNotes);
        QGuiApplication app(argc, argv);
        QTextStream out(stdout), err(stderr);
        return qn::import::RunImportCommand(QCoreApplication::arguments(), QCoreApplication::applicationDirPath(), out,
                                            err);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillnote"));
    qn::Form1 form(qn::ProgramFolder());
    form.show();
    return app.exec();
}
