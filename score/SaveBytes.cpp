#include "SaveBytes.h"

#include <QSaveFile>

namespace qn::score {

QString SaveBytes(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return QStringLiteral("cannot write %1: %2").arg(path, why);
    }
    if (!file.commit()) return QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    return QString();
}

}  // namespace qn::score
