// MusicXML: well-formed for xmllint, the expected notes inside, and the same
// notes once MuseScore 3 has imported it.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "KnownMelody.h"
#include "MidiParse.h"
#include "MusicXmlWriter.h"
#include "Performance.h"

using namespace qn;
using namespace qn::score;

namespace {

struct ToolRun {
    int exitCode = -1;
    QString out, err;
};

ToolRun run(const QString& program, const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(program, args);
    ToolRun r;
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        r.err = QStringLiteral("did not finish");
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

QString writeTemp(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

class XPath {
public:
    explicit XPath(QString file) : file_(std::move(file)) {}
    // Text nodes or a number, one result per line as xmllint prints them.
    QString operator()(const QString& expr) const {
        const ToolRun r = run(QStringLiteral("xmllint"), {QStringLiteral("--nonet"), QStringLiteral("--xpath"), expr, file_});
        return r.out.trimmed().split(QLatin1Char('\n')).join(QLatin1Char(' '));
    }

private:
    QString file_;
};

bool haveXmllint() { return !QStandardPaths::findExecutable(QStringLiteral("xmllint")).isEmpty(); }

// The note values the melody part writes, in order ("quarter.", "whole~").
QStringList noteValues(const QByteArray& xml) {
    QStringList out;
    QXmlStreamReader r(xml);
    QString current;
    bool tied = false;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement() && r.name() == QLatin1String("note")) {
            current.clear();
            tied = false;
        }
        if (r.isStartElement() && r.name() == QLatin1String("type")) current += r.readElementText();
        if (r.isStartElement() && r.name() == QLatin1String("dot")) current += QLatin1Char('.');
        if (r.isStartElement() && r.name() == QLatin1String("tie") &&
            r.attributes().value(QLatin1String("type")) == QLatin1String("start"))
            tied = true;
        if (r.isEndElement() && r.name() == QLatin1String("note")) out << current + (tied ? QStringLiteral("~") : QString());
    }
    EXPECT_FALSE(r.hasError()) << r.errorString().toStdString();
    return out;
}

}  // namespace

TEST(MusicXml, WellFormedWithTheExpectedNotes) {
    if (!haveXmllint()) GTEST_SKIP() << "xmllint (Debian libxml2-utils) is not installed";
    QTemporaryDir dir;
    const QString file = writeTemp(dir, QStringLiteral("song.musicxml"), MusicXml(test::knownMelody(), test::knownHeader()));
    const ToolRun lint = run(QStringLiteral("xmllint"), {QStringLiteral("--noout"), QStringLiteral("--nonet"), file});
    ASSERT_EQ(lint.exitCode, 0) << lint.err.toStdString();

    const XPath x(file);
    const QString melody = QStringLiteral("//part[@id='P1']");
    EXPECT_EQ(x(QStringLiteral("/score-partwise/@version")), QStringLiteral("version=\"4.0\""));
    EXPECT_EQ(x(QStringLiteral("//work/work-title/text()")), QStringLiteral("小星星"));
    EXPECT_EQ(x(QStringLiteral("//attributes/divisions/text()")), QStringLiteral("8 8"));
    // The key is the melody's; the drum part has none.
    EXPECT_EQ(x(melody + QStringLiteral("//attributes/key/fifths/text()")), QStringLiteral("1"));
    EXPECT_EQ(x(QStringLiteral("count(//part[@id='P2']//key)")), QStringLiteral("0"));
    EXPECT_EQ(x(melody + QStringLiteral("//time/beats/text()")), QStringLiteral("3"));
    EXPECT_EQ(x(melody + QStringLiteral("//time/beat-type/text()")), QStringLiteral("4"));
    EXPECT_EQ(x(QStringLiteral("//metronome/beat-unit/text()")), QStringLiteral("quarter"));
    EXPECT_EQ(x(QStringLiteral("//metronome/per-minute/text()")), QStringLiteral("96"));
    EXPECT_EQ(x(QStringLiteral("//direction/sound/@tempo")), QStringLiteral("tempo=\"96\""));
    // Written once, repeats as repeat bar lines.
    EXPECT_EQ(x(QStringLiteral("count(") + melody + QStringLiteral("/measure)")), QStringLiteral("5"));
    EXPECT_EQ(x(melody + QStringLiteral("/measure[1]/barline[@location='left']/repeat/@direction")),
              QStringLiteral("direction=\"forward\""));
    EXPECT_EQ(x(melody + QStringLiteral("/measure[1]/barline[@location='right']/repeat/@direction")),
              QStringLiteral("direction=\"backward\""));
    EXPECT_EQ(x(melody + QStringLiteral("/measure[5]/barline/bar-style/text()")), QStringLiteral("light-heavy"));
    // The notes: 1=G, so 1 2 3 are G A B, #4 is C#5, 5 is D5, 5, is D4.
    EXPECT_EQ(x(melody + QStringLiteral("//note/pitch/step/text()")), QStringLiteral("G A B C B A D D D"));
    EXPECT_EQ(x(melody + QStringLiteral("//note/pitch/octave/text()")), QStringLiteral("4 4 4 5 4 4 5 5 4"));
    EXPECT_EQ(x(melody + QStringLiteral("//note[pitch/alter]/pitch/step/text()")), QStringLiteral("C"));
    EXPECT_EQ(x(melody + QStringLiteral("//note/pitch/alter/text()")), QStringLiteral("1"));
    EXPECT_EQ(x(melody + QStringLiteral("//note/accidental/text()")), QStringLiteral("sharp"));
    EXPECT_EQ(x(melody + QStringLiteral("//note/duration/text()")), QStringLiteral("8 8 8 12 4 8 24 8 8 8 8"));
    EXPECT_EQ(x(melody + QStringLiteral("//note/type/text()")),
              QStringLiteral("quarter quarter quarter quarter eighth quarter half quarter quarter quarter quarter"));
    EXPECT_EQ(x(QStringLiteral("count(") + melody + QStringLiteral("//note/dot)")), QStringLiteral("2"));
    EXPECT_EQ(x(QStringLiteral("count(") + melody + QStringLiteral("//note/rest)")), QStringLiteral("2"));
    EXPECT_EQ(x(melody + QStringLiteral("/measure[3]/note/notations/tied/@type")), QStringLiteral("type=\"start\""));
    EXPECT_EQ(x(melody + QStringLiteral("/measure[4]/note[1]/notations/tied/@type")), QStringLiteral("type=\"stop\""));
    // 冬 on the percussion part, on channel 10.
    EXPECT_EQ(x(QStringLiteral("count(//part[@id='P2']//note/unpitched)")), QStringLiteral("1"));
    EXPECT_EQ(x(QStringLiteral("//part[@id='P2']//note/instrument/@id")), QStringLiteral("id=\"P2-I41\""));
    EXPECT_EQ(x(QStringLiteral("//midi-instrument[@id='P2-I41']/midi-channel/text()")), QStringLiteral("10"));
}

TEST(MusicXml, ValuesNoSingleNoteShowsAreTied) {
    const std::pair<int, const char*> cases[] = {
        {12, "quarter."}, {14, "quarter.."}, {40, "whole~ quarter"}, {64, "whole~ whole"},
        {20, "half~ eighth"}, {5, "eighth~ 32nd"}, {3, "16th."}, {7, "eighth.."},
    };
    for (const auto& [duration, values] : cases) {
        Score s;
        Measure m;
        Event e;
        e.degree = 1;
        e.duration = duration;
        m.events.push_back(e);
        s.measures.push_back(m);
        EXPECT_EQ(noteValues(MusicXml(s, ScoreHeader{})).join(QLatin1Char(' ')).toStdString(), values)
            << "duration " << duration;
    }
}

TEST(MusicXml, AnEmptyPageIsStillAScore) {
    const QByteArray xml = MusicXml(Score{}, ScoreHeader{});
    EXPECT_EQ(noteValues(xml), QStringList{QString()});
    EXPECT_TRUE(xml.contains("<rest measure=\"yes\"/>"));
    EXPECT_FALSE(xml.contains("<work>")) << "no title, no work";
    if (!haveXmllint()) return;
    QTemporaryDir dir;
    const ToolRun lint = run(QStringLiteral("xmllint"),
                         {QStringLiteral("--noout"), QStringLiteral("--nonet"), writeTemp(dir, QStringLiteral("e.musicxml"), xml)});
    EXPECT_EQ(lint.exitCode, 0) << lint.err.toStdString();
}

TEST(MusicXml, MuseScoreImportsTheSameNotes) {
    const QString mscore = QStandardPaths::findExecutable(QStringLiteral("mscore3"));
    if (mscore.isEmpty()) GTEST_SKIP() << "mscore3 (Debian musescore3) is not installed: the import into another notation program is not checked";
    QTemporaryDir dir;
    const Score s = test::knownMelody();
    const QString in = writeTemp(dir, QStringLiteral("song.musicxml"), MusicXml(s, test::knownHeader()));
    const QString out = dir.filePath(QStringLiteral("out.mid"));
    const ToolRun r = run(mscore, {QStringLiteral("-o"), out, in});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << "no MIDI from mscore3: " << r.err.toStdString();
    const test::MidiData theirs = test::ParseMidi(f.readAll());
    ASSERT_EQ(theirs.error, "");
    ASSERT_EQ(theirs.division, kTicksPerQuarter);
    EXPECT_EQ(theirs.tempos.front(), 625000);

    const Performance ours = Perform(s, test::knownHeader());
    ASSERT_EQ(theirs.notes.size(), ours.notes.size());
    for (size_t i = 0; i < ours.notes.size(); ++i) {
        SCOPED_TRACE("note " + std::to_string(i));
        const PlayedNote& n = ours.notes[i];
        EXPECT_EQ(theirs.notes[i].key, n.key);
        EXPECT_EQ(theirs.notes[i].channel, n.channel);
        EXPECT_EQ(theirs.notes[i].on, n.tick);
        // MuseScore lets a note go one tick before the next one starts.
        EXPECT_NEAR(double(theirs.notes[i].off), double(n.tick + n.length), 1.0);
    }
}
