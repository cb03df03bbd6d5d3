#include "SettingsFile.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using qn::OptionsValues;

QByteArray bytes(std::initializer_list<int> list)
{
    QByteArray out;
    for (int b : list)
        out.append(static_cast<char>(b));
    return out;
}

void writeRaw(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(data), data.size());
}

QByteArray readRaw(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void expectValues(const OptionsValues& got, const OptionsValues& want)
{
    EXPECT_EQ(got.ExportScale, want.ExportScale);
    EXPECT_EQ(got.BeatSpacing, want.BeatSpacing);
    EXPECT_EQ(got.Check8, want.Check8);
    EXPECT_EQ(got.Check10, want.Check10);
    EXPECT_EQ(got.Check11, want.Check11);
    EXPECT_EQ(got.Check12, want.Check12);
}

OptionsValues makeValues(int scale, float spacing, int c8, int c10, int c11, int c12)
{
    OptionsValues v;
    v.ExportScale = static_cast<qn::Byte>(scale);
    v.BeatSpacing = spacing;
    v.Check8 = static_cast<qn::Byte>(c8);
    v.Check10 = static_cast<qn::Byte>(c10);
    v.Check11 = static_cast<qn::Byte>(c11);
    v.Check12 = static_cast<qn::Byte>(c12);
    return v;
}

struct LayoutCase {
    const char* name;
    OptionsValues values;
    QByteArray file;
};

// One item set per case, so an item at a wrong offset shows up.
TEST(SettingsFile, EachItemSitsAtItsOffsetBothWays)
{
    const LayoutCase cases[] = {
        {"ratio", makeValues(150, 0, 0, 0, 0, 0),
         bytes({0x96, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})},
        {"spacing 0.5", makeValues(0, 0.5f, 0, 0, 0, 0),
         bytes({0, 0x00, 0x00, 0x00, 0x3F, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})},
        {"spacing 0.1", makeValues(0, 0.1f, 0, 0, 0, 0),
         bytes({0, 0xCD, 0xCC, 0xCC, 0x3D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})},
        {"Check8", makeValues(0, 0, 1, 0, 0, 0),
         bytes({0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})},
        {"Check10", makeValues(0, 0, 0, 1, 0, 0),
         bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0})},
        {"Check11", makeValues(0, 0, 0, 0, 1, 0),
         bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0})},
        {"Check12", makeValues(0, 0, 0, 0, 0, 1),
         bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1})},
        {"all", makeValues(200, 1.0f, 1, 1, 1, 1),
         bytes({0xC8, 0x00, 0x00, 0x80, 0x3F, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1})},
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString written = dir.filePath(QStringLiteral("w-%1.ini").arg(c.name));
        EXPECT_EQ(qn::WriteOptionsFile(written, c.values), QString());
        EXPECT_EQ(readRaw(written).toHex(' '), c.file.toHex(' '));

        const QString handMade = dir.filePath(QStringLiteral("r-%1.ini").arg(c.name));
        writeRaw(handMade, c.file);
        const auto read = qn::ReadOptionsFile(handMade);
        EXPECT_EQ(read.error, QString());
        expectValues(read.values, c.values);
    }
}

TEST(SettingsFile, WritingKeepsEveryByteItDoesNotOwn)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("set.ini");
    QByteArray original;
    for (int i = 0; i < 30; ++i)
        original.append(static_cast<char>(0xA0 + i));
    writeRaw(path, original);

    ASSERT_EQ(qn::WriteOptionsFile(path, makeValues(60, 0.5f, 1, 0, 1, 0)), QString());

    QByteArray expected = original;
    const QByteArray owned = bytes({60, 0x00, 0x00, 0x00, 0x3F, 1});
    expected.replace(0, owned.size(), owned);
    expected[9] = 0;
    expected[13] = 1;
    expected[17] = 0;
    EXPECT_EQ(readRaw(path).toHex(' '), expected.toHex(' '));
}

TEST(SettingsFile, MissingFileIsCreatedEmptyAndReadsAsZero)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("set.ini");
    const auto read = qn::ReadOptionsFile(path);
    EXPECT_EQ(read.error, QString());
    expectValues(read.values, OptionsValues{});
    ASSERT_TRUE(QFile::exists(path));
    EXPECT_EQ(QFile(path).size(), 0);
}

TEST(SettingsFile, ShortFileReadsMissingBytesAsZeroAndGrowsOnWrite)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("set.ini");
    // Ratio 100 and three bytes of the float; its top byte lies beyond the end.
    writeRaw(path, bytes({0x64, 0x00, 0x00, 0x80}));
    const auto read = qn::ReadOptionsFile(path);
    EXPECT_EQ(read.error, QString());
    EXPECT_EQ(read.values.ExportScale, 100);
    EXPECT_EQ(read.values.BeatSpacing, std::numeric_limits<float>::min());  // 0x00800000
    EXPECT_EQ(QFile(path).size(), 4) << "reading must not change the file";

    ASSERT_EQ(qn::WriteOptionsFile(path, makeValues(100, 0.5f, 0, 0, 0, 1)), QString());
    EXPECT_EQ(readRaw(path).toHex(' '),
              bytes({0x64, 0, 0, 0, 0x3F, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}).toHex(' '));
}

TEST(SettingsFile, DamagedValuesReadAsSafeDefaults)
{
    struct Case {
        const char* name;
        QByteArray file;
        OptionsValues want;
    };
    const Case cases[] = {
        {"switch bytes 7, 2, 255, 1",
         bytes({9, 0, 0, 0, 0, 7, 0, 0, 0, 2, 0, 0, 0, 255, 0, 0, 0, 1}),
         makeValues(9, 0, 0, 0, 0, 1)},
        {"NaN", bytes({0, 0x00, 0x00, 0xC0, 0x7F, 1}), makeValues(0, 0, 1, 0, 0, 0)},
        {"infinity", bytes({0, 0x00, 0x00, 0x80, 0x7F}), makeValues(0, 0, 0, 0, 0, 0)},
        {"1.5 is kept", bytes({0, 0x00, 0x00, 0xC0, 0x3F}), makeValues(0, 1.5f, 0, 0, 0, 0)},
        {"5.0 is kept", bytes({0, 0x00, 0x00, 0xA0, 0x40}), makeValues(0, 5.0f, 0, 0, 0, 0)},
        {"8.0 is kept", bytes({0, 0x00, 0x00, 0x00, 0x41}), makeValues(0, 8.0f, 0, 0, 0, 0)},
        {"8.5", bytes({0, 0x00, 0x00, 0x08, 0x41}), makeValues(0, 0, 0, 0, 0, 0)},
        {"-0.5", bytes({0, 0x00, 0x00, 0x00, 0xBF}), makeValues(0, 0, 0, 0, 0, 0)},
        {"0.25 is kept", bytes({0, 0x00, 0x00, 0x80, 0x3E}), makeValues(0, 0.25f, 0, 0, 0, 0)},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath("set.ini");
        writeRaw(path, c.file);
        const auto read = qn::ReadOptionsFile(path);
        EXPECT_EQ(read.error, QString());
        expectValues(read.values, c.want);
    }
}

TEST(SettingsFile, UncreatableFileGivesZerosAndErrors)
{
    // A regular file as parent folder stops even root.
    QTemporaryDir dir;
    const QString notAFolder = dir.filePath("plain");
    writeRaw(notAFolder, "x");
    const QString path = notAFolder + "/set.ini";

    const auto read = qn::ReadOptionsFile(path);
    EXPECT_FALSE(read.error.isEmpty());
    expectValues(read.values, OptionsValues{});

    EXPECT_TRUE(qn::WriteOptionsFile(path, makeValues(100, 0.5f, 1, 1, 1, 1)).contains("cannot be created"));
    EXPECT_EQ(readRaw(notAFolder), QByteArray("x"));
}

TEST(SettingsFile, ReadOnlyFileIsReadButNotWritten)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "file permissions do not stop root";
    QTemporaryDir dir;
    const QString path = dir.filePath("set.ini");
    const QByteArray original = bytes({120, 0, 0, 0, 0x3F, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0});
    writeRaw(path, original);
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner));

    const auto read = qn::ReadOptionsFile(path);
    EXPECT_EQ(read.error, QString());
    expectValues(read.values, makeValues(120, 0.5f, 1, 0, 1, 0));

    EXPECT_TRUE(qn::WriteOptionsFile(path, makeValues(50, 1.0f, 0, 0, 0, 1)).contains("not writable"));
    EXPECT_EQ(readRaw(path).toHex(' '), original.toHex(' '));
}

TEST(SettingsFile, MissingFileInReadOnlyFolderCannotBeCreated)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "folder permissions do not stop root";
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    const QString error = qn::WriteOptionsFile(dir.filePath("set.ini"), makeValues(100, 0, 0, 0, 0, 0));
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(error.contains("cannot be created")) << error.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("set.ini")));
}

TEST(SettingsFile, LongTailStaysWhereItIsAndTheFileKeepsItsIdentity)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("set.ini");
    const QString link = dir.filePath("backup-link.ini");
    QByteArray original(18, '\0');
    QByteArray tail(1 << 20, '\0');
    for (int i = 0; i < tail.size(); ++i)
        tail[i] = static_cast<char>((i * 7 + 3) & 0xFF);
    original += tail;
    writeRaw(path, original);
    ASSERT_EQ(::link(QFile::encodeName(path).constData(), QFile::encodeName(link).constData()), 0);
    struct stat before {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &before), 0);

    ASSERT_EQ(qn::WriteOptionsFile(path, makeValues(150, 1.5f, 1, 0, 1, 1)), QString());

    struct stat after {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    const QByteArray got = readRaw(path);
    ASSERT_EQ(got.size(), original.size());
    EXPECT_TRUE(got.mid(18) == tail) << "the tail is untouched";
    EXPECT_EQ(got.left(18).toHex(' '),
              bytes({150, 0x00, 0x00, 0xC0, 0x3F, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1}).toHex(' '));
    EXPECT_TRUE(readRaw(link) == got) << "the hard link sees the new values";
    const auto read = qn::ReadOptionsFile(path);
    expectValues(read.values, makeValues(150, 1.5f, 1, 0, 1, 1));
}

TEST(SettingsFile, WritableFileInReadOnlyFolderIsPatchedInPlace)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "folder permissions do not stop root";
    QTemporaryDir dir;
    const QString path = dir.filePath("set.ini");
    QByteArray original(24, '\x55');
    writeRaw(path, original);
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));

    const QString error = qn::WriteOptionsFile(path, makeValues(70, 0, 1, 1, 0, 0));
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(error, QString());
    const QByteArray want = bytes({70, 0, 0, 0, 0, 1, 0x55, 0x55, 0x55, 1, 0x55, 0x55, 0x55, 0,
                                   0x55, 0x55, 0x55, 0, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55});
    EXPECT_EQ(readRaw(path).toHex(' '), want.toHex(' '));
}

TEST(SettingsFile, SpecialFilesAreRefusedWithoutHangingAndKeepTheirKind)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    struct Case {
        const char* name;
        int (*make)(const char* path);
        const char* reason;  // in the read error
    };
    const Case cases[] = {
        // A FIFO hung the window and the export at start-up.
        {"fifo", [](const char* p) { return ::mkfifo(p, 0644); }, "管道"},
        {"device", [](const char* p) { return ::symlink("/dev/zero", p); }, "设备"},
        {"folder", [](const char* p) { return ::mkdir(p, 0755); }, "文件夹"},
        {"loop", [](const char* p) { return ::symlink(p, p); }, "符号链接循环"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(QStringLiteral("%1.ini").arg(c.name));
        const QByteArray native = QFile::encodeName(path);
        ASSERT_EQ(c.make(native.constData()), 0);
        const auto read = qn::ReadOptionsFile(path);
        EXPECT_TRUE(read.error.contains(QString::fromUtf8(c.reason))) << read.error.toStdString();
        expectValues(read.values, OptionsValues{});
        EXPECT_TRUE(qn::WriteOptionsFile(path, makeValues(100, 0.5f, 1, 1, 1, 1)).contains("not writable"));
        struct stat st {};
        ASSERT_EQ(::lstat(native.constData(), &st), 0) << "the entry is still there";
        if (std::string(c.name) == "fifo") {
            EXPECT_TRUE(S_ISFIFO(st.st_mode));
        }
    }
    // A file far larger than any "set.ini" is refused as a whole.
    const QString big = dir.filePath("big.ini");
    {
        QFile f(big);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes({150}));
        ASSERT_TRUE(f.resize(qn::kMaxOptionsFileSize + 1));
    }
    const auto read = qn::ReadOptionsFile(big);
    EXPECT_TRUE(read.error.contains(QStringLiteral("过大"))) << read.error.toStdString();
    expectValues(read.values, OptionsValues{});
}

}  // namespace
