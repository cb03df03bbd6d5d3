// MusicXML another program wrote: MuseScore 3 converts its own demo scores at
// test time, and each imports with every bar read back as imported.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "Importer.h"

using namespace qn::import;

TEST(ImportOtherPrograms, MuseScoreDemosReadBackAsImported) {
    const QString mscore = QStandardPaths::findExecutable(QStringLiteral("mscore3"));
    const QDir demos(QStringLiteral("/usr/share/mscore3-3.2/demos"));
    if (mscore.isEmpty() || !demos.exists())
        GTEST_SKIP() << "MuseScore 3 (mscore3) or its demos are not installed: no scores of another program to import";
    const QStringList files = demos.entryList({QStringLiteral("*.mscx"), QStringLiteral("*.mscz")}, QDir::Files, QDir::Name);
    ASSERT_FALSE(files.isEmpty());
    QTemporaryDir out;
    for (const QString& f : files) {
        SCOPED_TRACE(f.toStdString());
        const QString target = out.filePath(QFileInfo(f).completeBaseName() + QStringLiteral(".musicxml"));
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p.setProcessEnvironment(env);
        p.start(mscore, {QStringLiteral("-o"), target, demos.filePath(f)});
        ASSERT_TRUE(p.waitForFinished(120000));
        ASSERT_TRUE(QFileInfo::exists(target)) << p.readAllStandardError().toStdString();
        const ImportResult r = ImportMusicXmlFile(target);
        ASSERT_EQ(r.error, QString());
        EXPECT_GE(r.pageCount(), 1);
        EXPECT_GT(r.song.score.eventCount(), 50);
        EXPECT_TRUE(r.proved()) << r.layout.mismatches.join(QStringLiteral("; ")).toStdString();
    }
}
