#pragma once
// The kill test's helper: saves version 0, 1, 2, ... of one document for ever.
// Version v's page carries v in the bits of row 10 and the sidecar carries it
// in the title ("v7"), so a pair of two saves is told from a pair of one.

#include <QDir>
#include <QImage>
#include <cstdio>

#include "ScoreDocument.h"

namespace qn::test {

inline QImage VersionPage(quint32 version) {
    QImage page(668, 945, QImage::Format_RGB32);
    page.fill(Qt::white);
    for (int b = 0; b < 32; ++b)
        if ((version >> b) & 1u) page.setPixel(10 + b, 10, qRgb(0, 0, 0));
    for (int x = 20; x < 20 + int(version % 600); ++x) page.setPixel(x, 120, qRgb(0, 0, 0));
    return page;
}

inline quint32 PageVersion(const QImage& page) {
    quint32 v = 0;
    for (int b = 0; b < 32; ++b)
        if (page.pixel(10 + b, 10) == qRgb(0, 0, 0)) v |= 1u << b;
    return v;
}

inline int SaveLoop(const char* folder) {
    const QString path = QDir(QString::fromLocal8Bit(folder)).filePath(QStringLiteral("song.bmp"));
    for (quint32 v = 0;; ++v) {
        ScoreDocument doc;
        doc.title = QStringLiteral("v%1").arg(v);
        if (!SaveScoreFiles(path, VersionPage(v), doc).isEmpty()) return 3;
        if (v == 0) {
            std::puts("ready");
            std::fflush(stdout);
        }
    }
}

}  // namespace qn::test
