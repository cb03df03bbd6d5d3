#include "Atlas.h"

#include <QFile>

namespace qn {

namespace {
QImage loadAtlas(const char* path, int w, int h) {
    QImage img(QString::fromLatin1(path));
    if (img.isNull() || img.width() != w || img.height() != h) {
        // A missing or damaged built-in atlas is a build fault; stamp white cells
        // rather than crash.
        QImage blank(w, h, QImage::Format_RGB32);
        blank.fill(0xFFFFFFFFu);
        return blank;
    }
    return img.convertToFormat(QImage::Format_RGB32);
}
}  // namespace

const QImage& Picmode() {
    static const QImage img = loadAtlas(":/atlas/Picmode.bmp", kPicmodeWidth, kPicmodeHeight);
    return img;
}

const QImage& Picmode2() {
    static const QImage img = loadAtlas(":/atlas/Picmode2.bmp", kPicmode2Width, kPicmode2Height);
    return img;
}

QRect NoteCellRect(int code, int beams) { return QRect(12 * code, 40 * beams, 12, 40); }

QRect OrnamentCellRect(int code, int bandTop, int bandHeight) {
    if (code >= 200) return QRect(6 * (code - 200), 40 + bandTop, 6, bandHeight);
    return QRect(12 * (code - 100), bandTop, 12, bandHeight);
}

int CellWidth(int code) {
    if (code >= 0 && code <= 199) return 12;
    if (code >= 200 && code <= 299) return 6;
    return 0;
}

Integer CodeClass(Integer code) {
    if (code == 115 || code == 211) return 1;
    if (code >= 201 && code <= 203) return 2;
    return 0;
}

void CodeClass(Integer code, Integer& result) { result = CodeClass(code); }

}  // namespace qn
