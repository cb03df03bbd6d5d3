#include "BatchExport.h"

#include <QDir>
#include <QFileInfo>
#include <QPageSize>
#include <QPdfWriter>
#include <atomic>
#include <mutex>
#include <condition_variable>
#include <thread>

#include "ListFile.h"
#include "OutputFile.h"
#include "RegularFile.h"
#include "MidiWriter.h"
#include "MusicXmlWriter.h"
#include "PageReader.h"
#include "VectorPage.h"
#include "Performance.h"
#include "WavWriter.h"

namespace qn {

namespace {
QString describe(const QString& path, const QString& reason) { return QStringLiteral("%1: %2").arg(path, reason); }
}  // namespace

score::ScoreHeader ScoreHeaderOf(const PageFacts& facts) {
    score::ScoreHeader h;
    h.title = facts.title;
    h.key = facts.key;
    h.beatsPerBar = facts.numerator.toInt();
    h.beatUnit = facts.denominator.toInt();
    h.tempo = score::TempoFromLabel(facts.tempo);
    h.tempoLabel = facts.tempo;
    return h;
}

bool ParseExportFormat(const QString& text, ExportFormat& format) {
    const QString t = text.toLower();
    if (t == QLatin1String("bmp")) format = ExportFormat::Bmp;
    else if (t == QLatin1String("png")) format = ExportFormat::Png;
    else if (t == QLatin1String("pdf")) format = ExportFormat::Pdf;
    else if (t == QLatin1String("mid") || t == QLatin1String("midi")) format = ExportFormat::Midi;
    else if (t == QLatin1String("musicxml") || t == QLatin1String("xml")) format = ExportFormat::MusicXml;
    else if (t == QLatin1String("wav")) format = ExportFormat::Wav;
    else if (t == QLatin1String("svg")) format = ExportFormat::Svg;
    else return false;
    return true;
}

bool ExportFormatOfName(const QString& fileName, ExportFormat& format) {
    const QString suffix = QFileInfo(fileName).suffix();
    return !suffix.isEmpty() && ParseExportFormat(suffix, format);
}

QStringList ExportableDocuments(const QString& folder) {
    const QDir dir(folder);
    QStringList out;
    // Every entry counts, whatever it is (a folder, a FIFO, a broken link): a
    // document that cannot be exported is named with its reason, never skipped
    // without a word.
    const QDir::Filters any = QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot;
    for (const QString& name : dir.entryList({QStringLiteral("*.bmp")}, any, QDir::Name | QDir::IgnoreCase))
        if (EntryExists(SidecarPath(dir.filePath(name)))) out << name;
    return out;
}

QString ExportFolderName(const QTime& time) {
    return QStringLiteral("导出 ") + time.toString(QStringLiteral("HHmmss"));
}

QString ExportFileName(const QString& sourceName, ExportFormat format) {
    if (format == ExportFormat::Bmp) return sourceName;
    const QString suffix = format == ExportFormat::Png   ? QStringLiteral("png")
                         : format == ExportFormat::Pdf   ? QStringLiteral("pdf")
                         : format == ExportFormat::Midi  ? QStringLiteral("mid")
                         : format == ExportFormat::Wav   ? QStringLiteral("wav")
                         : format == ExportFormat::Svg   ? QStringLiteral("svg")
                                                         : QStringLiteral("musicxml");
    const QFileInfo info(sourceName);
    const QString base = info.suffix().isEmpty() ? info.fileName() : info.completeBaseName();
    return base + QLatin1Char('.') + suffix;
}

namespace {

// What a reading left out, in a few lines: the count, then where.
QStringList readingNotes(const score::Score& s, const score::ScoreHeader& header) {
    QStringList out;
    if (s.empty()) out << QStringLiteral("页面上没有音符 (no notes on the page)");
    if (!s.skipped.empty()) {
        QStringList where;
        for (size_t i = 0; i < s.skipped.size() && i < 20; ++i)
            where << QStringLiteral("line %1, x %2: %3")
                         .arg(s.skipped[i].line + 1)
                         .arg(s.skipped[i].x)
                         .arg(s.skipped[i].reason);
        if (s.skipped.size() > 20) where << QStringLiteral("...");
        out << QStringLiteral("%1 mark(s) not placed: %2").arg(s.skipped.size()).arg(where.join(QStringLiteral("; ")));
    }
    for (const score::ResolvedSong& song : score::ResolveSongs(s, header)) out << song.header.problems;
    return out;
}

}  // namespace

QString WriteComposition(PageComposition composition, const QString& target, ExportFormat format,
                         int scalePercent, QStringList* notes, PrintStyle style) {
    if (QFileInfo(target).isDir()) return describe(target, QStringLiteral("不是文件"));
    if (format == ExportFormat::Midi || format == ExportFormat::MusicXml || format == ExportFormat::Wav) {
        score::Score read = score::ReadPage(composition.page, composition.facts.linePitch);
        std::vector<score::OverlayMark> marks;
        for (const PageFacts::Overlay& o : composition.facts.overlays) marks.push_back({o.picture, o.text, o.rect});
        score::AttachOverlays(read, marks, composition.facts.linePitch);
        const score::ScoreHeader header = ScoreHeaderOf(composition.facts);
        if (notes) *notes << readingNotes(read, header);
        const QString error = format == ExportFormat::Midi ? score::SaveMidi(score::Perform(read, header), target)
                              : format == ExportFormat::Wav ? score::SaveWav(score::Perform(read, header), target)
                                                            : score::SaveMusicXml(read, header, target);
        return error.isEmpty() ? QString() : describe(target, error);
    }
    OutputFile file(target);
    QString reason;
    if (!file.open(&reason)) return describe(target, reason);
    QFile& out = file.device();
    bool written = false;
    if (format == ExportFormat::Pdf) {
        QPdfWriter pdf(&out);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setResolution(300);
        pdf.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        pdf.setCreator(QStringLiteral("Quillnote"));
        written = RenderOnPagedDevice(composition, pdf, style);
    } else if (format == ExportFormat::Svg) {
        written = WriteSvg(composition, out, style).isEmpty();
    } else {
        const QImage picture = ScaleForExport(RenderComposition(std::move(composition)), scalePercent);
        // PNG: in the smallest exact form (1-bit or grey where the page allows), light
        // compression; the pages are mostly white and compress well anyway.
        written = format == ExportFormat::Png ? ExactPicture(picture).save(&out, "PNG", 80) : WriteBmp24(picture, out);
    }
    if (!written) {
        file.cancel();
        return describe(target, QStringLiteral("无法写入图片"));
    }
    if (!file.commit(&reason)) return describe(target, reason);
    return QString();
}

QString ExportDocument(const QString& bitmapPath, const QString& target, ExportFormat format,
                       int scalePercent, const ExportSource& source, QStringList* notes) {
    QImage bitmap;
    const QString error = LoadPageBitmap(bitmapPath, bitmap);
    if (!error.isEmpty()) return error;
    ScoreDocument doc = source.current;
    ScoreDocument::Held held;
    const QString sidecar = SidecarPath(bitmapPath);
    // No sidecar: the window's values. One that cannot be read is an error,
    // never silently replaced by them.
    if (EntryExists(sidecar)) {
        const QString sideError = ReadSidecarFile(sidecar, doc, true, &held);
        if (!sideError.isEmpty()) return describe(bitmapPath, QStringLiteral("附属文件无法读取 (%1)").arg(sideError));
    }
    return WriteComposition(ComposeDocument(std::move(bitmap), doc, held, source.context), target, format,
                            scalePercent, notes, source.pdfStyle);
}

namespace {
QString exportJob(const ExportJob& job, ExportFormat format, int scalePercent, const ExportSource& source,
                  QStringList* notes) {
    if (job.asShown) return WriteComposition(*job.asShown, job.target, format, scalePercent, notes, source.pdfStyle);
    return ExportDocument(job.source, job.target, format, scalePercent, source, notes);
}
}  // namespace

void MemoryBudget::acquire(qint64 bytes) {
    std::unique_lock<std::mutex> lock(m_);
    // A job larger than the whole budget runs, but alone.
    freed_.wait(lock, [&] { return used_ == 0 || used_ + bytes <= limit_; });
    used_ += bytes;
}

void MemoryBudget::release(qint64 bytes) {
    {
        std::lock_guard<std::mutex> lock(m_);
        used_ -= bytes;
    }
    freed_.notify_all();
}

qint64 MemoryBudget::used() const {
    std::lock_guard<std::mutex> lock(m_);
    return used_;
}

qint64 ExportMemoryCost(const QString& bitmapPath, int scalePercent) {
    const QSize size = BitmapHeaderSize(bitmapPath);
    if (!size.isValid()) return 0;  // refused before any pixel is decoded
    const qint64 page = qint64(size.width()) * size.height() * 4;
    const qint64 scale = EffectiveExportScale(scalePercent);
    // The bitmap, its RGB32 copy, the composition, and the scaled picture.
    return 3 * page + page * scale * scale / 10000;
}

std::vector<ExportOutcome> RunExportJobs(const std::vector<ExportJob>& jobs, ExportFormat format,
                                         int scalePercent, const ExportSource& source, int threads,
                                         const std::function<bool(int, int)>& progress, qint64 memoryBudget) {
    const int total = int(jobs.size());
    std::vector<ExportOutcome> outcomes(jobs.size());
    for (size_t i = 0; i < jobs.size(); ++i) outcomes[i] = {jobs[i].source, jobs[i].target, QString(), {}};

    std::atomic<int> next{0};
    std::atomic<bool> cancelled{false};
    std::mutex m;
    std::condition_variable finishedOne;
    int done = 0;
    MemoryBudget budget(memoryBudget);
    auto work = [&] {
        for (int i = next++; i < total; i = next++) {
            if (cancelled) {
                outcomes[size_t(i)].error = describe(jobs[size_t(i)].source, QStringLiteral("已取消"));
            } else {
                // Threads share one memory budget: large pages wait for room.
                const qint64 cost = jobs[size_t(i)].asShown ? 0 : ExportMemoryCost(jobs[size_t(i)].source, scalePercent);
                budget.acquire(cost);
                outcomes[size_t(i)].error =
                    exportJob(jobs[size_t(i)], format, scalePercent, source, &outcomes[size_t(i)].notes);
                budget.release(cost);
            }
            std::lock_guard<std::mutex> lock(m);
            ++done;
            finishedOne.notify_one();
        }
    };

    threads = std::max(1, std::min(threads, total));
    std::vector<std::thread> workers;
    if (threads > 1)
        for (int t = 0; t < threads; ++t) workers.emplace_back(work);
    if (threads == 1) {
        // One thread: in order here, reporting after each document.
        for (int i = next++; i < total; i = next++) {
            outcomes[size_t(i)].error = cancelled ? describe(jobs[size_t(i)].source, QStringLiteral("已取消"))
                                                  : exportJob(jobs[size_t(i)], format, scalePercent, source,
                                                              &outcomes[size_t(i)].notes);
            ++done;
            if (progress && !progress(done, total)) cancelled = true;
        }
    } else {
        // The workers export; this thread reports progress as they finish.
        int reported = 0;
        std::unique_lock<std::mutex> lock(m);
        while (reported < total) {
            finishedOne.wait(lock, [&] { return done > reported; });
            reported = done;
            lock.unlock();
            if (progress && !progress(reported, total)) cancelled = true;
            lock.lock();
        }
    }
    for (std::thread& w : workers) w.join();
    return outcomes;
}

ExportContext ProgramFolderContext(const QString& programFolder) {
    ExportContext c;
    const QDir home(programFolder);
    c.phrases = ReadListFile(home.filePath(QStringLiteral("explin.txt"))).entries;
    c.libraryFolder = home.filePath(QStringLiteral("s/sik"));
    c.libraryFiles = QDir(c.libraryFolder).entryList({QStringLiteral("*.bmp")}, QDir::Files,
                                                     QDir::Name | QDir::IgnoreCase);
    return c;
}

}  // namespace qn
