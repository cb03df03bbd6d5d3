#pragma once
// Reading files that must be plain files. A FIFO would block the reader for
// ever, a device such as /dev/zero never ends, a folder or a symlink loop has
// nothing to read: each is refused with a reason a user can act on, and every
// read is bounded by a size that fits the file.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace qn {

// Why path cannot be read as a regular file: "文件不存在", a folder, a special
// file, a symlink loop, no permission (checkReadable); empty when it is a
// regular file.
QString RegularFileProblem(const QString& path, bool checkReadable = true);

// True when something is at path, whatever it is (a dangling symlink too).
bool EntryExists(const QString& path);

// Opens a regular file for reading (readWrite: also for writing, created when
// missing) without ever blocking on a FIFO. False with a reason on failure.
bool OpenRegularFile(QFile& file, const QString& path, bool readWrite, QString* reason);

struct RegularFileRead {
    QByteArray bytes;
    QString error;         // empty on success
    bool missing = false;  // nothing at the path
    qint64 size = 0;       // the file's size
};

// Reads the first readBytes bytes (all when negative) of a regular file of at
// most maxSize bytes. A larger file is refused as a whole.
RegularFileRead ReadRegularFile(const QString& path, qint64 maxSize, qint64 readBytes = -1);

}  // namespace qn
