// Typed pages with words, chords, arcs, a pickup, tempo words and a second
// song, through MusicXML (schema, contents, MuseScore 3's import) and MIDI.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "MarksWindow.h"
#include "MidiParse.h"
#include "MidiWriter.h"
#include "MusicXmlWriter.h"
#include "PageReader.h"
#include "Performance.h"

using namespace qn;
using namespace qn::score;
using qn::test::MarksWindow;
using qn::test::typeScript;

namespace {

QString runTool(const QString& program, const QStringList& args, int* exitCode) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        *exitCode = -1;
        return QStringLiteral("did not finish");
    }
    *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAllStandardOutput()) + QString::fromUtf8(p.readAllStandardError());
}

QString xpath(const QString& file, const QString& expr) {
    int code = 0;
    const QString out = runTool(QStringLiteral("xmllint"), {QStringLiteral("--nonet"), QStringLiteral("--xpath"), expr, file}, &code);
    return code == 0 ? out.trimmed().split(QLatin1Char('\n')).join(QLatin1Char(' ')) : QString();
}

std::vector<PagePosition> cellsOf(const Score& s, int line) {
    std::vector<PagePosition> cells;
    for (const Measure& m : s.measures)
        for (const Event& e : m.events)
            if (e.position.line == line && e.kind != EventKind::Rest && !e.tiedFromPrevious) cells.push_back(e.position);
    return cells;
}

// Chinese characters, one under each cell, on one lyric line.
QString hanUnder(const std::vector<PagePosition>& cells, const QString& chars) {
    QString text;
    int cursor = 20;
    for (int i = 0; i < chars.size() && i < int(cells.size()); ++i) {
        const int blanks = std::max(0, int(std::lround((cells[size_t(i)].x - 1 - cursor) / 7.0)));
        text += QString(blanks, QLatin1Char(' ')) + chars[i];
        cursor += 7 * blanks + 14;
    }
    return text;
}

void arc(MarksWindow& w, const PagePosition& a, const PagePosition& b) {
    w.ed.caret.Left = Single(a.x);
    w.ed.caret.Top = Single(a.top);
    w.press(76);
    w.ed.caret.Left = Single(b.x);
    w.ed.caret.Top = Single(b.top);
    w.press(76);
}

// A pickup, chords in every bar (one with a small 7), two verses, a slur,
// a tie inside beamed eighths; the header's tempo is a tempo word.
Score wordsPage() {
    MarksWindow w;
    w.pitch = 100;
    typeScript(w, QStringLiteral("5 | 1 1 5 5 6 6 5 - /1 4 4 3 3 /0 2 2"));
    const Score notes = ReadPage(w.ed.page, w.pitch);
    const auto cells = cellsOf(notes, 0);
    w.toLine(0);
    w.chord(53);          // the pickup's bar: 5
    w.chord(49);          // 1
    w.chord(52, {103});   // 4 with a small 7
    w.chord(53);          // 5
    w.notes();
    std::vector<PagePosition> sung = cells;
    sung.erase(sung.begin() + 11);  // the tied note gets no syllable
    w.lyric(96 + 56, hanUnder(sung, QStringLiteral("一闪一闪亮晶晶放光明啊啊啊")));
    w.lyric(96 + 72, hanUnder(sung, QStringLiteral("满天都是小星星挂天上啊啊啊")));
    arc(w, cells[1], cells[4]);   // slur over 1 1 5 5
    arc(w, cells[10], cells[11]); // tie 3 3
    return ReadPage(w.ed.page, w.pitch);
}

ScoreHeader wordsHeader() {
    ScoreHeader h;
    h.title = QStringLiteral("小星星");
    h.key = QStringLiteral("F");
    h.tempoLabel = QStringLiteral("快板");
    h.tempo = TempoOfLabel(h.tempoLabel).bpm;
    return h;
}

// A song in the page's head, then a head from the dialog: 1=bE 3/4 at 96,
// a low melody.
Score twoSongsPage() {
    MarksWindow w;
    typeScript(w, QStringLiteral("1 2 3 4 5 6 7 1"));
    w.toLine(1);
    w.head(QStringLiteral("第二首"), QStringLiteral("bE"), QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("每分钟96拍"));
    w.toLine(3);
    typeScript(w, QStringLiteral("T Y T | E - Q \\"));
    return ReadPage(w.ed.page, w.pitch);
}

QString schemaPath() { return QStringLiteral(QUILLNOTE_SHARED_DIR "/musicxml-4.0-xsd/musicxml.xsd"); }

}  // namespace

TEST(SongExport, TheTypedPagesAreReadWhole) {
    const Score a = wordsPage();
    EXPECT_TRUE(a.skipped.empty()) << a.skipped.front().reason.toStdString();
    EXPECT_EQ(ScoreText(a), QStringLiteral("5:8 | 1:8 1:8 5:8 5:8 | 6:8 6:8 5:16 | 4:4 4:4 3:4 ~3:4 2:8 2:8 |"));
    const Score b = twoSongsPage();
    EXPECT_TRUE(b.skipped.empty()) << b.skipped.front().reason.toStdString();
    ASSERT_EQ(b.songs.size(), 2u);
}

TEST(SongExport, MusicXmlCarriesWordsChordsArcsPickupAndTempoWords) {
    if (QStandardPaths::findExecutable(QStringLiteral("xmllint")).isEmpty())
        GTEST_SKIP() << "xmllint (Debian libxml2-utils) is not installed";
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("a.musicxml"));
    ASSERT_EQ(SaveMusicXml(wordsPage(), wordsHeader(), file), QString());
    if (QFileInfo::exists(schemaPath())) {
        int code = 0;
        const QString out = runTool(QStringLiteral("xmllint"),
                                    {QStringLiteral("--nonet"), QStringLiteral("--noout"), QStringLiteral("--schema"), schemaPath(), file}, &code);
        EXPECT_EQ(code, 0) << out.toStdString();
    } else {
        std::cerr << "MusicXML 4.0 schema not found at " << schemaPath().toStdString() << ": schema check skipped\n";
    }
    const auto x = [&](const char* e) { return xpath(file, QString::fromUtf8(e)).toStdString(); };
    EXPECT_EQ(x("//measure[1]/@implicit"), "implicit=\"yes\"");
    EXPECT_EQ(x("//measure[1]/@number"), "number=\"0\"");
    EXPECT_EQ(x("//measure[2]/@number"), "number=\"1\"");
    EXPECT_EQ(x("//direction/direction-type/words/text()"), "快板");
    EXPECT_EQ(x("//direction/sound/@tempo"), "tempo=\"132\"");
    // 1=F: the chords 5 1 4⁷ 5 are C F Bb C.
    EXPECT_EQ(x("//harmony/root/root-step/text()"), "C F B C");
    EXPECT_EQ(x("//harmony/root/root-alter/text()"), "-1");
    EXPECT_EQ(x("//harmony/kind/text()"), "major major major-seventh major");
    EXPECT_EQ(x("count(//lyric[@number='1'])"), "13");
    EXPECT_EQ(x("count(//lyric[@number='2'])"), "13");
    EXPECT_EQ(x("//measure[2]/note[1]/lyric[@number='2']/text/text()"), "天");
    EXPECT_EQ(x("count(//note/notations/slur)"), "2");
    EXPECT_EQ(x("//measure[2]/note[1]/notations/slur/@type"), "type=\"start\"");
    EXPECT_EQ(x("//measure[2]/note[4]/notations/slur/@type"), "type=\"stop\"");
    EXPECT_EQ(x("//measure[4]/note[3]/notations/tied/@type"), "type=\"start\"");
    EXPECT_EQ(x("//measure[4]/note[4]/notations/tied/@type"), "type=\"stop\"");
    EXPECT_EQ(x("//measure[4]/note/beam/text()"), "begin end begin end");
    EXPECT_EQ(x("//clef/sign/text()"), "G");
    EXPECT_EQ(x("//work/work-title/text()"), "小星星");
}

TEST(SongExport, EachSongIsItsOwnFileWithItsOwnHead) {
    if (QStandardPaths::findExecutable(QStringLiteral("xmllint")).isEmpty())
        GTEST_SKIP() << "xmllint (Debian libxml2-utils) is not installed";
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("b.musicxml"));
    QStringList written;
    ScoreHeader page;
    page.title = PlaceholderTitle();  // the placeholder is no title
    ASSERT_EQ(SaveMusicXml(twoSongsPage(), page, file, &written), QString());
    ASSERT_EQ(written, QStringList({file, dir.filePath(QStringLiteral("b-2.musicxml"))}));
    EXPECT_EQ(xpath(file, QStringLiteral("count(//work)")), QStringLiteral("0"));
    EXPECT_EQ(xpath(file, QStringLiteral("count(//measure)")), QStringLiteral("2"));
    const QString second = written[1];
    const auto x = [&](const char* e) { return xpath(second, QString::fromUtf8(e)).toStdString(); };
    EXPECT_EQ(x("//work/work-title/text()"), "第二首");
    EXPECT_EQ(x("//key/fifths/text()"), "-3");
    EXPECT_EQ(x("//time/beats/text()"), "3");
    EXPECT_EQ(x("//metronome/per-minute/text()"), "96");
    EXPECT_EQ(x("//clef/sign/text()"), "F");  // B flat 3 and lower
    EXPECT_EQ(x("//note/pitch/step/text()"), "B C B G E");
    EXPECT_EQ(x("//note/pitch/octave/text()"), "3 4 3 3 3");
}

TEST(SongExport, MidiHoldsTiesLyricsPickupAndEachSongsHead) {
    {
        const Performance p = Perform(wordsPage(), wordsHeader());
        const test::MidiData d = test::ParseMidi(MidiFile(p));
        ASSERT_EQ(d.error, "");
        // The pickup has its own 1/4 bar, the 4/4 bars begin a quarter in.
        ASSERT_EQ(d.timeSignatures.size(), 2u);
        EXPECT_EQ(d.timeSignatures[0][0], 1);
        EXPECT_EQ(d.timeSignatures[1][0], 4);
        std::vector<std::int64_t> metreTicks;
        std::vector<std::string> lyrics;
        for (const auto& m : d.metas) {
            if (m.type == 0x58) metreTicks.push_back(m.tick);
            if (m.type == 0x05) lyrics.push_back(m.data);
        }
        EXPECT_EQ(metreTicks, (std::vector<std::int64_t>{0, 480}));
        ASSERT_EQ(lyrics.size(), 13u) << "verse 1, one syllable a note (the tie is one note)";
        EXPECT_EQ(lyrics[0], "一");
        EXPECT_EQ(d.tempos, std::vector<int>{454545});  // 快板: 132 a minute
        EXPECT_EQ(d.trackNames.front(), "小星星");
        // 14 notes typed, the tie held as one.
        ASSERT_EQ(d.notes.size(), 13u);
        EXPECT_EQ(d.notes[10].off - d.notes[10].on, 240 * 2);
    }
    {
        const Performance p = Perform(twoSongsPage(), ScoreHeader{});
        const test::MidiData d = test::ParseMidi(MidiFile(p));
        ASSERT_EQ(d.error, "");
        EXPECT_EQ(d.tempos, (std::vector<int>{833333, 625000}));
        ASSERT_EQ(d.keySignatures.size(), 2u);
        EXPECT_EQ(d.keySignatures[1][0], -3);
        ASSERT_EQ(d.timeSignatures.size(), 2u);
        EXPECT_EQ(d.timeSignatures[1][0], 3);
        // 1=bE: 5, is B flat 3, on the second song's first beat, two bars in.
        ASSERT_EQ(d.notes.size(), 13u);
        EXPECT_EQ(d.notes[8].key, 58);
        EXPECT_EQ(d.notes[8].on, 2 * 1920);
        bool marker = false;
        for (const auto& m : d.metas) marker = marker || (m.type == 0x06 && m.data == "第二首");
        EXPECT_TRUE(marker);
        EXPECT_NEAR(p.secondsAt(2 * 1920 + 480), 2 * 4 * 60.0 / 72 + 60.0 / 96, 1e-5);  // whole microseconds a quarter
    }
}

TEST(SongExport, MuseScoreImportsWordsChordsTiesAndTheSecondSongsKey) {
    const QString mscore = QStandardPaths::findExecutable(QStringLiteral("mscore3"));
    if (mscore.isEmpty())
        GTEST_SKIP() << "mscore3 (Debian musescore3) is not installed: the import into another notation program is not checked";
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("a.musicxml")), b = dir.filePath(QStringLiteral("b.musicxml"));
    ASSERT_EQ(SaveMusicXml(wordsPage(), wordsHeader(), a), QString());
    ASSERT_EQ(SaveMusicXml(twoSongsPage(), ScoreHeader{}, b), QString());
    auto import = [&](const QString& in) {
        const QString out = in + QStringLiteral(".mscx");
        int code = 0;
        const QString log = runTool(mscore, {QStringLiteral("-o"), out, in}, &code);
        EXPECT_EQ(code, 0) << log.toStdString();
        QFile f(out);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    };
    const QString first = import(a);
    EXPECT_EQ(first.count(QStringLiteral("<Lyrics>")), 26);
    EXPECT_EQ(first.count(QStringLiteral("<Harmony>")), 4);
    EXPECT_TRUE(first.contains(QStringLiteral("<Tie")));
    EXPECT_TRUE(first.contains(QStringLiteral("type=\"Slur\"")));
    EXPECT_TRUE(first.contains(QStringLiteral("<text>一</text>")));
    const QString second = import(SongFilePath(b, 1));
    EXPECT_TRUE(second.contains(QStringLiteral("<accidental>-3</accidental>"))) << "the second song's key, E flat major";
    EXPECT_TRUE(second.contains(QStringLiteral("第二首")));
}

// Phrase and grace-note overlays (as the sidecar lists them) at their notes,
// and in the MusicXML as dynamics, a hairpin, words and grace notes.
TEST(SongExport, OverlaysBecomeDirectionsAtTheNearestNote) {
    MarksWindow w;
    typeScript(w, QStringLiteral("1 2 3 4 5 6 7 1"));
    Score s = ReadPage(w.ed.page, w.pitch);
    const auto cells = cellsOf(s, 0);
    // O with "35" at the caret on the fifth note: digits at X - 16, X - 8 and the group at X - 17.
    const int X = cells[4].x, Y = cells[4].top;
    const std::vector<OverlayMark> overlays = {
        {false, QStringLiteral("强"), QRect(cells[0].x - 2, 96 + 44, 14, 14)},
        {false, QStringLiteral("渐强"), QRect(cells[2].x, 96 + 44, 28, 14)},
        {false, QStringLiteral("rit."), QRect(cells[7].x, 96 - 30, 28, 14)},
        {true, QStringLiteral("3.bmp"), QRect(X - 16, Y - 9, 8, 8)},
        {true, QStringLiteral("5.bmp"), QRect(X - 8, Y - 9, 8, 8)},
        {true, QStringLiteral("装饰音2.bmp"), QRect(X - 17, Y + 4, 18, 6)},
        {true, QStringLiteral("flower.bmp"), QRect(300, 400, 20, 20)},  // no music
    };
    AttachOverlays(s, overlays, w.pitch);
    EXPECT_EQ(MarksText(s).toStdString(), "dynamics@0.0 强 | cresc@0.2 渐强 | grace@1.0 35 | words@1.3 rit.");
    EXPECT_TRUE(s.skipped.empty());
    const QString xml = QString::fromUtf8(MusicXml(s, ScoreHeader{}));
    EXPECT_TRUE(xml.contains(QStringLiteral("<dynamics>\n")) && xml.contains(QStringLiteral("<f/>")));
    EXPECT_TRUE(xml.contains(QStringLiteral("<wedge type=\"crescendo\"/>")));
    EXPECT_TRUE(xml.contains(QStringLiteral("<wedge type=\"stop\"/>")));
    EXPECT_TRUE(xml.contains(QStringLiteral("<words>rit.</words>")));
    EXPECT_EQ(xml.count(QStringLiteral("<grace slash=\"yes\"/>")), 2);
    if (QFileInfo::exists(schemaPath()) && !QStandardPaths::findExecutable(QStringLiteral("xmllint")).isEmpty()) {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("o.musicxml"));
        ASSERT_EQ(SaveMusicXml(s, ScoreHeader{}, file), QString());
        int code = 0;
        const QString out = runTool(QStringLiteral("xmllint"),
                                    {QStringLiteral("--nonet"), QStringLiteral("--noout"), QStringLiteral("--schema"), schemaPath(), file}, &code);
        EXPECT_EQ(code, 0) << out.toStdString();
    }
}
