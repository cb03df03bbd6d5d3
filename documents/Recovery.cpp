#include "Recovery.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>
#include <atomic>

#include "RegularFile.h"
#include "ScoreDocument.h"

namespace qn {

namespace {

constexpr char kMagic[] = "QNRECOVERY1";
// A copy holds one page of at most the largest bitmap that loads, and a sidecar.
constexpr qint64 kMaxCopySize = qint64(kMaxPageWidth) * kMaxPageHeight * 3 + (64 << 20);
const QString kSuffix = QStringLiteral(".qnr");

QString lockPathOf(const QString& copyPath) { return copyPath + QStringLiteral(".lock"); }

}  // namespace

QString RecoveryFolder() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    // A relative value is to be ignored, as with every XDG variable.
    if (state.isEmpty() || QDir::isRelativePath(state)) state = QDir::home().filePath(QStringLiteral(".local/state"));
    return QDir(state).filePath(QStringLiteral("quillnote/recovery"));
}

QByteArray EncodeRecovery(const RecoverySnapshot& s) {
    QByteArray bitmap;
    {
        QBuffer buffer(&bitmap);
        buffer.open(QIODevice::WriteOnly);
        WriteBmp24(s.page, buffer);
    }
    QByteArray out;
    QDataStream data(&out, QIODevice::WriteOnly);
    data.setVersion(QDataStream::Qt_6_0);
    data.writeRawData(kMagic, int(sizeof kMagic));
    data << s.documentPath << s.header << s.time.toMSecsSinceEpoch() << s.sidecar << bitmap;
    return out;
}

bool DecodeRecovery(const QByteArray& bytes, RecoverySnapshot& s, QString* error) {
    auto fail = [&](const QString& why) {
        if (error) *error = why;
        return false;
    };
    if (!bytes.startsWith(QByteArray(kMagic, int(sizeof kMagic)))) return fail(QStringLiteral("不是恢复副本"));
    QDataStream data(bytes);
    data.setVersion(QDataStream::Qt_6_0);
    data.skipRawData(int(sizeof kMagic));
    RecoverySnapshot read;
    qint64 msecs = 0;
    QByteArray bitmap;
    data >> read.documentPath >> read.header >> msecs >> read.sidecar >> bitmap;
    if (data.status() != QDataStream::Ok) return fail(QStringLiteral("恢复副本不完整"));
    QImage page;
    if (!page.loadFromData(bitmap, "BMP") || page.width() > kMaxPageWidth || page.height() > kMaxPageHeight)
        return fail(QStringLiteral("恢复副本中的页面无法读取"));
    read.page = page.convertToFormat(QImage::Format_RGB32);
    read.time = QDateTime::fromMSecsSinceEpoch(msecs);
    s = std::move(read);
    return true;
}

QString WriteRecoveryFile(const QString& path, const RecoverySnapshot& snapshot) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return QStringLiteral("%1: 无法创建文件夹").arg(QFileInfo(path).absolutePath());
    const QByteArray bytes = EncodeRecovery(snapshot);
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) return QStringLiteral("%1: %2").arg(path, out.errorString());
    if (out.write(bytes) != bytes.size()) {
        out.cancelWriting();
        return QStringLiteral("%1: %2").arg(path, out.errorString());
    }
    if (!out.commit()) return QStringLiteral("%1: %2").arg(path, out.errorString());
    return QString();
}

QString ReadRecoveryFile(const QString& path, RecoverySnapshot& snapshot) {
    const RegularFileRead read = ReadRegularFile(path, kMaxCopySize);
    if (!read.error.isEmpty()) return read.error;
    QString why;
    if (!DecodeRecovery(read.bytes, snapshot, &why)) return QStringLiteral("%1: %2").arg(path, why);
    return QString();
}

std::vector<OrphanCopy> FindOrphanCopies(const QString& folder) {
    std::vector<OrphanCopy> out;
    const QDir dir(folder);
    for (const QFileInfo& info : dir.entryInfoList({QStringLiteral("*") + kSuffix}, QDir::Files)) {
        // A live window holds its lock; a lock whose process is gone is stale and free.
        QLockFile lock(lockPathOf(info.absoluteFilePath()));
        lock.setStaleLockTime(0);  // a live window's lock never ages
        if (!lock.tryLock(0)) continue;
        lock.unlock();
        out.push_back({info.absoluteFilePath(), info.lastModified()});
    }
    std::sort(out.begin(), out.end(), [](const OrphanCopy& a, const OrphanCopy& b) { return a.time > b.time; });
    return out;
}

QString DiscardCopy(const QString& folder, const QString& copyPath) {
    const QDir discarded(QDir(folder).filePath(QStringLiteral("discarded")));
    if (!QDir().mkpath(discarded.path())) return QStringLiteral("%1: 无法创建文件夹").arg(discarded.path());
    const QString target = discarded.filePath(QFileInfo(copyPath).fileName());
    QFile::remove(target);
    if (!QFile::rename(copyPath, target)) return QStringLiteral("%1: 无法移动").arg(copyPath);
    // The age in "discarded" counts from the move.
    QFile moved(target);
    if (moved.open(QIODevice::ReadWrite)) moved.setFileTime(QDateTime::currentDateTime(), QFileDevice::FileModificationTime);
    QFile::remove(lockPathOf(copyPath));
    return QString();
}

void RemoveCopy(const QString& copyPath) {
    QFile::remove(copyPath);
    QFile::remove(lockPathOf(copyPath));
}

void PruneDiscarded(const QString& folder, const QDateTime& now, int days) {
    const QDir discarded(QDir(folder).filePath(QStringLiteral("discarded")));
    for (const QFileInfo& info : discarded.entryInfoList({QStringLiteral("*") + kSuffix}, QDir::Files))
        if (info.lastModified().addDays(days) < now) QFile::remove(info.absoluteFilePath());
}

RecoveryWriter::RecoveryWriter(const QString& folder) : folder_(folder) {
    static std::atomic<int> counter{0};
    QDir().mkpath(folder_);
    const QString id = QStringLiteral("%1-%2-%3")
                           .arg(QCoreApplication::applicationPid())
                           .arg(QDateTime::currentMSecsSinceEpoch())
                           .arg(counter++);
    path_ = QDir(folder_).filePath(id + kSuffix);
    lock_ = std::make_unique<QLockFile>(lockPathOf(path_));
    lock_->setStaleLockTime(0);
    lock_->tryLock(0);
    thread_ = std::thread([this] { run(); });
}

RecoveryWriter::~RecoveryWriter() {
    {
        std::lock_guard<std::mutex> lock(m_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
    lock_->unlock();
}

void RecoveryWriter::submit(RecoverySnapshot snapshot) {
    {
        std::lock_guard<std::mutex> lock(m_);
        pending_ = std::make_unique<RecoverySnapshot>(std::move(snapshot));
        removePending_ = false;
    }
    wake_.notify_all();
}

void RecoveryWriter::remove() {
    {
        std::lock_guard<std::mutex> lock(m_);
        pending_.reset();
        removePending_ = true;
    }
    wake_.notify_all();
}

void RecoveryWriter::wait() {
    std::unique_lock<std::mutex> lock(m_);
    idle_.wait(lock, [&] { return !busy_ && !pending_ && !removePending_; });
}

QString RecoveryWriter::lastError() const {
    std::lock_guard<std::mutex> lock(m_);
    return lastError_;
}

qint64 RecoveryWriter::lastWriteMicros() const {
    std::lock_guard<std::mutex> lock(m_);
    return lastWriteMicros_;
}

void RecoveryWriter::run() {
    std::unique_lock<std::mutex> lock(m_);
    for (;;) {
        wake_.wait(lock, [&] { return stop_ || pending_ || removePending_; });
        if (!pending_ && !removePending_) break;  // stopped with nothing left to do
        std::unique_ptr<RecoverySnapshot> snapshot = std::move(pending_);
        const bool removing = removePending_;
        removePending_ = false;
        busy_ = true;
        lock.unlock();
        QString error;
        QElapsedTimer timer;
        timer.start();
        if (snapshot) error = WriteRecoveryFile(path_, *snapshot);
        else if (removing) QFile::remove(path_);
        const qint64 micros = timer.nsecsElapsed() / 1000;
        lock.lock();
        busy_ = false;
        if (snapshot) {
            lastError_ = error;
            lastWriteMicros_ = micros;
        }
        idle_.notify_all();
    }
    busy_ = false;
    idle_.notify_all();
}

}  // namespace qn
