#pragma once
// Exporting documents as pictures: one document (bitmap, PNG or PDF of the
// page as the window shows it), the documents of a folder, and the names of
// the output folder and files. Runs without a window; the batch command of the
// toolbar, the command line and Ctrl+E all come here.

#include <QString>
#include <QStringList>
#include <QTime>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "PageComposer.h"
#include "ScoreHeader.h"
#include "ScoreDocument.h"

namespace qn {

// Pictures of the page, or the notes read back from it.
enum class ExportFormat { Bmp, Png, Pdf, Midi, MusicXml, Wav, Svg };

// The header of the notes read from a page, as its labels show it.
score::ScoreHeader ScoreHeaderOf(const PageFacts& facts);

// "bmp", "png", "pdf", "svg", "mid", "musicxml", "wav" (case-insensitive); false for anything else.
bool ParseExportFormat(const QString& text, ExportFormat& format);

// The format a file name's extension names (".mid", ".musicxml", ".png", ...);
// false when it names none.
bool ExportFormatOfName(const QString& fileName, ExportFormat& format);

// The bitmaps of a folder that have a sidecar, by name, in the list's order
// (the batch exports them from the last to the first).
QStringList ExportableDocuments(const QString& folder);

// "导出 hhmmss" for a batch started at that time.
QString ExportFolderName(const QTime& time);

// The output's file name: a bitmap keeps its source's name; the other
// formats replace the extension (png, pdf, svg, mid, musicxml, wav).
QString ExportFileName(const QString& sourceName, ExportFormat format);

// Writes a composition as a picture, or its notes as MIDI, MusicXML (one
// file per song, see SongFilePath) or a sound file; error text (naming the
// file), empty on success. `notes` gets what the reader could not place
// (how many, and where: line and x), the header's problems and a word for a
// page without notes. PDF and SVG are drawn in `style`.
QString WriteComposition(PageComposition composition, const QString& target, ExportFormat format,
                         int scalePercent, QStringList* notes = nullptr, PrintStyle style = PrintStyle::Vector);

// What a document opens into: the window's values where the sidecar holds
// nothing, and its lists.
struct ExportSource {
    ScoreDocument current = StartUpDocument();
    ExportContext context;
    PrintStyle pdfStyle = PrintStyle::Vector;  // PDF and SVG
};

// Reads one document as a batch opens it (staff and guide-line switches not
// applied) and writes its picture. Error text naming the file, empty on success.
QString ExportDocument(const QString& bitmapPath, const QString& target, ExportFormat format,
                       int scalePercent, const ExportSource& source, QStringList* notes = nullptr);

struct ExportJob {
    QString source;
    QString target;
    // The open document: exported as the window shows it, unsaved edits
    // included, instead of from its files.
    std::shared_ptr<const PageComposition> asShown = nullptr;
};
struct ExportOutcome {
    QString source;
    QString target;
    QString error;  // empty: exported
    QStringList notes;  // what the notes' reading could not place, and the like
};

// Bytes shared by the threads of a batch: acquire waits until the bytes fit
// beside those in use; a request larger than the whole budget waits until
// nothing else runs, then runs alone.
class MemoryBudget {
public:
    explicit MemoryBudget(qint64 limit) : limit_(limit) {}
    void acquire(qint64 bytes);
    void release(qint64 bytes);
    qint64 used() const;

private:
    const qint64 limit_;
    qint64 used_ = 0;
    mutable std::mutex m_;
    std::condition_variable freed_;
};

// What exporting a document takes in memory at most, from its bitmap's
// header (0 for a bitmap that is refused before it is decoded).
qint64 ExportMemoryCost(const QString& bitmapPath, int scalePercent);

// The memory all threads of a batch may hold at once.
inline constexpr qint64 kBatchMemoryBudget = qint64(768) << 20;

// Runs the jobs on up to `threads` threads (1: in order on this thread). The
// outcomes come back in the jobs' order, whatever the threads did first.
// progress(done, total) is called on the calling thread; returning false
// cancels the jobs not yet started (their outcome says so). Together the
// threads hold at most memoryBudget bytes of pages (one larger page runs alone).
std::vector<ExportOutcome> RunExportJobs(const std::vector<ExportJob>& jobs, ExportFormat format,
                                         int scalePercent, const ExportSource& source, int threads,
                                         const std::function<bool(int, int)>& progress = {},
                                         qint64 memoryBudget = kBatchMemoryBudget);

// The lists of a program folder as the window reads them ("explin.txt", "s/sik").
ExportContext ProgramFolderContext(const QString& programFolder);

}  // namespace qn
