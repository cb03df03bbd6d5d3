// Files that are no song, or a song too large: a clear reason, quickly, and
// nothing written. Then the command line: its output, exit status and pages.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <zip.h>

#include "Importer.h"
#include "Xml.h"

using namespace qn;
using namespace qn::import;
using qn::test::attributes;
using qn::test::note;
using qn::test::scoreXml;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A zip archive holding the given members, made by libzip.
void writeZip(const QString& path, const std::vector<std::pair<const char*, QByteArray>>& members) {
    int error = 0;
    zip_t* z = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(z, nullptr);
    for (const auto& [name, bytes] : members) {
        zip_source_t* s = zip_source_buffer(z, bytes.constData(), zip_uint64_t(bytes.size()), 0);
        ASSERT_GE(zip_file_add(z, name, s, ZIP_FL_OVERWRITE), 0);
    }
    ASSERT_EQ(zip_close(z), 0);  // compresses now, while the buffers still live
}

QByteArray manyBars(int bars) {
    QStringList ms{attributes(0) + note("C4", 32)};
    for (int i = 1; i < bars; ++i) ms << note("D4", 32);
    return scoreXml(ms);
}

const QByteArray kContainer =
    "<?xml version=\"1.0\"?><container><rootfiles><rootfile full-path=\"song.musicxml\"/></rootfiles></container>";

}  // namespace

TEST(ImportHostile, RefusedWithTheReasonWithinSeconds) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString d = dir.path();
    writeFile(d + "/text.musicxml", "just some words, no markup");
    writeFile(d + "/html.xml", "<?xml version=\"1.0\"?><html><body>a page</body></html>");
    writeFile(d + "/broken.musicxml", "<?xml version=\"1.0\"?><score-partwise><part-list>");
    writeFile(d + "/timewise.xml", "<?xml version=\"1.0\"?><score-timewise><measure number=\"1\"/></score-timewise>");
    writeZip(d + "/noscore.mxl", {{"readme.txt", "hello"}, {"META-INF/container.xml", kContainer}});
    writeZip(d + "/bomb.mxl", {{"META-INF/container.xml", kContainer}, {"song.musicxml", QByteArray(80 << 20, ' ')}});
    writeFile(d + "/notzip.mxl", QByteArray("PK\x03\x04", 4) + QByteArray(100, 'x'));
    QString big = QString::fromUtf8(scoreXml({attributes(0) + note("C4", 8)}));
    writeFile(d + "/duration.musicxml", big.replace("<duration>8</duration>", "<duration>99999999999</duration>").toUtf8());
    QString zero = QString::fromUtf8(scoreXml({attributes(0) + note("C4", 8)}));
    writeFile(d + "/divisions.musicxml", zero.replace("<divisions>8</divisions>", "<divisions>0</divisions>").toUtf8());
    writeFile(d + "/empty.musicxml", scoreXml({attributes(0) + note("r", 32), note("r", 32)}));
    writeFile(d + "/noparts.musicxml", "<?xml version=\"1.0\"?><score-partwise><part-list/></score-partwise>");
    writeFile(d + "/range.musicxml", scoreXml({attributes(0) + note("C2", 8) + note("C4", 8) + note("C7", 16)}));
    writeFile(d + "/long.musicxml", manyBars(10000));
    writeFile(d + "/empty.mxl", QByteArray());

    const struct {
        const char* file;
        const char* reason;
    } cases[] = {
        {"text.musicxml", "not well-formed XML"},
        {"html.xml", "not MusicXML"},
        {"broken.musicxml", "not well-formed XML"},
        {"timewise.xml", "score-timewise"},
        {"noscore.mxl", "holds no score"},
        {"bomb.mxl", "unpacks to more than 64 MiB"},
        {"notzip.mxl", "not a readable .mxl container"},
        {"duration.musicxml", "out of range"},
        {"divisions.musicxml", "divisions out of range"},
        {"empty.musicxml", "empty"},
        {"noparts.musicxml", "not MusicXML"},
        {"range.musicxml", "more than two octave dots in bar 1"},
        {"long.musicxml", "more than the limit of 100 pages"},
        {"empty.mxl", "empty"},
        {"missing.musicxml", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        QElapsedTimer t;
        t.start();
        const ImportResult r = ImportMusicXmlFile(d + "/" + c.file);
        EXPECT_LT(t.elapsed(), 5000);
        EXPECT_FALSE(r.error.isEmpty());
        EXPECT_TRUE(r.error.contains(QString::fromUtf8(c.reason))) << r.error.toStdString();
        EXPECT_EQ(r.pageCount(), 0);
    }
}

TEST(ImportHostile, CompressedScoreOpensLikeThePlainOne) {
    QTemporaryDir dir;
    const QByteArray xml = scoreXml({attributes(2) + note("D4", 8) + note("E4", 8) + note("F#4", 16)});
    writeZip(dir.path() + "/song.mxl", {{"META-INF/container.xml", kContainer}, {"song.musicxml", xml}});
    // Without a container file the first score in the archive is taken.
    writeZip(dir.path() + "/bare.mxl", {{"other/song.xml", xml}});
    const QString plain = score::ScoreText(ImportMusicXmlBytes(xml).layout.pages.at(0).read);
    EXPECT_EQ(plain, QStringLiteral("1:8 2:8 3:16 |"));
    for (const char* f : {"/song.mxl", "/bare.mxl"}) {
        const ImportResult r = ImportMusicXmlFile(dir.path() + f);
        ASSERT_EQ(r.error, QString()) << f;
        EXPECT_EQ(score::ScoreText(r.layout.pages.at(0).read), plain) << f;
    }
}

namespace {

struct ProgramRun {
    int status = -1;
    QString out, err;
};

ProgramRun runProgram(const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(QUILLNOTE_PROGRAM), args);
    ProgramRun r;
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

}  // namespace

TEST(ImportCommandLine, PagesUsageAndRefusals) {
    QTemporaryDir dir;
    const QString d = dir.path();
    // About three pages: 120 bars of eighths with a tie over each bar line.
    QStringList ms;
    for (int i = 0; i < 120; ++i) {
        QString m = i == 0 ? attributes(0) : QString();
        for (int k = 0; k < 8; ++k) m += note(k % 2 ? "E4" : "G4", 4);
        ms << m;
    }
    writeFile(d + "/long.musicxml", scoreXml(ms, QStringLiteral("长歌")));
    writeFile(d + "/bad.musicxml", "<html/>");

    const ProgramRun ok = runProgram({"--import", d + "/long.musicxml", "--out", d + "/out"});
    ASSERT_EQ(ok.status, 0) << ok.err.toStdString();
    const QStringList lines = ok.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 2) << ok.out.toStdString();
    EXPECT_EQ(lines[0], d + "/out/长歌.bmp");
    for (int i = 1; i < lines.size(); ++i) EXPECT_EQ(lines[i], QStringLiteral("%1/out/长歌 %2.bmp").arg(d).arg(i + 1));
    EXPECT_TRUE(ok.err.contains(QStringLiteral("%1 pages; 120 bars read back as imported").arg(lines.size()))) << ok.err.toStdString();
    // Each page is a document: its bitmap and sidecar, numbered 1, 2, 3 ...
    for (int i = 0; i < lines.size(); ++i) {
        ScoreDocument doc;
        ASSERT_EQ(ReadSidecarFile(SidecarPath(lines[i]), doc, false), QString());
        EXPECT_EQ(doc.pageNumber, i + 1);
        EXPECT_EQ(doc.title, i == 0 ? QStringLiteral("长歌") : QString());
        QImage page;
        EXPECT_EQ(LoadPageBitmap(lines[i], page), QString());
    }

    const ProgramRun bad = runProgram({"--import", d + "/bad.musicxml", "--out", d + "/none"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_TRUE(bad.out.isEmpty());
    EXPECT_TRUE(bad.err.contains(QStringLiteral("not MusicXML"))) << bad.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(d + "/none"));

    for (const QStringList& args : {QStringList{"--import"}, QStringList{"--import", "a", "b"},
                                    QStringList{"--import", d + "/long.musicxml", "--part", "0"},
                                    QStringList{"--import", d + "/long.musicxml", "--bogus"}}) {
        const ProgramRun usage = runProgram(args);
        EXPECT_EQ(usage.status, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(usage.err.contains(QStringLiteral("Usage: quillnote --import"))) << usage.err.toStdString();
    }
    const ProgramRun part = runProgram({"--import", d + "/long.musicxml", "--part", "3", "--out", d + "/p3"});
    EXPECT_EQ(part.status, 1);
    EXPECT_TRUE(part.err.contains(QStringLiteral("no part 3"))) << part.err.toStdString();
}
