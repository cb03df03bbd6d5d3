// quillnote_assetgen <generated_dir> <program_dir> <installer_dir> <package_dir>
//
// Makes every bundled picture, sound and list file. The generated folder holds
// what is built into the program; the program folder gets the data the user may
// change; the installer's folder gets the desktop entry and icon it installs.
// The output is the same bytes on every run.

#include "Atlases.h"
#include "Installer.h"
#include "ListFiles.h"
#include "Output.h"
#include "Package.h"
#include "Pictures.h"
#include "SlurArc.h"
#include "Sounds.h"

#include <QCoreApplication>

#include <cstdio>
#include <exception>

namespace {

void WriteBuiltIn(const QString& dir) {
    using namespace assetgen;
    MakeDir(dir);
    SaveImage(MakePicmode(), dir + "/Picmode.bmp", "BMP");
    SaveImage(MakePicmode2(), dir + "/Picmode2.bmp", "BMP");
    SaveImage(MakeStaff(true), dir + "/staff_treble.bmp", "BMP");
    SaveImage(MakeStaff(false), dir + "/staff_bass.bmp", "BMP");
    for (int i = 0; i <= 3; ++i)
        SaveImage(MakePatternButton(i), dir + QStringLiteral("/pattern%1.bmp").arg(i), "BMP");
    SaveImage(MakeBuiltinCaret(), dir + "/caret_builtin.png", "PNG");
    SaveImage(MakeSlurArc(), dir + "/Image4.bmp", "BMP");
}

void WriteProgramFolder(const QString& dir) {
    using namespace assetgen;
    MakeDir(dir);
    WriteListFiles(dir);
    WritePatternCarets(dir + "/s");
    WritePictureLibrary(dir + "/s/sik");
    WriteStaffPreviews(dir + "/wn");
    WriteSounds(dir + "/sound");
}

}  // namespace

int main(int argc, char** argv) {
    // The application object lets Qt find its GIF reader, used to check our GIFs.
    QCoreApplication app(argc, argv);
    if (argc != 5) {
        std::fprintf(stderr,
                     "usage: quillnote_assetgen <generated_dir> <program_dir> <installer_dir> <package_dir>\n");
        return 2;
    }
    try {
        WriteBuiltIn(QString::fromLocal8Bit(argv[1]));
        WriteProgramFolder(QString::fromLocal8Bit(argv[2]));
        assetgen::WriteInstallerFolder(QString::fromLocal8Bit(argv[3]));
        assetgen::WritePackageFolder(QString::fromLocal8Bit(argv[4]));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quillnote_assetgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
