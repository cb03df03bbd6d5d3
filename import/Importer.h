#pragma once
// The import of a MusicXML file as finished pages: read, mapped to jianpu,
// typed through the editor core, proved by reading every page back, and the
// pages as score documents (bitmap and sidecar).

#include <QImage>
#include <QString>
#include <QStringList>
#include <vector>

#include "ImportLayout.h"
#include "JianpuMapping.h"
#include "ScoreDocument.h"

namespace qn::import {

struct ImportOptions {
    int part = 0;  // 1-based; 0: the first part with notes
    LayoutSettings layout;
};

struct ImportResult {
    MappedSong song;
    LayoutResult layout;
    QString error;  // refused: nothing is written or changed

    int pageCount() const { return int(layout.pages.size()); }
    // What could not be written exactly and where the proof found a difference.
    QStringList notes() const;
    // "32 bars read back as imported" or the bars that differ.
    QString proofSummary() const;
    bool proved() const { return error.isEmpty() && layout.mismatches.isEmpty(); }
};

ImportResult ImportMusicXmlFile(const QString& path, const ImportOptions& options = {});
ImportResult ImportMusicXmlBytes(const QByteArray& bytes, const ImportOptions& options = {});

// The sidecar values of page i (0-based): the layout, the header of the song
// in force at its start (the title on the first page only), the page number
// i + 1, the grace-note overlays as picture records (by their place in
// `libraryFiles`, the picture library's list; a missing picture goes to notes).
ScoreDocument PageDocument(const ImportResult& r, int page, const QStringList& libraryFiles, QStringList* notes = nullptr);

// Where page i goes when the first goes to `firstBitmap`: "歌名.bmp", "歌名 2.bmp", ...
QString PageBitmapPath(const QString& firstBitmap, int page);

// Writes pages [from, pageCount) as documents; `written` gets their bitmap paths.
// Returns an error text, empty on success.
QString WriteImportedPages(const ImportResult& r, const QString& firstBitmap, const QStringList& libraryFiles, int from,
                           QStringList* written, QStringList* notes = nullptr);

}  // namespace qn::import
