#pragma once
// The files the Debian package installs besides the program and its data: the
// desktop entry and the application icon in the hicolor theme's sizes, drawn
// from one vector description (also written as the scalable SVG).

#include <QByteArray>
#include <QImage>
#include <QString>

namespace assetgen {

// The icon as SVG, 64 x 64 user units.
QByteArray MakeIconSvg();
// The same icon rendered at size x size pixels.
QImage RenderIcon(int size);

// applications/quillnote.desktop and icons/hicolor/{48x48,64x64,128x128,
// 256x256,scalable}/apps/quillnote.{png,svg} into `dir`.
void WritePackageFolder(const QString& dir);

}  // namespace assetgen
