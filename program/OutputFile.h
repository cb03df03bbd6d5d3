#pragma once
// A file that replaces its target only when it is complete: written under a
// hidden name beside the target and renamed over it on commit, so the target
// is either the old file or the whole new one, never a part. Unlike a save of
// a document, nothing is forced to disk: exported pictures can be made again,
// and waiting for the disk after each one would slow a folder's export several
// times over.

#include <QFile>
#include <QString>

namespace qn {

class OutputFile {
public:
    explicit OutputFile(const QString& target);
    ~OutputFile();  // removes the hidden file unless committed
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates the hidden file. False with the system's reason.
    bool open(QString* reason);
    QFile& device() { return file_; }
    // Closes the file and renames it over the target (keeping the old
    // target's permissions). False with the reason; the target is then as it was.
    bool commit(QString* reason);
    void cancel();

private:
    QString target_;
    QString temporary_;
    QFile file_;
};

}  // namespace qn
