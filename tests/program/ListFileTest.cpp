#include "ListFile.h"

#include <functional>

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray gbk(const QString& text)
{
    QStringEncoder encoder("GBK");
    EXPECT_TRUE(encoder.isValid());
    return encoder.encode(text);
}

TEST(ListFile, FieldsAreSplitLikeASequentialReader)
{
    struct Case {
        const char* name;
        QString text;
        QStringList want;
    };
    const Case cases[] = {
        {"comma and CRLF", u"慢板,快板\r\n"_qs, {u"慢板"_qs, u"快板"_qs}},
        {"quoted comma", u"\"慢板,快板\"\n"_qs, {u"慢板,快板"_qs}},
        {"empty file", u""_qs, {}},
        {"no final newline", u"慢板\r\n快板"_qs, {u"慢板"_qs, u"快板"_qs}},
        {"only blank lines", u"\r\n\r\n\n  \t\r\n"_qs, {}},
        {"blank lines between", u"慢板\r\n\r\n\n快板\r\n\r\n"_qs, {u"慢板"_qs, u"快板"_qs}},
        {"LF and lone CR", u"甲\n乙\r丙\r\n丁"_qs, {u"甲"_qs, u"乙"_qs, u"丙"_qs, u"丁"_qs}},
        {"outer blanks dropped", u"  中 速  ,\t稍快\t\r\n"_qs, {u"中 速"_qs, u"稍快"_qs}},
        {"quoted blanks kept", u"  \" 渐慢 \"  ,x\n"_qs, {u" 渐慢 "_qs, u"x"_qs}},
        {"text after closing quote ignored", u"\"甲\"乙,丙\n"_qs, {u"甲"_qs, u"丙"_qs}},
        {"quoted line end", u"\"一行\r\n两行\",x"_qs, {u"一行\r\n两行"_qs, u"x"_qs}},
        {"adjacent commas", u"a,,b\n"_qs, {u"a"_qs, u""_qs, u"b"_qs}},
        {"comma before line end", u"a,\nb\n"_qs, {u"a"_qs, u""_qs, u"b"_qs}},
        {"unclosed quote runs to end", u"\"a,b\nc"_qs, {u"a,b\nc"_qs}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(qn::ParseListFields(gbk(c.text)), c.want);
    }
}

TEST(ListFile, DecodesGbkBytes)
{
    // 慢板 in GBK, written out byte by byte.
    EXPECT_EQ(qn::ParseListFields(QByteArray("\xC2\xFD\xB0\xE5,\"\xC2\xFD\"\r\n")),
              (QStringList{u"慢板"_qs, u"慢"_qs}));
}

TEST(ListFile, ReadsAFileAndReportsAMissingOne)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("speed.txt");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(gbk(u"快板,\"小快板,活泼\"\r\n广板"_qs));
    }
    const auto read = qn::ReadListFile(path);
    EXPECT_EQ(read.error, QString());
    EXPECT_EQ(read.entries, (QStringList{u"快板"_qs, u"小快板,活泼"_qs, u"广板"_qs}));

    const auto missing = qn::ReadListFile(dir.filePath("explin.txt"));
    EXPECT_FALSE(missing.error.isEmpty());
    EXPECT_TRUE(missing.entries.isEmpty());
}

TEST(ListFile, RefusesWhatIsNoPlainFileOfAListsSize)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    struct Case {
        const char* name;
        std::function<void(const QByteArray&)> make;
        const char16_t* reason;
    };
    const Case cases[] = {
        // A FIFO would block the reader at start-up for ever.
        {"fifo", [](const QByteArray& p) { ASSERT_EQ(::mkfifo(p.constData(), 0644), 0); }, u"管道"},
        // /dev/zero never ends: an unbounded read ran out of memory.
        {"device", [](const QByteArray& p) { ASSERT_EQ(::symlink("/dev/zero", p.constData()), 0); }, u"设备"},
        {"folder", [](const QByteArray& p) { ASSERT_EQ(::mkdir(p.constData(), 0755), 0); }, u"文件夹"},
        {"loop", [](const QByteArray& p) { ASSERT_EQ(::symlink(p.constData(), p.constData()), 0); }, u"符号链接循环"},
        {"too large",
         [](const QByteArray& p) {
             QFile f(QFile::decodeName(p));
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             ASSERT_TRUE(f.resize(qn::kMaxListFileSize + 1));
         },
         u"过大"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(QString::fromLatin1(c.name) + ".txt");
        c.make(QFile::encodeName(path));
        const auto read = qn::ReadListFile(path);
        EXPECT_TRUE(read.error.contains(QString::fromUtf16(c.reason))) << read.error.toStdString();
        EXPECT_TRUE(read.error.contains(path));
        EXPECT_TRUE(read.entries.isEmpty());
    }
    // The largest list still reads.
    const QString largest = dir.filePath("largest.txt");
    {
        QFile f(largest);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(qn::kMaxListFileSize - 2, 'a') + ",b");
    }
    EXPECT_EQ(qn::ReadListFile(largest).entries.size(), 2);
}

}  // namespace
