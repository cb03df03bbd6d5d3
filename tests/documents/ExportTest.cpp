// Pictures of documents: the composition of a document read from its files,
// the picture sizes, the batch over a folder with good and bad documents.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <QTextStream>
#include <QtEndian>
#include <atomic>
#include <chrono>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "BatchExport.h"
#include "ExportCommand.h"
#include "LayoutMath.h"

namespace qn {
namespace {

// A page of the given layout with a black bar across line 1.
QImage Page(int barWidth = 80, int barsPerLine = 8) {
    const PageLayout l = ComputePageLayout(barWidth, barsPerLine, 60);
    QImage img(l.pageWidth, l.pageHeight, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (int x = 20; x < 200; ++x) img.setPixel(x, 120, qRgb(0, 0, 0));
    return img;
}

class Export : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QDir(dir.path()).mkpath("lib");
        QImage pic(10, 8, QImage::Format_RGB32);
        pic.fill(QColor(0, 0, 255));
        pic.save(Path("lib/1.bmp"), "BMP");
        source.context.phrases = {QStringLiteral("rit."), QStringLiteral("a tempo")};
        source.context.libraryFolder = Path("lib");
        source.context.libraryFiles = {QStringLiteral("1.bmp")};
    }
    QString Path(const QString& name) const { return QDir(dir.path()).filePath(name); }
    // A document on disk: its page and its sidecar.
    void Document(const QString& name, const ScoreDocument& doc, const QImage& page = Page()) {
        ASSERT_EQ(SaveScoreFiles(Path(name), page, doc), QString());
    }
    QImage Exported(const ScoreDocument& doc, int scale = 100, const QImage& page = Page()) {
        Document("x.bmp", doc, page);
        EXPECT_EQ(ExportDocument(Path("x.bmp"), Path("x-out.bmp"), ExportFormat::Bmp, scale, source), QString());
        return QImage(Path("x-out.bmp"));
    }
    QTemporaryDir dir;
    ExportSource source;
};

int DarkPixels(const QImage& img, const QRect& r) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) n += qGray(img.pixel(x, y)) < 128 ? 1 : 0;
    return n;
}

TEST_F(Export, PictureSizeFollowsTheScaleOnTheWidth) {
    struct Case { int barWidth, barsPerLine, scale, width, height; } cases[] = {
        {80, 8, 100, 668, 945},  {80, 8, 50, 334, 472},  {80, 8, 200, 1336, 1889},
        {80, 12, 100, 988, 1397}, {80, 12, 50, 494, 699}, {80, 12, 200, 1976, 2794},
        {80, 8, 0, 668, 945},    {80, 8, 250, 668, 945},  // outside 50..200: 100
    };
    for (const Case& c : cases) {
        ScoreDocument doc = StartUpDocument();
        doc.barWidth = Integer(c.barWidth);
        doc.barsPerLine = Integer(c.barsPerLine);
        const QImage img = Exported(doc, c.scale, Page(c.barWidth, c.barsPerLine));
        EXPECT_EQ(img.size(), QSize(c.width, c.height)) << c.barsPerLine << " bars at " << c.scale << "%";
    }
}

TEST_F(Export, LabelsAndOverlaysAreInThePicture) {
    ScoreDocument plain = StartUpDocument();
    plain.title = QString();
    plain.tempo = QString();
    const QImage bare = Exported(plain);
    ScoreDocument doc = StartUpDocument();
    doc.title = QStringLiteral("小星星");
    doc.textOverlays = {{300, 400, 1}};
    doc.pictureOverlays = {{500, 600, 0}};
    const QImage img = Exported(doc);
    EXPECT_GT(DarkPixels(img, QRect(250, 8, 168, 24)), 20) << "title";
    EXPECT_EQ(DarkPixels(bare, QRect(250, 8, 168, 24)), 0);
    EXPECT_GT(DarkPixels(img, QRect(96, 48, 80, 16)), 20) << "tempo";
    EXPECT_GT(DarkPixels(img, QRect(300, 400, 50, 16)), 10) << "phrase";
    EXPECT_EQ(img.pixel(505, 604), qRgb(0, 0, 255)) << "picture";
    EXPECT_EQ(img.pixel(100, 120), qRgb(0, 0, 0)) << "the page itself";
    EXPECT_GT(DarkPixels(img, QRect(280, 945 - 45, 110, 20)), 5) << "page number";
}

TEST_F(Export, StaffAndGuideSwitchesOfTheFileAreNotShown) {
    ScoreDocument off = StartUpDocument();
    off.staffInput = 0;
    off.guideLines = 0;
    ScoreDocument on = off;
    on.staffInput = 1;
    on.guideLines = 1;
    EXPECT_EQ(Exported(off), Exported(on));
}

TEST_F(Export, BatchExportsGoodDocumentsLastFirstAndReportsTheBadOnes) {
    QDir(dir.path()).mkpath("songs");
    ScoreDocument doc = StartUpDocument();
    Document("songs/a.bmp", doc);
    Page().save(Path("songs/b.bmp"), "BMP");  // no sidecar: not a document
    Document("songs/c.bmp", doc);
    Document("songs/d.bmp", doc);
    QFile d(Path("songs/d.bmp"));
    ASSERT_TRUE(d.open(QIODevice::ReadWrite));
    d.resize(100);  // cut off
    d.close();

    QStringList names = ExportableDocuments(Path("songs"));
    EXPECT_EQ(names, QStringList({"a.bmp", "c.bmp", "d.bmp"}));
    std::reverse(names.begin(), names.end());
    QDir(dir.path()).mkpath("out");
    std::vector<ExportJob> jobs;
    for (const QString& n : names) jobs.push_back({Path("songs/" + n), Path("out/" + n)});
    for (int threads : {1, 2}) {
        QDir(Path("out")).removeRecursively();
        QDir(dir.path()).mkpath("out");
        std::vector<int> progress;
        const std::vector<ExportOutcome> outcomes =
            RunExportJobs(jobs, ExportFormat::Bmp, 100, source, threads, [&](int done, int) {
                progress.push_back(done);
                return true;
            });
        ASSERT_EQ(outcomes.size(), 3u);
        EXPECT_TRUE(outcomes[0].source.endsWith("d.bmp"));
        EXPECT_FALSE(outcomes[0].error.isEmpty());
        EXPECT_TRUE(outcomes[0].error.contains("d.bmp"));
        EXPECT_TRUE(outcomes[1].source.endsWith("c.bmp"));
        EXPECT_EQ(outcomes[1].error, QString());
        EXPECT_EQ(outcomes[2].error, QString());
        EXPECT_EQ(QDir(Path("out")).entryList(QDir::Files), QStringList({"a.bmp", "c.bmp"})) << threads;
        EXPECT_EQ(progress.back(), 3);
    }
}

TEST_F(Export, CancelledBatchExportsNoMore) {
    ScoreDocument doc = StartUpDocument();
    std::vector<ExportJob> jobs;
    for (int i = 0; i < 4; ++i) {
        Document(QStringLiteral("s%1.bmp").arg(i), doc);
        jobs.push_back({Path(QStringLiteral("s%1.bmp").arg(i)), Path(QStringLiteral("o%1.bmp").arg(i))});
    }
    const std::vector<ExportOutcome> outcomes =
        RunExportJobs(jobs, ExportFormat::Png, 100, source, 1, [](int done, int) { return done < 2; });
    EXPECT_EQ(outcomes[1].error, QString());
    EXPECT_FALSE(outcomes[2].error.isEmpty());
    EXPECT_FALSE(QFile::exists(Path("o3.bmp")));
}

TEST_F(Export, NamesOfFoldersAndPictures) {
    EXPECT_EQ(ExportFolderName(QTime(14, 30, 5)), QStringLiteral("导出 143005"));
    EXPECT_EQ(ExportFolderName(QTime(0, 0, 0)), QStringLiteral("导出 000000"));
    EXPECT_EQ(ExportFileName("a.bmp", ExportFormat::Bmp), "a.bmp");
    EXPECT_EQ(ExportFileName("A.BMP", ExportFormat::Png), "A.png");
    EXPECT_EQ(ExportFileName("song.v2.bmp", ExportFormat::Pdf), "song.v2.pdf");
    ExportFormat f;
    EXPECT_TRUE(ParseExportFormat("PNG", f));
    EXPECT_EQ(f, ExportFormat::Png);
    EXPECT_FALSE(ParseExportFormat("gif", f));
}

// Notes read from a page without notes: the files are written, and the
// outcome says what was not placed, where, and that the tempo was not understood.
TEST_F(Export, WhatTheNotesCouldNotPlaceIsTold) {
    ScoreDocument doc = StartUpDocument();
    doc.tempo = QStringLiteral("每分钟1200拍");
    Document("n.bmp", doc);
    for (const ExportFormat format : {ExportFormat::MusicXml, ExportFormat::Midi}) {
        QStringList notes;
        const QString target = Path(format == ExportFormat::Midi ? "n.mid" : "n.musicxml");
        EXPECT_EQ(ExportDocument(Path("n.bmp"), target, format, 100, source, &notes), QString());
        EXPECT_TRUE(QFileInfo(target).isFile());
        EXPECT_EQ(notes.join(QStringLiteral(" | ")).toStdString(),
                  "页面上没有音符 (no notes on the page) | 1 mark(s) not placed: line 1, x 20: unknown ink | "
                  "tempo \"每分钟1200拍\" out of range 1..999, 72 used");
    }
}

TEST_F(Export, UnwritablePictureIsReported) {
    Document("y.bmp", StartUpDocument());
    QDir(dir.path()).mkpath("taken.bmp");
    const QString error = ExportDocument(Path("y.bmp"), Path("taken.bmp"), ExportFormat::Bmp, 100, source);
    EXPECT_TRUE(error.contains(Path("taken.bmp")));
}

// A folder whose documents fail in every way a folder can hold.
class ExportSkips : public Export {
protected:
    void SetUp() override {
        Export::SetUp();
        QDir(dir.path()).mkpath("mixed");
        const ScoreDocument doc = StartUpDocument();
        Document("mixed/good.bmp", doc);
        // A folder named like a bitmap, with a sidecar.
        QDir(dir.path()).mkpath("mixed/folder.bmp");
        Document("mixed/folder-side.bmp", doc);
        QFile::rename(Path("mixed/folder-side.dat"), Path("mixed/folder.dat"));
        QFile::remove(Path("mixed/folder-side.bmp"));
        // A bitmap that is a symlink to itself.
        ASSERT_EQ(::symlink("loop.bmp", QFile::encodeName(Path("mixed/loop.bmp")).constData()), 0);
        Document("mixed/loop-side.bmp", doc);
        QFile::rename(Path("mixed/loop-side.dat"), Path("mixed/loop.dat"));
        QFile::remove(Path("mixed/loop-side.bmp"));
        // A good bitmap whose sidecar is a FIFO.
        Document("mixed/fifo.bmp", doc);
        QFile::remove(Path("mixed/fifo.dat"));
        ASSERT_EQ(::mkfifo(QFile::encodeName(Path("mixed/fifo.dat")).constData(), 0644), 0);
        // A header of 60000 x 60000.
        Document("mixed/huge.bmp", doc);
        QFile huge(Path("mixed/huge.bmp"));
        ASSERT_TRUE(huge.open(QIODevice::ReadWrite));
        char size[8];
        qToLittleEndian<qint32>(60000, size);
        qToLittleEndian<qint32>(60000, size + 4);
        huge.seek(18);
        huge.write(size, 8);
    }
    // The reason each skipped document must give, by name.
    const std::vector<std::pair<QString, QString>> expected = {
        {QStringLiteral("folder.bmp"), QStringLiteral("文件夹")},
        {QStringLiteral("loop.bmp"), QStringLiteral("符号链接循环")},
        {QStringLiteral("fifo.bmp"), QStringLiteral("管道")},
        {QStringLiteral("huge.bmp"), QStringLiteral("尺寸")},
    };
};

TEST_F(ExportSkips, BatchNamesEverySkippedDocumentWithItsReason) {
    const QStringList names = ExportableDocuments(Path("mixed"));
    EXPECT_EQ(names, QStringList({"fifo.bmp", "folder.bmp", "good.bmp", "huge.bmp", "loop.bmp"}));
    QDir(dir.path()).mkpath("out");
    std::vector<ExportJob> jobs;
    for (const QString& n : names) jobs.push_back({Path("mixed/" + n), Path("out/" + n)});
    const std::vector<ExportOutcome> outcomes = RunExportJobs(jobs, ExportFormat::Bmp, 100, source, 2);
    for (const ExportOutcome& o : outcomes) {
        if (o.source.endsWith("good.bmp")) {
            EXPECT_EQ(o.error, QString());
            continue;
        }
        bool named = false;
        for (const auto& [name, reason] : expected)
            if (o.source.endsWith("/" + name)) {
                named = true;
                EXPECT_TRUE(o.error.contains(name) && o.error.contains(reason))
                    << name.toStdString() << ": " << o.error.toStdString();
            }
        EXPECT_TRUE(named) << o.source.toStdString();
    }
    EXPECT_EQ(QDir(Path("out")).entryList(QDir::Files), QStringList({"good.bmp"}));
}

TEST_F(ExportSkips, CommandExitsOneOnAnySkipAndNamesIt) {
    QFile::remove(Path("mixed/good.bmp"));  // only faults are left
    QString outText, errText;
    QTextStream out(&outText), err(&errText);
    const QStringList args = {"quillnote", "--export", Path("mixed"), "--out", Path("cli"), "--home", Path("lib")};
    EXPECT_EQ(RunExportCommand(args, dir.path(), out, err, false), 1);
    for (const auto& [name, reason] : expected)
        EXPECT_TRUE(errText.contains(name)) << name.toStdString() << " is not named: " << errText.toStdString();

    // A symlink loop given as the source says so, not that it is missing.
    errText.clear();
    EXPECT_EQ(RunExportCommand({"quillnote", "--export", Path("mixed/loop.bmp"), "--out", Path("cli")}, dir.path(),
                               out, err, false),
              1);
    EXPECT_TRUE(errText.contains(QStringLiteral("符号链接循环"))) << errText.toStdString();
}

TEST_F(Export, CommandWithAFifoForSetIniNeitherHangsNorFails) {
    Document("one.bmp", StartUpDocument());
    QDir(dir.path()).mkpath("home");
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path("home/set.ini")).constData(), 0644), 0);
    QString outText, errText;
    QTextStream out(&outText), err(&errText);
    const QStringList args = {"quillnote", "--export", Path("one.bmp"), "--out", Path("o"), "--home", Path("home")};
    EXPECT_EQ(RunExportCommand(args, dir.path(), out, err, false), 0);
    EXPECT_TRUE(errText.contains(QStringLiteral("set.ini")) && errText.contains(QStringLiteral("管道")))
        << errText.toStdString();
    EXPECT_EQ(QImage(Path("o/one.bmp")).width(), 668);  // at 100 %
}

TEST(MemoryBudget, ALargeRequestWaitsForRoomAndOneTooLargeRunsAlone) {
    MemoryBudget budget(100);
    budget.acquire(60);
    std::atomic<bool> second{false};
    std::thread t([&] {
        budget.acquire(60);
        second = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(second) << "60 + 60 does not fit in 100";
    budget.release(60);
    t.join();
    EXPECT_TRUE(second);
    EXPECT_EQ(budget.used(), 60);
    budget.release(60);
    budget.acquire(500);  // larger than the whole budget: runs once nothing else does
    EXPECT_EQ(budget.used(), 500);
    budget.release(500);
}

TEST_F(Export, CostOfAnExportFollowsThePageAndTheScale) {
    Document("c.bmp", StartUpDocument());
    const qint64 page = 668LL * 945 * 4;
    EXPECT_EQ(ExportMemoryCost(Path("c.bmp"), 100), 4 * page);
    EXPECT_EQ(ExportMemoryCost(Path("c.bmp"), 200), 7 * page);
    EXPECT_EQ(ExportMemoryCost(Path("missing.bmp"), 100), 0);
}

}  // namespace
}  // namespace qn
