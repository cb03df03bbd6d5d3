#include "ImportCommand.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include "BatchExport.h"
#include "Importer.h"
#include "ProgramFolder.h"

namespace qn::import {

namespace {

const char kUsage[] =
    "Usage: quillnote --import SONG.musicxml|SONG.mxl [--out DIR] [--part N] [--home DIR]\n"
    "  SONG      a MusicXML score (.musicxml, .xml, or compressed .mxl)\n"
    "  --out     the folder for the documents (default: the song's folder)\n"
    "  --part    the part to import, counted from 1 (default: the first part with notes)\n"
    "  --home    the program folder (picture library for grace notes)\n";

int usageError(QTextStream& err, const QString& why) {
    err << "quillnote: " << why << "\n" << kUsage;
    err.flush();
    return 2;
}

}  // namespace

bool IsImportCommand(const QStringList& arguments) {
    for (int i = 1; i < arguments.size(); ++i)
        if (arguments[i] == QLatin1String("--import")) return true;
    return false;
}

QString DocumentBaseName(const QString& title, const QString& sourcePath) {
    QString name = title.trimmed();
    for (QChar& c : name)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 32 || c == QLatin1Char(':')) c = QLatin1Char('_');
    if (name.startsWith(QLatin1Char('.'))) name.replace(0, 1, QLatin1Char('_'));
    if (name.isEmpty()) name = QFileInfo(sourcePath).completeBaseName();
    return name.isEmpty() ? QStringLiteral("导入") : name.left(80);
}

int RunImportCommand(const QStringList& arguments, const QString& executableFolder, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption importOption(QStringLiteral("import"));
    const QCommandLineOption outOption(QStringLiteral("out"), QString(), QStringLiteral("DIR"));
    const QCommandLineOption partOption(QStringLiteral("part"), QString(), QStringLiteral("N"));
    const QCommandLineOption homeOption(QStringLiteral("home"), QString(), QStringLiteral("DIR"));
    parser.addOptions({importOption, outOption, partOption, homeOption});
    if (!parser.parse(arguments)) return usageError(err, parser.errorText());
    if (!parser.isSet(importOption)) return usageError(err, QStringLiteral("--import is missing"));
    const QStringList sources = parser.positionalArguments();
    if (sources.size() != 1) return usageError(err, QStringLiteral("give exactly one SONG"));
    ImportOptions options;
    if (parser.isSet(partOption)) {
        bool ok = false;
        options.part = parser.value(partOption).toInt(&ok);
        if (!ok || options.part < 1) return usageError(err, QStringLiteral("--part needs a number from 1"));
    }
    const QString source = sources[0];

    const ImportResult r = ImportMusicXmlFile(source, options);
    if (!r.error.isEmpty()) {
        err << source << ": " << r.error << "\n";
        err.flush();
        return 1;
    }
    const QString home =
        ExistingProgramFolder(ChooseProgramFolder(arguments, ProcessFolderEnvironment(), executableFolder));
    const QStringList library = ProgramFolderContext(home).libraryFiles;

    const QString folder = parser.isSet(outOption) ? parser.value(outOption) : QFileInfo(source).absolutePath();
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir()) {
        err << folder << ": 无法创建输出文件夹\n";
        err.flush();
        return 1;
    }
    const QString first = QDir(folder).filePath(DocumentBaseName(r.song.title, source) + QStringLiteral(".bmp"));
    QStringList written, notes;
    const QString error = WriteImportedPages(r, first, library, 0, &written, &notes);
    for (const QString& path : written) out << path << "\n";
    out.flush();
    for (const QString& n : r.notes() + notes) err << source << ": " << n << "\n";
    if (!r.song.composer.isEmpty())
        err << source << ": composer \"" << r.song.composer << "\" not written: the credits are the window's label, not the document's\n";
    err << source << ": " << r.pageCount() << (r.pageCount() == 1 ? " page; " : " pages; ") << r.proofSummary() << "\n";
    if (!error.isEmpty()) err << error << "\n";
    err.flush();
    return written.isEmpty() ? 1 : error.isEmpty() ? 0 : 1;
}

}  // namespace qn::import
