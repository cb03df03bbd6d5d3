#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <sys/stat.h>

#include "OutputFile.h"

namespace qn {
namespace {

class OutputFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString Path(const QString& name) const { return QDir(dir.path()).filePath(name); }
    void Write(const QString& name, const QByteArray& bytes) {
        QFile f(Path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray Read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }
    // Everything in the folder, hidden names included.
    QStringList Entries() const {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }
    static mode_t Mode(const QString& path) {
        struct stat st {};
        return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode : 0;
    }
};

TEST_F(OutputFileTest, CommitReplacesTheTargetKeepingItsPermissions) {
    Write("a.bmp", "old contents");
    ASSERT_EQ(::chmod(QFile::encodeName(Path("a.bmp")).constData(), 0640), 0);
    OutputFile out(Path("a.bmp"));
    QString reason;
    ASSERT_TRUE(out.open(&reason)) << reason.toStdString();
    out.device().write("new");
    // Until the commit the target is the old file.
    EXPECT_EQ(Read(Path("a.bmp")), QByteArray("old contents"));
    ASSERT_TRUE(out.commit(&reason)) << reason.toStdString();
    EXPECT_EQ(Read(Path("a.bmp")), QByteArray("new"));
    EXPECT_EQ(Mode(Path("a.bmp")) & 07777, mode_t(0640));
    EXPECT_EQ(Entries(), QStringList{"a.bmp"});
}

TEST_F(OutputFileTest, NewFileGetsTheUsualPermissions) {
    const mode_t mask = ::umask(022);
    {
        OutputFile out(Path("n.png"));
        ASSERT_TRUE(out.open(nullptr));
        out.device().write("x");
        ASSERT_TRUE(out.commit(nullptr));
    }
    ::umask(mask);
    EXPECT_EQ(Mode(Path("n.png")) & 07777, mode_t(0644));
}

TEST_F(OutputFileTest, UncommittedOrCancelledLeavesTheTargetAndNoHiddenFile) {
    Write("a.bmp", "old");
    {
        OutputFile out(Path("a.bmp"));
        ASSERT_TRUE(out.open(nullptr));
        out.device().write("half a picture");
    }
    {
        OutputFile out(Path("b.bmp"));
        ASSERT_TRUE(out.open(nullptr));
        out.device().write("x");
        out.cancel();
        QString reason;
        EXPECT_FALSE(out.commit(&reason));
    }
    EXPECT_EQ(Read(Path("a.bmp")), QByteArray("old"));
    EXPECT_EQ(Entries(), QStringList{"a.bmp"});
}

TEST_F(OutputFileTest, MissingFolderAndFolderTargetAreRefusedWithAReason) {
    OutputFile missing(Path("no/such/a.bmp"));
    QString reason;
    EXPECT_FALSE(missing.open(&reason));
    EXPECT_FALSE(reason.isEmpty());

    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.bmp"));
    OutputFile folder(Path("folder.bmp"));
    ASSERT_TRUE(folder.open(&reason));
    folder.device().write("x");
    reason.clear();
    EXPECT_FALSE(folder.commit(&reason));
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_TRUE(QFileInfo(Path("folder.bmp")).isDir());
    EXPECT_EQ(Entries(), QStringList{"folder.bmp"});
}

TEST_F(OutputFileTest, ASymlinkKeepsPointingAtTheReplacedFile) {
    Write("real.bmp", "old");
    ASSERT_TRUE(QFile::link(Path("real.bmp"), Path("link.bmp")));
    OutputFile out(Path("link.bmp"));
    ASSERT_TRUE(out.open(nullptr));
    out.device().write("new");
    ASSERT_TRUE(out.commit(nullptr));
    EXPECT_TRUE(QFileInfo(Path("link.bmp")).isSymLink());
    EXPECT_EQ(Read(Path("real.bmp")), QByteArray("new"));
    EXPECT_EQ(Entries(), (QStringList{"link.bmp", "real.bmp"}));
}

}  // namespace
}  // namespace qn
