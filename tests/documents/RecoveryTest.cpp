// Recovery copies without a window: a copy reads back whole, anything less is
// refused with a reason, and orphans are told from copies of running writers.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "Recovery.h"
#include "ScoreDocument.h"

namespace qn {
namespace {

RecoverySnapshot Sample() {
    RecoverySnapshot s;
    s.page = QImage(60, 40, QImage::Format_RGB32);
    s.page.fill(Qt::white);
    s.page.setPixel(7, 9, qRgb(0, 0, 0));
    ScoreDocument doc;
    doc.title = QStringLiteral("小星星");
    s.sidecar = PatchSidecar(QByteArray(), doc);
    s.documentPath = QStringLiteral("/songs/a.bmp");
    s.header = {QStringLiteral("某人 制谱"), QStringLiteral("- p -")};
    s.time = QDateTime::fromMSecsSinceEpoch(1765370000000);
    return s;
}

TEST(Recovery, ACopyReadsBackWholeAndLessIsRefused) {
    const RecoverySnapshot s = Sample();
    const QByteArray bytes = EncodeRecovery(s);
    RecoverySnapshot back;
    ASSERT_TRUE(DecodeRecovery(bytes, back, nullptr));
    EXPECT_EQ(back.page, s.page);
    EXPECT_EQ(back.sidecar, s.sidecar);
    EXPECT_EQ(back.documentPath, s.documentPath);
    EXPECT_EQ(back.header, s.header);
    EXPECT_EQ(back.time, s.time);

    QByteArray flipped = bytes;
    flipped[12] = char(flipped[12] ^ 0x40);  // the top byte of the path's length
    struct Case { const char* name; QByteArray bytes; } cases[] = {
        {"empty", QByteArray()},
        {"cut in half", bytes.left(bytes.size() / 2)},
        {"header only", bytes.left(16)},
        {"no copy at all", QByteArray("BM not a copy")},
        {"a length flipped", flipped},
    };
    for (const Case& c : cases) {
        RecoverySnapshot out = Sample();
        out.documentPath = QStringLiteral("kept");
        QString why;
        EXPECT_FALSE(DecodeRecovery(c.bytes, out, &why)) << c.name;
        EXPECT_FALSE(why.isEmpty()) << c.name;
        EXPECT_EQ(out.documentPath, QStringLiteral("kept")) << c.name << ": nothing is taken from a bad copy";
    }
}

TEST(Recovery, CopiesOfRunningWritersAreNoOrphans) {
    QTemporaryDir dir;
    const QString folder = QDir(dir.path()).filePath("recovery");
    {
        RecoveryWriter live(folder);
        live.submit(Sample());
        live.wait();
        EXPECT_EQ(live.lastError(), QString());
        ASSERT_TRUE(QFile::exists(live.path()));
        EXPECT_TRUE(FindOrphanCopies(folder).empty()) << "its writer still runs";
        // A copy without a lock: its window is gone.
        ASSERT_EQ(WriteRecoveryFile(QDir(folder).filePath("gone.qnr"), Sample()), QString());
        const std::vector<OrphanCopy> orphans = FindOrphanCopies(folder);
        ASSERT_EQ(orphans.size(), 1u);
        EXPECT_TRUE(orphans[0].path.endsWith("gone.qnr"));
        live.remove();
        live.wait();
        EXPECT_FALSE(QFile::exists(live.path()));
    }
    EXPECT_EQ(DiscardCopy(folder, QDir(folder).filePath("gone.qnr")), QString());
    EXPECT_TRUE(QFile::exists(QDir(folder).filePath("discarded/gone.qnr")));
    PruneDiscarded(folder, QDateTime::currentDateTime().addDays(6));
    EXPECT_TRUE(QFile::exists(QDir(folder).filePath("discarded/gone.qnr"))) << "kept seven days";
    PruneDiscarded(folder, QDateTime::currentDateTime().addDays(8));
    EXPECT_FALSE(QFile::exists(QDir(folder).filePath("discarded/gone.qnr")));
}

TEST(Recovery, TheFolderFollowsXdgStateHome) {
    const QByteArray saved = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", "/state/home");
    EXPECT_EQ(RecoveryFolder(), QStringLiteral("/state/home/quillnote/recovery"));
    qputenv("XDG_STATE_HOME", "relative/ignored");
    EXPECT_EQ(RecoveryFolder(), QDir::home().filePath(".local/state/quillnote/recovery"));
    qunsetenv("XDG_STATE_HOME");
    EXPECT_EQ(RecoveryFolder(), QDir::home().filePath(".local/state/quillnote/recovery"));
    if (!saved.isEmpty()) qputenv("XDG_STATE_HOME", saved);
}

}  // namespace
}  // namespace qn
