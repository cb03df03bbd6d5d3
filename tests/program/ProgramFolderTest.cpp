// Which program folder the program uses: option, environment, the build folder
// or, installed, a folder of the user's own made from the installed copies.
#include <gtest/gtest.h>

#include <QDir>

#include "ProgramFolder.h"

namespace qn {
namespace {

TEST(ProgramFolder, OptionWinsOverEnvironmentWhichWinsOverExecutableFolder) {
    struct Case { QStringList args; QString env; QString expected; };
    const QString exe = QStringLiteral("/opt/quillnote");
    const Case cases[] = {
        {{"quillnote"}, "", exe},
        {{"quillnote"}, "/srv/env", "/srv/env"},
        {{"quillnote", "--home", "/srv/opt"}, "/srv/env", "/srv/opt"},
        {{"quillnote", "--home=/srv/eq"}, "", "/srv/eq"},
        {{"quillnote", "--home", "/a", "--home", "/b"}, "", "/b"},
        // A dangling option names nothing: the next choice applies.
        {{"quillnote", "--home"}, "/srv/env", "/srv/env"},
        {{"quillnote", "/srv/not-an-option"}, "", exe},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResolveProgramFolder(c.args, c.env, exe), c.expected) << c.args.join(' ').toStdString();
}

TEST(ProgramFolder, RelativeFolderBecomesAbsolute) {
    const QString got = ResolveProgramFolder({"quillnote", "--home", "data/.."}, "", "/opt/q");
    EXPECT_EQ(got, QDir::cleanPath(QDir::currentPath()));
}

}  // namespace
}  // namespace qn

// ---- An installed layout: <root>/usr/bin and the data in <root>/usr/share/quillnote.
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace qn {
namespace {

class InstalledLayout : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        ASSERT_TRUE(QDir().mkpath(bin()));
        ASSERT_TRUE(QDir().mkpath(Path("usr/share/quillnote/s/sik")));
        Write("usr/share/quillnote/speed.txt", "Largo\r\n");
        Write("usr/share/quillnote/explin.txt", "rit.\r\n");
        Write("usr/share/quillnote/s/k0.bmp", "BM-caret");
        Write("usr/share/quillnote/s/sik/1.bmp", "BM-picture");
        // Installed files are not writable; the user's copies must be.
        for (const QString& f : BundledFiles())
            QFile::setPermissions(Path("usr/share/quillnote/" + f), QFile::ReadOwner | QFile::ReadGroup |
                                                                      QFile::ReadOther);
    }
    QString Path(const QString& relative) const { return QDir(root.path()).filePath(relative); }
    QString bin() const { return Path("usr/bin"); }
    QString bundled() const { return Path("usr/share/quillnote"); }
    void Write(const QString& relative, const QByteArray& bytes) {
        QFile f(Path(relative));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << relative.toStdString();
        f.write(bytes);
    }
    static QByteArray Read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    // Every file below a folder, relative to it, sorted.
    static QStringList Files(const QString& folder) {
        QStringList out;
        QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) out << QDir(folder).relativeFilePath(it.next());
        out.sort();
        return out;
    }
    QStringList BundledFiles() const { return Files(bundled()); }
    FolderEnvironment UserEnv(const QString& name) const {
        return {QString(), QString(), Path("home/" + name)};
    }

    QTemporaryDir root;
};

TEST_F(InstalledLayout, InstalledProgramUsesAFolderOfTheUsersOwn) {
    const QString home = Path("home/ann");
    struct Case { const char* what; QStringList args; FolderEnvironment env; QString folder; QString bundled; };
    const Case cases[] = {
        {"default", {"quillnote"}, {"", "", home}, home + "/.local/share/quillnote", bundled()},
        {"XDG_DATA_HOME", {"quillnote"}, {"", Path("xdg"), home}, Path("xdg/quillnote"), bundled()},
        {"relative XDG_DATA_HOME is ignored", {"quillnote"}, {"", "xdg", home},
         home + "/.local/share/quillnote", bundled()},
        {"QUILLNOTE_HOME wins", {"quillnote"}, {Path("env"), Path("xdg"), home}, Path("env"), ""},
        {"--home wins over all", {"quillnote", "--home", Path("opt")}, {Path("env"), Path("xdg"), home},
         Path("opt"), ""},
    };
    for (const Case& c : cases) {
        const ProgramFolderChoice got = ChooseProgramFolder(c.args, c.env, bin());
        EXPECT_EQ(got.folder, c.folder) << c.what;
        EXPECT_EQ(got.bundled, c.bundled) << c.what;
    }
}

TEST_F(InstalledLayout, BuildFolderAndStrayBinFolderAreUsedAsToday) {
    // A build folder holds the program and its data side by side.
    const ProgramFolderChoice build = ChooseProgramFolder({"quillnote"}, UserEnv("ann"), Path("build"));
    EXPECT_EQ(build.folder, Path("build"));
    EXPECT_TRUE(build.bundled.isEmpty());
    // A bin folder with no share/quillnote beside it is not an installation.
    ASSERT_TRUE(QDir().mkpath(Path("other/bin")));
    const ProgramFolderChoice stray = ChooseProgramFolder({"quillnote"}, UserEnv("ann"), Path("other/bin"));
    EXPECT_EQ(stray.folder, Path("other/bin"));
    EXPECT_TRUE(stray.bundled.isEmpty());
    EXPECT_TRUE(PrepareProgramFolder(stray).isEmpty());
}

TEST_F(InstalledLayout, FirstStartCopiesTheBundledFilesAndLeavesThemAlone) {
    const QStringList before = BundledFiles();
    const ProgramFolderChoice choice = ChooseProgramFolder({"quillnote"}, UserEnv("ann"), bin());
    EXPECT_EQ(ExistingProgramFolder(choice), bundled()) << "nothing made yet: read the installed copies";
    ASSERT_EQ(PrepareProgramFolder(choice), QString());
    EXPECT_EQ(ExistingProgramFolder(choice), choice.folder);

    EXPECT_EQ(Files(choice.folder), before);
    for (const QString& f : before) {
        EXPECT_EQ(Read(choice.folder + "/" + f), Read(bundled() + "/" + f)) << f.toStdString();
        EXPECT_TRUE(QFileInfo(choice.folder + "/" + f).permission(QFile::WriteOwner)) << f.toStdString();
    }
    EXPECT_EQ(BundledFiles(), before);
    EXPECT_FALSE(QFileInfo::exists(bundled() + "/set.ini"));
    // No temporary folder is left beside it.
    EXPECT_EQ(QDir(Path("home/ann/.local/share")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{"quillnote"});
}

TEST_F(InstalledLayout, LaterStartsKeepWhatTheUserChanged) {
    const ProgramFolderChoice choice = ChooseProgramFolder({"quillnote"}, UserEnv("ann"), bin());
    ASSERT_EQ(PrepareProgramFolder(choice), QString());
    QFile speed(choice.folder + "/speed.txt");
    ASSERT_TRUE(speed.open(QIODevice::WriteOnly | QIODevice::Truncate));
    speed.write("Presto\r\n");
    speed.close();
    ASSERT_TRUE(QFile::remove(choice.folder + "/s/k0.bmp"));
    ASSERT_EQ(PrepareProgramFolder(choice), QString());
    EXPECT_EQ(Read(choice.folder + "/speed.txt"), "Presto\r\n");
    EXPECT_FALSE(QFileInfo::exists(choice.folder + "/s/k0.bmp")) << "the user's folder is the user's";
    EXPECT_EQ(Read(bundled() + "/speed.txt"), "Largo\r\n");
}

TEST_F(InstalledLayout, TwoUsersNeverShareSettings) {
    const ProgramFolderChoice ann = ChooseProgramFolder({"quillnote"}, UserEnv("ann"), bin());
    const ProgramFolderChoice bob = ChooseProgramFolder({"quillnote"}, UserEnv("bob"), bin());
    ASSERT_NE(ann.folder, bob.folder);
    ASSERT_EQ(PrepareProgramFolder(ann), QString());
    ASSERT_EQ(PrepareProgramFolder(bob), QString());
    QFile set(ann.folder + "/set.ini");
    ASSERT_TRUE(set.open(QIODevice::WriteOnly));
    set.write(QByteArray(18, '\1'));
    set.close();
    EXPECT_FALSE(QFileInfo::exists(bob.folder + "/set.ini"));
    EXPECT_FALSE(QFileInfo::exists(bundled() + "/set.ini"));
}

TEST_F(InstalledLayout, AFolderThatCannotBeMadeIsReportedAndNothingIsHalfMade) {
    // A file where the user's data folder should be: the folder cannot be made.
    ASSERT_TRUE(QDir().mkpath(Path("home/ann")));
    Write("home/ann/.local", "not a folder");
    const ProgramFolderChoice blocked = ChooseProgramFolder({"quillnote"}, UserEnv("ann"), bin());
    EXPECT_NE(PrepareProgramFolder(blocked), QString());
    EXPECT_EQ(ExistingProgramFolder(blocked), bundled());

    // A file by the folder's own name.
    ASSERT_TRUE(QDir().mkpath(Path("home/bob/.local/share")));
    Write("home/bob/.local/share/quillnote", "not a folder");
    const ProgramFolderChoice taken = ChooseProgramFolder({"quillnote"}, UserEnv("bob"), bin());
    EXPECT_NE(PrepareProgramFolder(taken), QString());
    EXPECT_EQ(Read(taken.folder), "not a folder");
    EXPECT_EQ(QDir(Path("home/bob/.local/share")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{"quillnote"});
}

}  // namespace
}  // namespace qn
