#include "Installer.h"

#include "Canvas.h"
#include "Glyphs.h"
#include "Output.h"

namespace assetgen {

namespace {
constexpr QRgb kClear = 0x00000000u;
constexpr QRgb kEdge = 0xFF5A6E8Cu;   // RGB(90, 110, 140): the sheet's outline
constexpr QRgb kFold = 0xFFD2DAE6u;   // RGB(210, 218, 230): the turned-down corner
}  // namespace

QByteArray MakeDesktopEntry() {
    return QByteArrayLiteral(
        "[Desktop Entry]\n"
        "Type=Application\n"
        "Version=1.0\n"
        "Name=Quillnote\n"
        "GenericName=Numbered Notation Editor\n"
        "GenericName[zh_CN]=简谱编辑器\n"
        "Comment=Type a song in numbered musical notation and see the finished page\n"
        "Comment[zh_CN]=用键盘输入简谱，即时得到排好的乐谱\n"
        "Exec=quillnote\n"
        "Icon=quillnote\n"
        "Terminal=false\n"
        "Categories=AudioVideo;Audio;Music;\n"
        "Keywords=jianpu;notation;score;music;简谱;乐谱;\n"
        "StartupNotify=true\n");
}

QImage MakeAppIcon() {
    Canvas c(64, 64, kClear, QImage::Format_ARGB32);
    // A sheet of paper with its top-right corner turned down.
    const int left = 7, top = 2, right = 56, bottom = 61, fold = 12;
    c.fill(left, top, right, bottom, kWhite);
    for (int i = 0; i < fold; ++i) c.hline(right - fold + 1 + i, right, top + i, kClear);
    for (int i = 0; i < fold; ++i) c.hline(right - fold + 1, right - fold + 1 + i, top + i, kFold);
    c.line(right - fold + 1, top, right, top + fold - 1, kEdge);
    c.hline(right - fold + 1, right, top + fold - 1, kEdge);
    c.vline(right - fold + 1, top, top + fold - 1, kEdge);
    c.hline(left, right - fold + 1, top, kEdge);
    c.vline(right, top + fold - 1, bottom, kEdge);
    c.hline(left, right, bottom, kEdge);
    c.vline(left, top, bottom, kEdge);
    // Two eighth notes under one beam, with an octave dot: the look of a jianpu page.
    c.stampScaled(Digit(5), 13, 20, 2);
    c.stampScaled(Digit(6), 35, 20, 2);
    c.fill(13, 52, 50, 54);
    c.fill(41, 11, 44, 14);
    return c.image();
}

void WriteInstallerFolder(const QString& dir) {
    const QString kos = dir + QStringLiteral("/kos");
    MakeDir(kos);
    WriteBytes(MakeDesktopEntry(), kos + QStringLiteral("/quillnote.desktop"));
    SaveImage(MakeAppIcon(), kos + QStringLiteral("/quillnote.png"), "PNG");
}

}  // namespace assetgen
