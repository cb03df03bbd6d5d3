#pragma once
// The installer's source folder "kos": Quillnote's desktop entry and its icon.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace assetgen {

// The desktop entry. Its Exec line names the program by name only; the
// installer replaces it with the absolute path it finds at install time.
QByteArray MakeDesktopEntry();
// The application icon, 64 x 64 with a see-through ground.
QImage MakeAppIcon();

// kos/quillnote.desktop and kos/quillnote.png into `dir` (the installer's folder).
void WriteInstallerFolder(const QString& dir);

}  // namespace assetgen
