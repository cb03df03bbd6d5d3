#include "SettingsFile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>

#include <cmath>
#include <cstring>

namespace qn {

namespace {

constexpr int kExportScaleAt = 0;
constexpr int kBeatSpacingAt = 1;
constexpr int kCheck8At = 5;
constexpr int kCheck10At = 9;
constexpr int kCheck11At = 13;
constexpr int kCheck12At = 17;

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
    // The negated test also rejects NaN.
    if (!(std::isfinite(v) && v >= 0.0f && v <= 1.0f))
        return 0.0f;
    return v;
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

void patch(QByteArray& data, const OptionsValues& v)
{
    if (data.size() < kOptionsFileSize)
        data.append(kOptionsFileSize - data.size(), '\0');
    data[kExportScaleAt] = static_cast<char>(v.ExportScale);
    quint32 bits;
    std::memcpy(&bits, &v.BeatSpacing, sizeof bits);
    qToLittleEndian(bits, data.data() + kBeatSpacingAt);
    data[kCheck8At] = static_cast<char>(v.Check8);
    data[kCheck10At] = static_cast<char>(v.Check10);
    data[kCheck11At] = static_cast<char>(v.Check11);
    data[kCheck12At] = static_cast<char>(v.Check12);
}

QString describe(const QString& path, const QString& what)
{
    return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), what);
}

}  // namespace

OptionsReadResult ReadOptionsFile(const QString& path)
{
    OptionsReadResult result;
    QFile file(path);
    // ReadWrite creates a missing file and never truncates; a read-only file is
    // still worth reading.
    if (!file.open(QIODevice::ReadWrite) && !file.open(QIODevice::ReadOnly)) {
        result.error = describe(path, file.errorString());
        return result;
    }
    const QByteArray data = file.read(kOptionsFileSize);
    result.values = decode(data);
    return result;
}

QString WriteOptionsFile(const QString& path, const OptionsValues& values)
{
    // Patch the whole file in memory so the bytes we do not own survive.
    QByteArray data;
    QFile existing(path);
    const bool exists = existing.exists();
    if (exists) {
        if (!existing.open(QIODevice::ReadOnly))
            return describe(path, existing.errorString());
        data = existing.readAll();
        existing.close();
    }
    patch(data, values);

    QSaveFile out(path);
    if (out.open(QIODevice::WriteOnly)) {
        if (out.write(data) != data.size()) {
            const QString error = out.errorString();
            out.cancelWriting();
            return describe(path, error);
        }
        if (!out.commit())
            return describe(path, out.errorString());
        return {};
    }

    // A folder we may not create files in can still hold a writable file:
    // patch its head in place then. The file only ever grows.
    if (exists && QFileInfo(path).isWritable()) {
        QFile inPlace(path);
        if (inPlace.open(QIODevice::ReadWrite)) {
            const QByteArray head = data.left(kOptionsFileSize);
            if (inPlace.write(head) == head.size() && inPlace.flush())
                return {};
            return describe(path, inPlace.errorString());
        }
    }
    return describe(path, out.errorString());
}

}  // namespace qn
