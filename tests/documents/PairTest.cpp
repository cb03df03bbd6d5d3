// The bitmap and the sidecar as one pair: the stamp that ties a sidecar to its
// page, a failed rename that must leave the old pair, and kills at random
// moments of repeated saves, each followed by an open.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <random>
#include <thread>

#include "SaveLoop.h"
#include "ScoreDocument.h"

namespace qn {
namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class Pair : public ::testing::Test {
protected:
    void TearDown() override { SetSaveFaultHookForTesting(nullptr); }
    QString Path(const QString& name) const { return QDir(dir.path()).filePath(name); }
    QTemporaryDir dir;
};

TEST_F(Pair, TheStampTellsTheOwnPageFromAnother) {
    ScoreDocument doc;
    doc.title = QStringLiteral("v1");
    const QImage one = test::VersionPage(1), two = test::VersionPage(2);
    QByteArray stamped = PatchSidecar(QByteArray(), doc);
    const QByteArray unstamped = stamped;
    StampSidecar(stamped, one);
    // Every byte a reader of the format reads stays as the writer left it.
    EXPECT_EQ(stamped.left(sidecar::Stamp), unstamped.left(sidecar::Stamp));
    EXPECT_EQ(stamped.mid(sidecar::Stamp + sidecar::StampSize), unstamped.mid(sidecar::Stamp + sidecar::StampSize));

    EXPECT_EQ(CheckPair(stamped, one), PairCheck::Matches);
    EXPECT_EQ(CheckPair(stamped, two), PairCheck::Mixed);
    QImage onePixel = one;
    onePixel.setPixel(667, 944, qRgb(0, 0, 1));
    EXPECT_EQ(CheckPair(stamped, onePixel), PairCheck::Mixed) << "one pixel differs";
    EXPECT_EQ(CheckPair(stamped, one.copy(0, 0, 668, 944)), PairCheck::Mixed) << "one row less";
    EXPECT_EQ(CheckPair(unstamped, one), PairCheck::Unstamped);
    EXPECT_EQ(CheckPair(QByteArray(), one), PairCheck::Unstamped);
    // Another writer rewrites the fields and keeps the stamp's bytes: the stamp is stale, not a mix.
    doc.title = QStringLiteral("changed elsewhere");
    EXPECT_EQ(CheckPair(PatchSidecar(stamped, doc), two), PairCheck::Foreign);
}

TEST_F(Pair, SaveStampsAndOpenFindsAHandMadeMix) {
    ScoreDocument doc;
    doc.title = QStringLiteral("v1");
    ASSERT_EQ(SaveScoreFiles(Path("a.bmp"), test::VersionPage(1), doc), QString());
    const QByteArray oldBitmap = ReadAll(Path("a.bmp"));
    doc.title = QStringLiteral("v2");
    ASSERT_EQ(SaveScoreFiles(Path("a.bmp"), test::VersionPage(2), doc), QString());
    auto check = [&] {
        QImage page;
        EXPECT_EQ(LoadPageBitmap(Path("a.bmp"), page), QString());
        ScoreDocument read;
        QByteArray raw;
        EXPECT_EQ(ReadSidecarFile(Path("a.dat"), read, false, nullptr, &raw), QString());
        return CheckPair(raw, page);
    };
    EXPECT_EQ(check(), PairCheck::Matches);
    QFile f(Path("a.bmp"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(oldBitmap);  // the old page beside the new sidecar
    f.close();
    EXPECT_EQ(check(), PairCheck::Mixed);
}

TEST_F(Pair, AFailedRenameLeavesTheOldPair) {
    ScoreDocument doc;
    doc.title = QStringLiteral("old");
    ASSERT_EQ(SaveScoreFiles(Path("s.bmp"), test::VersionPage(1), doc), QString());
    const QByteArray oldBitmap = ReadAll(Path("s.bmp")), oldSidecar = ReadAll(Path("s.dat"));
    doc.title = QStringLiteral("new");
    struct Case { const char* name; SaveFaultHook hook; } cases[] = {
        {"bitmap rename", [](const QString& p) { return p.endsWith(".bmp"); }},
        {"sidecar rename", [](const QString& p) { return p.endsWith(".dat"); }},
    };
    for (const Case& c : cases) {
        SetSaveFaultHookForTesting(c.hook);
        const QString error = SaveScoreFiles(Path("s.bmp"), test::VersionPage(2), doc);
        SetSaveFaultHookForTesting(nullptr);
        EXPECT_FALSE(error.isEmpty()) << c.name;
        EXPECT_TRUE(ReadAll(Path("s.bmp")) == oldBitmap) << c.name;
        EXPECT_TRUE(ReadAll(Path("s.dat")) == oldSidecar) << c.name;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"s.bmp", "s.dat"}))
            << c.name << ": no temporary file is left";
    }
    // A first save whose sidecar fails leaves no bitmap either.
    SetSaveFaultHookForTesting([](const QString& p) { return p.endsWith(".dat"); });
    EXPECT_FALSE(SaveScoreFiles(Path("first.bmp"), test::VersionPage(3), doc).isEmpty());
    EXPECT_FALSE(QFile::exists(Path("first.bmp")));
    EXPECT_FALSE(QFile::exists(Path("first.dat")));
}

// A helper process saves versions 0, 1, 2, ... of one document; it is killed at
// a random moment, and the pair left behind is opened.
TEST_F(Pair, KillsDuringRepeatedSavesNeverLeaveASilentlyMixedPair) {
    const QString self = QCoreApplication::applicationFilePath();
    std::random_device seedSource;
    const unsigned seed = seedSource();
    std::mt19937 random(seed);
    int mixed = 0, matched = 0;
    for (int kill = 0; kill < 100; ++kill) {
        QProcess helper;
        helper.start(self, {QStringLiteral("--save-loop"), dir.path()});
        ASSERT_TRUE(helper.waitForStarted()) << "seed " << seed;
        ASSERT_TRUE(helper.waitForReadyRead(20000)) << "seed " << seed;
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 40000));
        helper.kill();
        helper.waitForFinished();

        QImage page;
        ASSERT_EQ(LoadPageBitmap(Path("song.bmp"), page), QString()) << "a torn bitmap, seed " << seed;
        ScoreDocument doc;
        QByteArray raw;
        ASSERT_EQ(ReadSidecarFile(Path("song.dat"), doc, false, nullptr, &raw), QString()) << "seed " << seed;
        const bool sameSave = doc.title == QStringLiteral("v%1").arg(test::PageVersion(page));
        const PairCheck check = CheckPair(raw, page);
        if (sameSave) {
            ++matched;
            EXPECT_EQ(check, PairCheck::Matches) << "kill " << kill << ", seed " << seed;
        } else {
            ++mixed;
            EXPECT_EQ(check, PairCheck::Mixed) << "a silently mixed pair: kill " << kill << ", seed " << seed;
        }
    }
    const int leftovers = int(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size()) - 2;
    std::printf("100 kills: %d pairs of one save, %d mixed pairs (all found), %d leftover files\n", matched,
                mixed, leftovers);
    RecordProperty("mixed", mixed);
    RecordProperty("leftovers", leftovers);
}

}  // namespace
}  // namespace qn
