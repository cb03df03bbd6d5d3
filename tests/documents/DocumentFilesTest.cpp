// The files of a document on disk: saving both, reading them back, and what
// bad files do (never a crash, never a change to a file that was only read).
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>
#include <sys/stat.h>
#include <unistd.h>

#include "ScoreDocument.h"

namespace qn {
namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QImage SmallPage() {
    QImage img(60, 40, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (int x = 5; x < 50; ++x) img.setPixel(x, 20, qRgb(0, 0, 0));
    img.setPixel(3, 3, qRgb(255, 0, 0));
    return img;
}

QByteArray BmpBytes(const QImage& img) {
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "BMP");
    return bytes;
}

bool IsRoot() { return ::geteuid() == 0; }

class DocumentFiles : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString Path(const QString& name) const { return QDir(dir.path()).filePath(name); }
};

TEST_F(DocumentFiles, SaveWritesBothFilesAndTheyReadBack) {
    ScoreDocument doc;
    doc.title = QStringLiteral("小星星");
    doc.pictureOverlays = {{10, 20, 1}};
    ASSERT_EQ(SaveScoreFiles(Path("song.bmp"), SmallPage(), doc), QString());
    QImage page;
    ASSERT_EQ(LoadPageBitmap(Path("song.bmp"), page), QString());
    EXPECT_EQ(page, SmallPage());  // pixel for pixel
    ScoreDocument read;
    ASSERT_EQ(ReadSidecarFile(Path("song.dat"), read, false), QString());
    EXPECT_EQ(read.title, QStringLiteral("小星星"));
    EXPECT_EQ(read.pictureOverlays, doc.pictureOverlays);

    // A name without an extension loses its last three letters to the sidecar.
    ASSERT_EQ(SaveScoreFiles(Path("song"), SmallPage(), doc), QString());
    EXPECT_TRUE(QFileInfo::exists(Path("sdat")));
}

TEST_F(DocumentFiles, SaveKeepsTheSidecarsTailAndItsOtherBytes) {
    QByteArray old(1 << 20, '\x33');
    WriteAll(Path("a.dat"), old);
    ASSERT_EQ(SaveScoreFiles(Path("a.bmp"), SmallPage(), ScoreDocument()), QString());
    const QByteArray now = ReadAll(Path("a.dat"));
    ASSERT_EQ(now.size(), old.size());
    EXPECT_EQ(now.mid(800), old.mid(800));
    EXPECT_EQ(now.mid(10, 10), old.mid(10, 10));
    EXPECT_NE(now.left(6), old.left(6));
}

TEST_F(DocumentFiles, MissingSidecarIsCreatedEmptyAndKeepsEverything) {
    ScoreDocument doc;
    doc.title = QStringLiteral("current");
    ScoreDocument::Held held;
    ASSERT_EQ(ReadSidecarFile(Path("x.dat"), doc, false, &held), QString());
    EXPECT_TRUE(QFileInfo::exists(Path("x.dat")));
    EXPECT_EQ(QFileInfo(Path("x.dat")).size(), 0);
    EXPECT_EQ(doc.title, QStringLiteral("current"));
    EXPECT_FALSE(held.title);
}

TEST_F(DocumentFiles, BadBitmapsGiveAnErrorAndLeaveThePageAndTheFile) {
    const QByteArray good = BmpBytes(SmallPage());
    QByteArray flipped = good;
    for (int i = 0; i < flipped.size(); i += 7) flipped[i] = char(flipped[i] ^ 0x5a);
    QByteArray absurd = good;
    qToLittleEndian<qint32>(1000000, absurd.data() + 18);   // width
    qToLittleEndian<qint32>(-1000000, absurd.data() + 22);  // height (top-down)
    QByteArray huge = good;
    qToLittleEndian<qint32>(30000, huge.data() + 18);
    qToLittleEndian<qint32>(30000, huge.data() + 22);
    QByteArray oversized = good + QByteArray(3 << 20, '\x77');
    struct Case { const char* name; QByteArray bytes; bool loads; } cases[] = {
        {"zero", QByteArray(), false},
        {"truncated", good.left(good.size() / 2), false},
        {"header only", good.left(54), false},
        {"flipped", flipped, false},
        {"absurd", absurd, false},
        {"huge", huge, false},
        {"text", QByteArray("not a picture at all"), false},
        {"png", [] { QByteArray b; QBuffer buf(&b); buf.open(QIODevice::WriteOnly); SmallPage().save(&buf, "PNG"); return b; }(), false},
        {"oversized", oversized, true},  // trailing bytes after a sound bitmap do no harm
    };
    for (const Case& c : cases) {
        const QString path = Path(QString::fromLatin1(c.name) + ".bmp");
        WriteAll(path, c.bytes);
        QImage page(7, 7, QImage::Format_RGB32);
        page.fill(Qt::green);
        const QImage before = page;
        const QString error = LoadPageBitmap(path, page);
        if (c.loads) {
            EXPECT_EQ(error, QString()) << c.name;
            EXPECT_EQ(page, SmallPage()) << c.name;
        } else {
            EXPECT_FALSE(error.isEmpty()) << c.name;
            EXPECT_TRUE(error.contains(path)) << c.name << ": the message names the file";
            EXPECT_EQ(page, before) << c.name;
        }
        EXPECT_EQ(ReadAll(path), c.bytes) << c.name << ": a file that is only read stays as it was";
    }
    QImage page;
    EXPECT_FALSE(LoadPageBitmap(Path("missing.bmp"), page).isEmpty());
    QDir(dir.path()).mkdir("folder.bmp");
    EXPECT_FALSE(LoadPageBitmap(Path("folder.bmp"), page).isEmpty());
}

TEST_F(DocumentFiles, BadSidecarsAreReadWithoutHarm) {
    const QByteArray good = PatchSidecar(QByteArray(), ScoreDocument());
    QByteArray flipped = good;
    for (int i = 0; i < flipped.size(); i += 3) flipped[i] = char(flipped[i] ^ 0xa5);
    struct Case { const char* name; QByteArray bytes; } cases[] = {
        {"zero", QByteArray()},
        {"truncated", good.left(101)},
        {"flipped", flipped},
        {"oversized", good + QByteArray(4 << 20, '\xff')},
    };
    for (const Case& c : cases) {
        const QString path = Path(QString::fromLatin1(c.name) + ".dat");
        WriteAll(path, c.bytes);
        ScoreDocument d;
        EXPECT_EQ(ReadSidecarFile(path, d, false), QString()) << c.name;
        EXPECT_LE(int(d.textOverlays.size()), sidecar::MaxTextRecords) << c.name;
        EXPECT_LE(int(d.pictureOverlays.size()), sidecar::MaxPictureRecords) << c.name;
        EXPECT_EQ(ReadAll(path), c.bytes) << c.name;
    }
    QDir(dir.path()).mkdir("folder.dat");
    ScoreDocument d;
    EXPECT_FALSE(ReadSidecarFile(Path("folder.dat"), d, false).isEmpty());
}

TEST_F(DocumentFiles, FailedSaveLeavesBothFilesAsTheyWere) {
    ScoreDocument doc;
    doc.title = QStringLiteral("new");
    // The sidecar's place is taken by a folder: nothing may be written.
    WriteAll(Path("b.bmp"), BmpBytes(SmallPage()));
    QDir(dir.path()).mkdir("b.dat");
    QImage other(60, 40, QImage::Format_RGB32);
    other.fill(Qt::black);
    const QString error = SaveScoreFiles(Path("b.bmp"), other, doc);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(error.contains(Path("b.dat")));
    EXPECT_EQ(ReadAll(Path("b.bmp")), BmpBytes(SmallPage()));

    // A bitmap named like its own sidecar would be overwritten by it.
    EXPECT_FALSE(SaveScoreFiles(Path("c.dat"), other, doc).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(Path("c.dat")));

    // The bitmap's place is a folder.
    QDir(dir.path()).mkdir("d.bmp");
    EXPECT_FALSE(SaveScoreFiles(Path("d.bmp"), other, doc).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(Path("d.dat")));
}

TEST_F(DocumentFiles, ReadOnlyFolderRefusesTheSaveAndKeepsTheFiles) {
    if (IsRoot()) GTEST_SKIP() << "root ignores folder permissions";
    WriteAll(Path("e.bmp"), BmpBytes(SmallPage()));
    const QByteArray sidecar = PatchSidecar(QByteArray(), ScoreDocument());
    WriteAll(Path("e.dat"), sidecar);
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0555), 0);
    QImage other(60, 40, QImage::Format_RGB32);
    other.fill(Qt::black);
    const QString error = SaveScoreFiles(Path("e.bmp"), other, ScoreDocument());
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(ReadAll(Path("e.bmp")), BmpBytes(SmallPage()));
    EXPECT_EQ(ReadAll(Path("e.dat")), sidecar);
}

}  // namespace
}  // namespace qn

namespace qn {
namespace {

TEST(Bmp24, WritesWhatTheImageReaderReadsBack) {
    for (QSize size : {QSize(1, 1), QSize(3, 2), QSize(668, 945), QSize(5, 70)}) {
        QImage img(size, QImage::Format_RGB32);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) img.setPixel(x, y, qRgb(x * 7 % 256, y * 13 % 256, (x + y) % 256));
        QByteArray bytes;
        QBuffer buf(&bytes);
        buf.open(QIODevice::WriteOnly);
        ASSERT_TRUE(WriteBmp24(img, buf));
        QImage back;
        ASSERT_TRUE(back.loadFromData(bytes, "BMP"));
        EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), img) << size.width() << "x" << size.height();
        EXPECT_EQ(bytes.size(), 54 + (size.width() * 3 + 3) / 4 * 4 * size.height());
    }
}

}  // namespace
}  // namespace qn
