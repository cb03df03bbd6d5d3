#include "SettingsFile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QtEndian>

#include "RegularFile.h"

#include <cstring>
#include <utility>
#include <vector>

namespace qn {

namespace {

constexpr int kExportScaleAt = 0;
constexpr int kBeatSpacingAt = 1;
constexpr int kCheck8At = 5;
constexpr int kCheck10At = 9;
constexpr int kCheck11At = 13;
constexpr int kCheck12At = 17;
// A larger beat spacing is taken for damage (beat division caps the blanks per
// line anyway).
constexpr Single kMaxBeatSpacing = 8;

Byte byteAt(const QByteArray& data, int offset)
{
    return offset < data.size() ? static_cast<Byte>(data[offset]) : Byte(0);
}

Byte switchAt(const QByteArray& data, int offset)
{
    return byteAt(data, offset) == 1 ? Byte(1) : Byte(0);
}

Single beatSpacingAt(const QByteArray& data)
{
    quint32 bits = 0;
    for (int i = 3; i >= 0; --i)
        bits = (bits << 8) | byteAt(data, kBeatSpacingAt + i);
    Single v;
    std::memcpy(&v, &bits, sizeof v);
    // The negated test also rejects NaN and the infinities.
    if (!(v >= 0.0f && v <= kMaxBeatSpacing))
        return 0.0f;
    return v == 0.0f ? 0.0f : v;  // no "-0" in the panel
}

OptionsValues decode(const QByteArray& data)
{
    OptionsValues v;
    v.ExportScale = byteAt(data, kExportScaleAt);
    v.BeatSpacing = beatSpacingAt(data);
    v.Check8 = switchAt(data, kCheck8At);
    v.Check10 = switchAt(data, kCheck10At);
    v.Check11 = switchAt(data, kCheck11At);
    v.Check12 = switchAt(data, kCheck12At);
    return v;
}

// The bytes the program owns, by offset.
std::vector<std::pair<int, QByteArray>> ownedBytes(const OptionsValues& v)
{
    QByteArray spacing(4, '\0');
    quint32 bits;
    std::memcpy(&bits, &v.BeatSpacing, sizeof bits);
    qToLittleEndian(bits, spacing.data());
    auto byte = [](Byte b) { return QByteArray(1, static_cast<char>(b)); };
    return {
        {kExportScaleAt, byte(v.ExportScale)},
        {kBeatSpacingAt, spacing},
        {kCheck8At, byte(v.Check8)},
        {kCheck10At, byte(v.Check10)},
        {kCheck11At, byte(v.Check11)},
        {kCheck12At, byte(v.Check12)},
    };
}

QString describe(const QString& path, const QString& what)
{
    return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), what);
}

}  // namespace

OptionsReadResult ReadOptionsFile(const QString& path)
{
    OptionsReadResult result;
    QFile file;
    QString reason;
    // Read-write creates a missing file and never truncates; a read-only file is
    // still worth reading. Only a regular file is opened: a FIFO would hang.
    if (!OpenRegularFile(file, path, true, &reason) && !OpenRegularFile(file, path, false, &reason)) {
        result.error = describe(path, reason);
        return result;
    }
    if (file.size() > kMaxOptionsFileSize) {
        result.error = describe(path, QStringLiteral("文件过大（%1 字节，上限 %2 字节）")
                                          .arg(file.size())
                                          .arg(kMaxOptionsFileSize));
        return result;
    }
    const QByteArray data = file.read(kOptionsFileSize);
    result.values = decode(data);
    return result;
}

QString WriteOptionsFile(const QString& path, const OptionsValues& values)
{
    // Patch in place: the rest of the file, however long, is never read or
    // moved, and the file keeps its identity (inode, links, permissions).
    QFile file;
    const bool existed = EntryExists(path);
    QString reason;
    if (!OpenRegularFile(file, path, true, &reason)) {  // creates a missing file, never truncates
        const QString what = existed ? QStringLiteral("not writable") : QStringLiteral("cannot be created");
        return describe(path, QStringLiteral("%1 (%2)").arg(what, reason));
    }
    // A short file first grows to full length with the zeros its missing bytes read as.
    const qint64 size = file.size();
    bool ok = true;
    if (size < kOptionsFileSize) {
        const QByteArray zeros(int(kOptionsFileSize - size), '\0');
        ok = file.seek(size) && file.write(zeros) == zeros.size();
    }
    for (const auto& [offset, bytes] : ownedBytes(values))
        ok = ok && file.seek(offset) && file.write(bytes) == bytes.size();
    if (!(ok && file.flush()))
        return describe(path, QStringLiteral("cannot be written (%1)").arg(file.errorString()));
    return {};
}

}  // namespace qn
