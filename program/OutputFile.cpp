#include "OutputFile.h"

#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qn {

namespace {
QString systemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }
}  // namespace

OutputFile::OutputFile(const QString& target) : target_(target) {
    // Writing through a symlink replaces the file it points at, not the link.
    const QFileInfo info(target);
    if (info.isSymLink() && info.exists()) target_ = info.canonicalFilePath();
}

OutputFile::~OutputFile() { cancel(); }

bool OutputFile::open(QString* reason) {
    const QFileInfo info(target_);
    const QString base = info.absolutePath() + QLatin1String("/.") + info.fileName() + QLatin1Char('.');
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QString name = base + QString::number(QRandomGenerator::global()->generate(), 36) + QLatin1String(".part");
        // 0666 less the umask, like any new file.
        const int fd = ::open(QFile::encodeName(name).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            if (reason) *reason = systemReason(errno);
            return false;
        }
        if (!file_.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
            ::close(fd);
            ::unlink(QFile::encodeName(name).constData());
            if (reason) *reason = file_.errorString();
            return false;
        }
        temporary_ = name;
        return true;
    }
    if (reason) *reason = systemReason(EEXIST);
    return false;
}

bool OutputFile::commit(QString* reason) {
    if (temporary_.isEmpty()) {
        if (reason) *reason = QStringLiteral("文件未打开");
        return false;
    }
    const bool flushed = file_.flush() && file_.error() == QFileDevice::NoError;
    const QString writeError = file_.errorString();
    struct stat old {};
    const QByteArray target = QFile::encodeName(target_);
    if (flushed && ::stat(target.constData(), &old) == 0 && S_ISREG(old.st_mode))
        ::fchmod(file_.handle(), old.st_mode & 07777);
    file_.close();
    if (!flushed) {
        if (reason) *reason = writeError;
        cancel();
        return false;
    }
    if (std::rename(QFile::encodeName(temporary_).constData(), target.constData()) != 0) {
        if (reason) *reason = systemReason(errno);
        cancel();
        return false;
    }
    temporary_.clear();
    return true;
}

void OutputFile::cancel() {
    if (file_.isOpen()) file_.close();
    if (!temporary_.isEmpty()) ::unlink(QFile::encodeName(temporary_).constData());
    temporary_.clear();
}

}  // namespace qn
