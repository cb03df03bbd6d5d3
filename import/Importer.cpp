#include "Importer.h"

#include <QDir>
#include <QFileInfo>

#include "HeaderText.h"
#include "PageComposer.h"

namespace qn::import {

namespace {

ImportResult finish(const XmlRead& read, const ImportOptions& options) {
    ImportResult r;
    if (!read.error.isEmpty()) {
        r.error = read.error;
        return r;
    }
    r.song = MapPart(read.score, options.part);
    if (!r.song.error.isEmpty()) {
        r.error = r.song.error;
        return r;
    }
    r.layout = LayOutSong(r.song, options.layout);
    if (!r.layout.error.isEmpty()) r.error = r.layout.error;
    return r;
}

}  // namespace

QStringList ImportResult::notes() const { return song.notes + layout.notes + layout.mismatches; }

QString ImportResult::proofSummary() const {
    if (!error.isEmpty()) return error;
    if (layout.mismatches.isEmpty())
        return QStringLiteral("%1 bars read back as imported").arg(song.score.measures.size());
    return QStringLiteral("%1 of %2 bars read back differently").arg(layout.mismatches.size()).arg(song.score.measures.size());
}

ImportResult ImportMusicXmlFile(const QString& path, const ImportOptions& options) {
    return finish(ReadMusicXmlFile(path), options);
}

ImportResult ImportMusicXmlBytes(const QByteArray& bytes, const ImportOptions& options) {
    return finish(ParseMusicXml(bytes), options);
}

ScoreDocument PageDocument(const ImportResult& r, int page, const QStringList& libraryFiles, QStringList* notes) {
    ScoreDocument d = StartUpDocument();
    const ImportedPage& p = r.layout.pages[size_t(page)];
    d.barWidth = Integer(r.layout.settings.barWidth);
    d.barsPerLine = Integer(r.layout.settings.barsPerLine);
    d.lineSpacing = Integer(r.layout.settings.lineSpacing);
    d.pageNumber = Integer(page + 1);
    const auto& songs = r.song.score.songs;
    if (p.song >= 0 && p.song < int(songs.size()) && songs[size_t(p.song)].head) {
        const score::SongHead& h = *songs[size_t(p.song)].head;
        d.title = page == 0 ? r.song.title : QString();
        d.tempo = h.tempo;
        d.keyIndex = Byte(std::max<qsizetype>(0, KeyList().indexOf(h.key)));
        const qsizetype num = NumeratorList().indexOf(QString::number(h.beatsPerBar));
        const qsizetype den = DenominatorList().indexOf(QString::number(h.beatUnit));
        if (num < 0 || den < 0) {
            if (notes)
                *notes << QStringLiteral("page %1: the header's lists have no time signature %2/%3, it shows 4/4")
                              .arg(page + 1).arg(h.beatsPerBar).arg(h.beatUnit);
            d.numeratorIndex = Byte(NumeratorList().indexOf(QStringLiteral("4")));
            d.denominatorIndex = 0;
        } else {
            d.numeratorIndex = Byte(num);
            d.denominatorIndex = Byte(den);
        }
    }
    for (const GraceOverlay& o : p.graces) {
        const qsizetype index = libraryFiles.indexOf(o.file);
        if (index < 0) {
            if (notes) *notes << QStringLiteral("page %1: the picture library has no \"%2\" for a grace note").arg(page + 1).arg(o.file);
            continue;
        }
        if (int(d.pictureOverlays.size()) >= sidecar::MaxPictureRecords) break;
        d.pictureOverlays.push_back({Integer(o.Left), Integer(o.Top), Integer(index)});
    }
    return d;
}

QString PageBitmapPath(const QString& firstBitmap, int page) {
    if (page == 0) return firstBitmap;
    const QFileInfo info(firstBitmap);
    const QString suffix = info.suffix().isEmpty() ? QStringLiteral("bmp") : info.suffix();
    return info.dir().filePath(QStringLiteral("%1 %2.%3").arg(info.completeBaseName()).arg(page + 1).arg(suffix));
}

QString WriteImportedPages(const ImportResult& r, const QString& firstBitmap, const QStringList& libraryFiles, int from,
                           QStringList* written, QStringList* notes) {
    for (int i = from; i < r.pageCount(); ++i) {
        const QString path = PageBitmapPath(firstBitmap, i);
        const QString error = SaveScoreFiles(path, r.layout.pages[size_t(i)].image, PageDocument(r, i, libraryFiles, notes));
        if (!error.isEmpty()) return error;
        if (written) *written << path;
    }
    return QString();
}

}  // namespace qn::import
