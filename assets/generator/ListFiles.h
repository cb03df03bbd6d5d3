#pragma once
// The two list files the program reads at start-up: tempo words and ready-made
// expression texts, one entry a line, in GBK.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace assetgen {

// The entries joined by CRLF, encoded in GBK; throws AssetError if an entry
// cannot be encoded.
QByteArray EncodeListFile(const QStringList& entries);

// speed.txt and explin.txt, written into `dir`.
void WriteListFiles(const QString& dir);

}  // namespace assetgen
