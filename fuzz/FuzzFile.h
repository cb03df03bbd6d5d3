#pragma once
// The readers that take a path get the fuzzer's bytes through one scratch file
// per process, in memory where /dev/shm exists.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <unistd.h>

namespace qn::fuzz {

inline QString ScratchFile(const char* name) {
    const QString folder = QFile::exists(QStringLiteral("/dev/shm")) ? QStringLiteral("/dev/shm") : QStringLiteral("/tmp");
    return QStringLiteral("%1/quillnote-fuzz-%2-%3").arg(folder).arg(::getpid()).arg(QString::fromLatin1(name));
}

inline const QString& WriteScratch(const char* name, const uint8_t* data, size_t size) {
    static const QString path = ScratchFile(name);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    return path;
}

}  // namespace qn::fuzz
