#include "ExportCommand.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <QThread>

#include "BatchExport.h"
#include "ProgramFolder.h"
#include "RegularFile.h"
#include "SettingsFile.h"

namespace qn {

namespace {

const char kUsage[] =
    "Usage: quillnote --export SOURCE... [--out DIR] [--scale PERCENT] [--format bmp|png|pdf|svg|mid|musicxml|wav]\n"
    "                 [--print-style vector|as-shown] [--home DIR]\n"
    "  SOURCE    a document's page bitmap, or a folder (every bitmap with a sidecar in it)\n"
    "  --out     the folder for the pictures (default: a new \"导出 hhmmss\" folder in each\n"
    "            source folder, or beside each source file)\n"
    "  --scale   export size in percent, 50 to 200 (default: the export ratio in \"set.ini\")\n"
    "  --format  bmp (default), png, pdf, svg, or the notes read from the page: mid, musicxml\n"
    "            (one file per song: name.musicxml, name-2.musicxml, ...) or wav\n"
    "  --print-style  how PDF and SVG draw the page: vector (default, \"矢量\": drawn anew\n"
    "            from its music) or as-shown (\"原样\": the very pixels, as a lossless picture)\n"
    "  --home    the program folder (lists, picture library, \"set.ini\")\n";

int usageError(QTextStream& err, const QString& why) {
    err << "quillnote: " << why << "\n" << kUsage;
    err.flush();
    return 2;
}

// The export ratio stored in "set.ini", read without creating or changing the
// file. A "set.ini" that is there but refused (a FIFO, a device, too large) is
// named on err; the ratio is then 0, which exports at 100 %.
int storedExportRatio(const QString& programFolder, QTextStream& err) {
    const QString path = QDir(programFolder).filePath(QStringLiteral("set.ini"));
    const RegularFileRead read = ReadRegularFile(path, kMaxOptionsFileSize, 1);
    if (!read.error.isEmpty()) {
        if (!read.missing) err << "quillnote: " << read.error << "\n";
        return 0;
    }
    return read.bytes.isEmpty() ? 0 : int(quint8(read.bytes[0]));
}

}  // namespace

bool IsExportCommand(const QStringList& arguments) {
    for (int i = 1; i < arguments.size(); ++i)
        if (arguments[i] == QLatin1String("--export")) return true;
    return false;
}

int RunExportCommand(const QStringList& arguments, const QString& executableFolder, QTextStream& out,
                     QTextStream& err, bool progressOnErr) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption exportOption(QStringLiteral("export"));
    const QCommandLineOption outOption(QStringLiteral("out"), QString(), QStringLiteral("DIR"));
    const QCommandLineOption scaleOption(QStringLiteral("scale"), QString(), QStringLiteral("PERCENT"));
    const QCommandLineOption formatOption(QStringLiteral("format"), QString(), QStringLiteral("FORMAT"));
    const QCommandLineOption homeOption(QStringLiteral("home"), QString(), QStringLiteral("DIR"));
    const QCommandLineOption styleOption(QStringLiteral("print-style"), QString(), QStringLiteral("STYLE"));
    parser.addOptions({exportOption, outOption, scaleOption, formatOption, homeOption, styleOption});
    if (!parser.parse(arguments)) return usageError(err, parser.errorText());
    if (!parser.isSet(exportOption)) return usageError(err, QStringLiteral("--export is missing"));
    const QStringList sources = parser.positionalArguments();
    if (sources.isEmpty()) return usageError(err, QStringLiteral("no SOURCE given"));

    ExportFormat format = ExportFormat::Bmp;
    if (parser.isSet(formatOption) && !ParseExportFormat(parser.value(formatOption), format))
        return usageError(err, QStringLiteral("unknown format \"%1\"").arg(parser.value(formatOption)));

    PrintStyle style = PrintStyle::Vector;
    if (parser.isSet(styleOption) && !ParsePrintStyle(parser.value(styleOption), style))
        return usageError(err, QStringLiteral("unknown print style \"%1\"").arg(parser.value(styleOption)));

    // An export only reads the program folder: it makes no folder of the user's.
    const QString home =
        ExistingProgramFolder(ChooseProgramFolder(arguments, ProcessFolderEnvironment(), executableFolder));
    int scale = 0;
    if (parser.isSet(scaleOption)) {
        bool ok = false;
        scale = parser.value(scaleOption).toInt(&ok);
        if (!ok || scale < 1) return usageError(err, QStringLiteral("--scale needs a percentage"));
    } else {
        scale = storedExportRatio(home, err);
    }
    scale = EffectiveExportScale(scale);

    const QString folderName = ExportFolderName(QTime::currentTime());
    const QString outDir = parser.value(outOption);
    int failures = 0;
    std::vector<ExportJob> jobs;
    QStringList madeFolders;
    auto outputFolder = [&](const QString& besideOrInside) -> QString {
        const QString folder = outDir.isEmpty() ? QDir(besideOrInside).filePath(folderName) : outDir;
        if (!madeFolders.contains(folder)) {
            if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir()) return QString();
            madeFolders << folder;
        }
        return folder;
    };

    for (const QString& source : sources) {
        const QFileInfo info(source);
        if (!info.exists()) {
            // A symlink loop or a dangling link says so, not "文件不存在".
            err << source << ": " << RegularFileProblem(source) << "\n";
            ++failures;
            continue;
        }
        QStringList names;
        QString sourceFolder;
        if (info.isDir()) {
            sourceFolder = info.absoluteFilePath();
            // Exported from the last to the first, as the batch of the window does.
            names = ExportableDocuments(sourceFolder);
            std::reverse(names.begin(), names.end());
        } else {
            sourceFolder = info.absolutePath();
            names << info.fileName();
        }
        if (names.isEmpty()) continue;
        const QString folder = outputFolder(sourceFolder);
        if (folder.isEmpty()) {
            err << (outDir.isEmpty() ? QDir(sourceFolder).filePath(folderName) : outDir)
                << ": 无法创建输出文件夹\n";
            failures += int(names.size());
            continue;
        }
        for (const QString& name : names)
            jobs.push_back({QDir(sourceFolder).filePath(name), QDir(folder).filePath(ExportFileName(name, format))});
    }

    ExportSource src;
    src.context = ProgramFolderContext(home);
    src.pdfStyle = style;
    auto progress = [&](int done, int total) {
        if (progressOnErr) {
            err << "\r" << done << "/" << total;
            if (done == total) err << "\n";
            err.flush();
        }
        return true;
    };
    const std::vector<ExportOutcome> outcomes =
        RunExportJobs(jobs, format, scale, src, QThread::idealThreadCount(), progress);
    for (const ExportOutcome& o : outcomes) {
        for (const QString& note : o.notes) err << o.source << ": " << note << "\n";
        if (o.error.isEmpty()) {
            out << o.source << " -> " << o.target << "\n";
        } else {
            err << o.error << "\n";
            ++failures;
        }
    }
    out.flush();
    err.flush();
    return failures == 0 ? 0 : 1;
}

}  // namespace qn
