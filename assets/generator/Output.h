#pragma once
// Writing generated files. Any failure throws AssetError; main() reports it and
// the build stops, rather than shipping a program folder with holes in it.

#include <QByteArray>
#include <QImage>
#include <QString>

#include <stdexcept>

namespace assetgen {

class AssetError : public std::runtime_error {
public:
    explicit AssetError(const QString& what) : std::runtime_error(what.toStdString()) {}
};

// Creates the folder and its parents.
void MakeDir(const QString& dir);
// Saves in the given format ("BMP", "PNG"); BMP from an RGB32 image is 24-bit.
void SaveImage(const QImage& img, const QString& path, const char* format);
void WriteBytes(const QByteArray& bytes, const QString& path);

}  // namespace assetgen
