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

#include "LayoutMath.h"
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

// A bitmap of a header's making: 8-bit with a two-colour palette, then data.
QByteArray BmpWithHeader(qint32 width, qint32 height, quint16 bits, quint32 compression, const QByteArray& data) {
    QByteArray b(54 + 8, '\0');
    b[0] = 'B';
    b[1] = 'M';
    qToLittleEndian<quint32>(quint32(b.size() + data.size()), b.data() + 2);
    qToLittleEndian<quint32>(54 + 8, b.data() + 10);
    qToLittleEndian<quint32>(40, b.data() + 14);
    qToLittleEndian<qint32>(width, b.data() + 18);
    qToLittleEndian<qint32>(height, b.data() + 22);
    qToLittleEndian<quint16>(1, b.data() + 26);
    qToLittleEndian<quint16>(bits, b.data() + 28);
    qToLittleEndian<quint32>(compression, b.data() + 30);
    qToLittleEndian<quint32>(2, b.data() + 46);  // colours used
    b[58] = b[59] = b[60] = '\xff';              // colour 1 white
    return b + data;
}

// Something other than a plain file at path: the kinds a reader must refuse.
enum class Entry { Fifo, Folder, Loop, Dangling, Device, Unreadable };
void MakeEntry(Entry kind, const QString& path) {
    const QByteArray p = QFile::encodeName(path);
    switch (kind) {
    case Entry::Fifo: ASSERT_EQ(::mkfifo(p.constData(), 0644), 0); break;
    case Entry::Folder: ASSERT_TRUE(QDir().mkpath(path)); break;
    case Entry::Loop: ASSERT_EQ(::symlink(p.constData(), p.constData()), 0); break;
    case Entry::Dangling: ASSERT_EQ(::symlink("/nonexistent/quillnote", p.constData()), 0); break;
    case Entry::Device: ASSERT_EQ(::symlink("/dev/zero", p.constData()), 0); break;
    case Entry::Unreadable: {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(600, '\0'));
        f.close();
        ASSERT_EQ(::chmod(p.constData(), 0), 0);
        break;
    }
    }
}

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

TEST_F(DocumentFiles, PageSizeIsBoundedBeforeAnyPixelIsDecoded) {
    // The largest layout's page loads, with room to spare.
    const PageLayout largest = ComputePageLayout(kMaxBarWidth, kMaxBarsPerLine, 250);
    EXPECT_LT(largest.pageWidth, kMaxPageWidth);
    EXPECT_LT(largest.pageHeight, kMaxPageHeight);
    const QByteArray endOfBitmap("\x00\x01", 2);  // run-length data: nothing but the end mark
    struct Case { const char* name; qint32 width, height; quint16 bits; quint32 compression; bool loads; } cases[] = {
        // A 54-byte header whose sizes overflowed the completeness arithmetic.
        {"overflowing sizes", 0x7fffffff, 0x7fffffff, 0xffff, 0, false},
        {"60000 x 60000", 60000, 60000, 24, 0, false},
        {"run-length 8192 x 4096", 8192, 4096, 8, 1, false},
        {"run-length widest", kMaxPageWidth, 4, 8, 1, true},
        {"run-length one wider", kMaxPageWidth + 1, 4, 8, 1, false},
        {"run-length tallest", 4, kMaxPageHeight, 8, 1, true},
        {"run-length one taller", 4, kMaxPageHeight + 1, 8, 1, false},
    };
    for (const Case& c : cases) {
        const QString path = Path(QString::fromLatin1(c.name) + ".bmp");
        WriteAll(path, c.compression ? BmpWithHeader(c.width, c.height, c.bits, c.compression, endOfBitmap)
                                     : BmpWithHeader(c.width, c.height, c.bits, 0, QByteArray()).left(54));
        QImage page;
        const QString error = LoadPageBitmap(path, page);
        if (c.loads) {
            EXPECT_EQ(error, QString()) << c.name;
            EXPECT_EQ(page.size(), QSize(c.width, c.height)) << c.name;
            EXPECT_EQ(BitmapHeaderSize(path), QSize(c.width, c.height)) << c.name;
        } else {
            EXPECT_TRUE(error.contains(QStringLiteral("尺寸"))) << c.name << ": " << error.toStdString();
            EXPECT_TRUE(page.isNull()) << c.name;
            EXPECT_FALSE(BitmapHeaderSize(path).isValid()) << c.name;
        }
    }
}

TEST_F(DocumentFiles, SpecialFilesAreRefusedWithTheirRealReason) {
    struct Case { const char* name; Entry kind; const char16_t* reason; } cases[] = {
        {"fifo", Entry::Fifo, u"管道"},
        {"folder", Entry::Folder, u"文件夹"},
        {"loop", Entry::Loop, u"符号链接循环"},
        {"dangling", Entry::Dangling, u"指向的文件不存在"},
        {"device", Entry::Device, u"设备"},
        {"unreadable", Entry::Unreadable, u"权限"},
    };
    for (const Case& c : cases) {
        if (c.kind == Entry::Unreadable && IsRoot()) continue;  // root reads anything
        const QString bitmap = Path(QString::fromLatin1(c.name) + ".bmp");
        const QString side = SidecarPath(bitmap);
        MakeEntry(c.kind, bitmap);
        MakeEntry(c.kind, side);
        QImage page;
        const QString bitmapError = LoadPageBitmap(bitmap, page);
        EXPECT_TRUE(bitmapError.contains(bitmap)) << c.name;
        EXPECT_TRUE(bitmapError.contains(QString::fromUtf16(c.reason))) << c.name << ": " << bitmapError.toStdString();
        ScoreDocument doc;
        doc.title = QStringLiteral("current");
        const QString sideError = ReadSidecarFile(side, doc, false);
        EXPECT_TRUE(sideError.contains(QString::fromUtf16(c.reason))) << c.name << ": " << sideError.toStdString();
        EXPECT_EQ(doc.title, QStringLiteral("current")) << c.name;
        // Saving over such a pair writes nothing and leaves the entries as they were.
        EXPECT_FALSE(SaveScoreFiles(bitmap, SmallPage(), ScoreDocument()).isEmpty()) << c.name;
        struct stat st {};
        if (c.kind == Entry::Fifo) {
            ASSERT_EQ(::stat(QFile::encodeName(side).constData(), &st), 0);
            EXPECT_TRUE(S_ISFIFO(st.st_mode)) << c.name;
        }
    }
    QImage page;
    EXPECT_TRUE(LoadPageBitmap(Path("missing.bmp"), page).contains(QStringLiteral("文件不存在")));
}

TEST_F(DocumentFiles, OversizedSidecarIsNeitherReadNorRewritten) {
    QFile f(Path("big.dat"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(kMaxSidecarSize + 1));  // sparse: no disk space taken
    f.close();
    ScoreDocument doc;
    EXPECT_TRUE(ReadSidecarFile(Path("big.dat"), doc, false).contains(QStringLiteral("过大")));
    EXPECT_FALSE(SaveScoreFiles(Path("big.bmp"), SmallPage(), doc).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(Path("big.bmp")));
    EXPECT_EQ(QFileInfo(Path("big.dat")).size(), kMaxSidecarSize + 1);
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
        const int stride = (size.width() * 3 + 3) / 4 * 4;
        EXPECT_EQ(bytes.size(), 54 + stride * size.height());
        // Every line's padding is zero, so equal pages give equal files.
        for (int y = 0; y < size.height(); ++y)
            for (int i = size.width() * 3; i < stride; ++i) ASSERT_EQ(bytes[54 + y * stride + i], '\0') << y;
    }
}

// The page loader unpacks plain 24-bit files itself: it must give exactly what
// Qt's decoder gives, bottom-up or top-down, with or without a gap before the
// pixels, for every line padding.
TEST_F(DocumentFiles, Plain24BitFilesLoadAsQtDecodesThem) {
    struct Case {
        QSize size;
        bool topDown;
        int gap;  // bytes between the header and the pixels
    };
    for (const Case c : {Case{{1, 1}, false, 0}, Case{{3, 2}, false, 0}, Case{{5, 7}, true, 0},
                         Case{{6, 3}, false, 10}, Case{{668, 945}, false, 0}}) {
        QImage img(c.size, QImage::Format_RGB32);
        for (int y = 0; y < c.size.height(); ++y)
            for (int x = 0; x < c.size.width(); ++x) img.setPixel(x, y, qRgb(x * 31 % 256, y * 17 % 256, (x ^ y) % 256));
        QByteArray bytes;
        QBuffer buf(&bytes);
        buf.open(QIODevice::WriteOnly);
        ASSERT_TRUE(WriteBmp24(img, buf));
        const int stride = (c.size.width() * 3 + 3) / 4 * 4;
        QByteArray pixels = bytes.mid(54);
        if (c.topDown) {
            QByteArray flipped;
            for (int y = c.size.height() - 1; y >= 0; --y) flipped += pixels.mid(y * stride, stride);
            pixels = flipped;
            qToLittleEndian<qint32>(-c.size.height(), bytes.data() + 22);
        }
        QByteArray file = bytes.left(54) + QByteArray(c.gap, '\x5a') + pixels;
        qToLittleEndian<quint32>(54 + c.gap, file.data() + 10);
        qToLittleEndian<quint32>(file.size(), file.data() + 2);
        WriteAll(Path("p.bmp"), file);
        QImage qt;
        ASSERT_TRUE(qt.loadFromData(file, "BMP"));
        QImage page;
        ASSERT_EQ(LoadPageBitmap(Path("p.bmp"), page), QString());
        EXPECT_EQ(page.format(), QImage::Format_RGB32);
        EXPECT_EQ(page, qt.convertToFormat(QImage::Format_RGB32)) << c.size.width() << "x" << c.size.height();
        EXPECT_EQ(page, img);
    }
}

// Images in other formats are written through Qt's conversion, with the same
// file as an RGB32 image of the same colours.
TEST(Bmp24, OtherFormatsWriteTheSameFile) {
    QImage img(7, 5, QImage::Format_RGB32);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) img.setPixel(x, y, qRgb(x * 40, y * 50, 200 - x * y));
    const auto write = [](const QImage& i) {
        QByteArray bytes;
        QBuffer buf(&bytes);
        buf.open(QIODevice::WriteOnly);
        EXPECT_TRUE(WriteBmp24(i, buf));
        return bytes;
    };
    const QByteArray expected = write(img);
    for (QImage::Format f : {QImage::Format_ARGB32, QImage::Format_RGB888, QImage::Format_BGR888})
        EXPECT_EQ(write(img.convertToFormat(f)), expected) << int(f);
}

}  // namespace
}  // namespace qn
