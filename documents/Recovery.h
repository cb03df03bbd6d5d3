#pragma once
// Recovery copies of unsaved documents. While a window has unsaved changes it
// keeps one copy in a per-user folder ($XDG_STATE_HOME/quillnote/recovery,
// default ~/.local/state/quillnote/recovery), never beside the user's files:
// the page, the sidecar bytes, the header texts the sidecar does not hold and
// the document's path, in one file written whole (a temporary file, then a
// rename). Each window holds a lock beside its copy, so a copy whose lock is
// free belongs to a window that is gone: that is the copy to offer back.
// Headless; the writing runs on a thread of its own, off the typing thread.

#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QLockFile>
#include <QString>
#include <QStringList>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace qn {

struct RecoverySnapshot {
    QImage page;
    QByteArray sidecar;       // the bytes a save would write (PatchSidecar)
    QString documentPath;     // empty for an untitled document
    QStringList header;       // texts the sidecar does not hold (credits, page-number style)
    QDateTime time;           // when the copy was taken
};

// $XDG_STATE_HOME/quillnote/recovery, or ~/.local/state/quillnote/recovery.
QString RecoveryFolder();

QByteArray EncodeRecovery(const RecoverySnapshot& snapshot);
// False with a reason for anything that is not a whole copy.
bool DecodeRecovery(const QByteArray& bytes, RecoverySnapshot& snapshot, QString* error);
// Writes the copy whole (temporary file, then rename); error text, empty on success.
QString WriteRecoveryFile(const QString& path, const RecoverySnapshot& snapshot);
// Reads a copy file (a regular file of bounded size only).
QString ReadRecoveryFile(const QString& path, RecoverySnapshot& snapshot);

struct OrphanCopy {
    QString path;
    QDateTime time;  // when it was written
};
// The copies in folder whose window is gone (their lock is free), newest first.
std::vector<OrphanCopy> FindOrphanCopies(const QString& folder);
// Moves a copy into folder/discarded (kept there for a while, never deleted at
// once). Error text, empty on success.
QString DiscardCopy(const QString& folder, const QString& copyPath);
// Removes a copy and its lock.
void RemoveCopy(const QString& copyPath);
// Deletes copies in folder/discarded older than days.
void PruneDiscarded(const QString& folder, const QDateTime& now, int days = 7);

// The copy of one window: its lock, and a thread that writes (or removes) the
// copy in the order asked. submit() only hands the snapshot over; a snapshot
// not yet written is replaced by a newer one.
class RecoveryWriter {
public:
    explicit RecoveryWriter(const QString& folder);
    ~RecoveryWriter();  // finishes what was asked, then stops
    RecoveryWriter(const RecoveryWriter&) = delete;
    RecoveryWriter& operator=(const RecoveryWriter&) = delete;

    const QString& path() const { return path_; }
    void submit(RecoverySnapshot snapshot);
    void remove();
    // Waits until everything asked so far is done.
    void wait();
    // The last write's error (empty when it succeeded) and its time in microseconds.
    QString lastError() const;
    qint64 lastWriteMicros() const;

private:
    void run();

    QString folder_, path_;
    std::unique_ptr<QLockFile> lock_;
    mutable std::mutex m_;
    std::condition_variable wake_, idle_;
    std::unique_ptr<RecoverySnapshot> pending_;
    bool removePending_ = false, busy_ = false, stop_ = false;
    QString lastError_;
    qint64 lastWriteMicros_ = 0;
    std::thread thread_;
};

}  // namespace qn
