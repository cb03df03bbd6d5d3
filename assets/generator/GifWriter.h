#pragma once
// A small GIF89a encoder (Qt reads GIF but cannot write it).

#include <QByteArray>
#include <QImage>

namespace assetgen {

// Encodes a picture of at most 255 opaque colours. Fully transparent pixels
// become palette entry 0, marked transparent; partial alpha is not supported.
// Throws AssetError when the picture does not fit these limits.
QByteArray EncodeGif(const QImage& picture);

}  // namespace assetgen
