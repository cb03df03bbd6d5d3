#include "RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qn {

namespace {

QString errnoReason(int error) {
    switch (error) {
    case ENOENT: return QStringLiteral("文件不存在");
    case ELOOP: return QStringLiteral("符号链接循环");
    case EACCES:
    case EPERM: return QStringLiteral("没有访问权限");
    case ENOTDIR: return QStringLiteral("路径中有一段不是文件夹");
    case EISDIR: return QStringLiteral("是文件夹，不是文件");
    default: return QString::fromLocal8Bit(std::strerror(error));
    }
}

QString typeReason(mode_t mode) {
    if (S_ISREG(mode)) return QString();
    if (S_ISDIR(mode)) return QStringLiteral("是文件夹，不是文件");
    if (S_ISFIFO(mode)) return QStringLiteral("是管道（FIFO），不是普通文件");
    if (S_ISSOCK(mode)) return QStringLiteral("是套接字，不是普通文件");
    return QStringLiteral("是设备文件，不是普通文件");
}

}  // namespace

bool EntryExists(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

QString RegularFileProblem(const QString& path, bool checkReadable) {
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::lstat(name.constData(), &st) != 0) return errnoReason(errno);
    if (S_ISLNK(st.st_mode) && ::stat(name.constData(), &st) != 0)
        return errno == ENOENT ? QStringLiteral("符号链接指向的文件不存在") : errnoReason(errno);
    const QString type = typeReason(st.st_mode);
    if (!type.isEmpty()) return type;
    if (checkReadable && ::access(name.constData(), R_OK) != 0) return errnoReason(errno);
    return QString();
}

bool OpenRegularFile(QFile& file, const QString& path, bool readWrite, QString* reason) {
    auto fail = [&](const QString& why) {
        if (reason) *reason = why;
        return false;
    };
    const QByteArray name = QFile::encodeName(path);
    // Look before opening: opening some devices does something by itself.
    struct stat st {};
    if (::stat(name.constData(), &st) == 0) {
        const QString type = typeReason(st.st_mode);
        if (!type.isEmpty()) return fail(type);
    } else {
        const int error = errno;
        const bool plainMissing = error == ENOENT && !EntryExists(path);
        // Only a missing file may be created, never the target of a dangling link.
        if (!(readWrite && plainMissing)) {
            const QString problem = RegularFileProblem(path);
            return fail(problem.isEmpty() ? errnoReason(error) : problem);
        }
    }
    // O_NONBLOCK: a FIFO swapped in after the look must not hang the open.
    const int flags = (readWrite ? O_RDWR | O_CREAT : O_RDONLY) | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
    const int fd = ::open(name.constData(), flags, 0666);
    if (fd < 0) return fail(errnoReason(errno));
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const QString type = typeReason(st.st_mode);
        ::close(fd);
        return fail(type.isEmpty() ? errnoReason(errno) : type);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    file.setFileName(path);
    if (!file.open(fd, readWrite ? QIODevice::ReadWrite : QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return fail(file.errorString());
    }
    return true;
}

RegularFileRead ReadRegularFile(const QString& path, qint64 maxSize, qint64 readBytes) {
    RegularFileRead r;
    QFile file;
    QString reason;
    if (!OpenRegularFile(file, path, false, &reason)) {
        r.missing = !EntryExists(path);
        r.error = QStringLiteral("%1: %2").arg(path, reason);
        return r;
    }
    r.size = file.size();
    if (r.size > maxSize) {
        r.error = QStringLiteral("%1: 文件过大（%2 字节，上限 %3 字节）").arg(path).arg(r.size).arg(maxSize);
        return r;
    }
    // The file may grow while it is read: never take more than the limit.
    const qint64 want = std::min(readBytes < 0 ? maxSize : std::min(readBytes, maxSize), r.size);
    r.bytes = file.read(want);
    if (file.error() != QFileDevice::NoError) {
        r.error = QStringLiteral("%1: %2").arg(path, file.errorString());
        r.bytes.clear();
    }
    return r;
}

}  // namespace qn
