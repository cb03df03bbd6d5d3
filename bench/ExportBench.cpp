// The command-line export of a folder of 200 documents (a default page with
// eight typed lines, the header and ten overlays each) at scale 100, on one
// thread and on all cores, as BMP, PNG and PDF. The many-thread output must be
// byte for byte the one-thread output.
#include <benchmark/benchmark.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include "BatchExport.h"
#include "SampleDocument.h"

namespace {

constexpr int kDocuments = 200;

struct Folder {
    QTemporaryDir dir;
    QString songs;
    qn::ExportSource source;

    Folder() {
        qn::Form1 form{QStringLiteral(QUILLNOTE_PROGRAM_DIR)};
        qn::bench::FillSampleDocument(form);
        songs = QDir(dir.path()).filePath(QStringLiteral("songs"));
        QDir().mkpath(songs);
        form.editor().st.DocumentPath = QDir(songs).filePath(QStringLiteral("s000.bmp"));
        form.SaveScore();
        for (int d = 1; d < kDocuments; ++d) {
            const QString name = QStringLiteral("s%1").arg(d, 3, 10, QLatin1Char('0'));
            QFile::copy(QDir(songs).filePath("s000.bmp"), QDir(songs).filePath(name + ".bmp"));
            QFile::copy(QDir(songs).filePath("s000.dat"), QDir(songs).filePath(name + ".dat"));
        }
        source.context = qn::ProgramFolderContext(QStringLiteral(QUILLNOTE_PROGRAM_DIR));
    }

    std::vector<qn::ExportJob> jobs(const QString& out, qn::ExportFormat format) const {
        std::vector<qn::ExportJob> j;
        QStringList names = qn::ExportableDocuments(songs);
        std::reverse(names.begin(), names.end());
        for (const QString& n : names)
            j.push_back({QDir(songs).filePath(n), QDir(out).filePath(qn::ExportFileName(n, format))});
        return j;
    }
};

Folder& folder() {
    static Folder f;
    return f;
}

QByteArray digestOf(const QString& dir) {
    QCryptographicHash h(QCryptographicHash::Sha1);
    QStringList files = QDir(dir).entryList(QDir::Files, QDir::Name);
    for (const QString& f : files) {
        QFile file(QDir(dir).filePath(f));
        file.open(QIODevice::ReadOnly);
        h.addData(f.toUtf8());
        h.addData(file.readAll());
    }
    return h.result();
}

void BM_ExportFolder(benchmark::State& state) {
    Folder& f = folder();
    const auto format = qn::ExportFormat(state.range(0));
    const int threads = int(state.range(1));
    const QString out = QDir(f.dir.path()).filePath(QStringLiteral("out-%1-%2").arg(state.range(0)).arg(threads));
    for (auto _ : state) {
        state.PauseTiming();
        QDir(out).removeRecursively();
        QDir().mkpath(out);
        state.ResumeTiming();
        const auto outcomes = qn::RunExportJobs(f.jobs(out, format), format, 100, f.source, threads);
        for (const auto& o : outcomes)
            if (!o.error.isEmpty()) state.SkipWithError(o.error.toUtf8().constData());
    }
    state.counters["documents_per_s"] =
        benchmark::Counter(double(kDocuments) * double(state.iterations()), benchmark::Counter::kIsRate);
    if (format != qn::ExportFormat::Pdf && threads > 1) {
        // The same pictures as one thread makes (a PDF carries its creation time).
        const QString single = out + QStringLiteral("-single");
        QDir().mkpath(single);
        qn::RunExportJobs(f.jobs(single, format), format, 100, f.source, 1);
        if (digestOf(single) != digestOf(out)) state.SkipWithError("many-thread output differs from one thread");
    }
}
BENCHMARK(BM_ExportFolder)
    ->ArgNames({"format", "threads"})
    ->Args({int(qn::ExportFormat::Bmp), 1})
    ->Args({int(qn::ExportFormat::Bmp), 2})
    ->Args({int(qn::ExportFormat::Png), 2})
    ->Args({int(qn::ExportFormat::Pdf), 2})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

}  // namespace
