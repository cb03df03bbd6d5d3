#include "Output.h"

#include <QDir>
#include <QSaveFile>

namespace assetgen {

void MakeDir(const QString& dir) {
    if (!QDir().mkpath(dir)) throw AssetError(QStringLiteral("cannot create folder %1").arg(dir));
}

void SaveImage(const QImage& img, const QString& path, const char* format) {
    if (!img.save(path, format))
        throw AssetError(QStringLiteral("cannot write picture %1").arg(path));
}

void WriteBytes(const QByteArray& bytes, const QString& path) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size() ||
        !f.commit())
        throw AssetError(QStringLiteral("cannot write %1: %2").arg(path, f.errorString()));
}

}  // namespace assetgen
