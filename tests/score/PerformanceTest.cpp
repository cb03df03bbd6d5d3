// Playing order, the performance of a read score and its MIDI file.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "KnownMelody.h"
#include "MidiParse.h"
#include "MidiWriter.h"
#include "Performance.h"

using namespace qn;
using namespace qn::score;
using qn::test::MidiNote;

namespace {

// Measures from a pattern: one letter per measure, "(" before a letter a
// repeat start, ")" after it a repeat end.
Score measures(const std::string& pattern) {
    Score s;
    bool start = false;
    for (char c : pattern) {
        if (c == '(') {
            start = true;
        } else if (c == ')') {
            s.measures.back().repeatEnd = true;
        } else {
            Measure m;
            m.repeatStart = start;
            start = false;
            Event e;
            e.degree = c - 'A' + 1;
            e.duration = 8;
            m.events.push_back(e);
            s.measures.push_back(m);
        }
    }
    return s;
}

std::string order(const Score& s, int from = 0) {
    std::string out;
    for (int i : PlayOrder(s, from)) out += char('A' + s.measures[size_t(i)].events[0].degree - 1);
    return out;
}

}  // namespace

TEST(PlayOrder, RepeatsArePlayedOutOnce) {
    const std::pair<const char*, const char*> cases[] = {
        {"ABC", "ABC"},
        {"(AB)C", "ABABC"},
        {"A(BC)D", "ABCBCD"},
        {"AB)C", "ABABC"},             // no repeat start: from the beginning
        {"A)B)C", "AABBC"},            // after a repeat end, from the measure after it
        {"(A)(B)", "AABB"},
        {"A(B)C(D)E", "ABBCDDE"},
        {"(ABC)", "ABCABC"},
    };
    for (const auto& [pattern, played] : cases) EXPECT_EQ(order(measures(pattern)), played) << pattern;
    EXPECT_EQ(order(measures("A(BC)D"), 2), "CBCD") << "from inside a repeat its end still goes back";
    EXPECT_EQ(order(measures("A(B)C)D"), 2), "CCD") << "a repeat end behind the start is done with";
    EXPECT_EQ(order(measures("A(BC)D"), 1), "BCBCD");
}

TEST(Perform, KnownMelodyInItsKeyAndTempo) {
    const Score s = test::knownMelody();
    ASSERT_EQ(ScoreText(s), QString::fromUtf8(test::kKnownMelodyText));
    const Performance p = Perform(s, test::knownHeader());
    EXPECT_EQ(p.microsecondsPerQuarter, 625000);
    EXPECT_EQ(p.keyFifths, 1);
    struct N {
        std::int64_t tick, length;
        int key, channel;
    };
    // 1=G: 1 G4, 2 A4, 3 B4, #4 C#5, 5 D5, 5, D4; the repeat played out, the
    // held 5 one note, the rest a gap, 冬 on the percussion channel.
    const N want[] = {
        {0, 480, 67, 0},    {480, 480, 69, 0},    {960, 480, 71, 0},   {1440, 480, 67, 0},
        {1920, 480, 69, 0}, {2400, 480, 71, 0},   {2880, 720, 73, 0},  {3600, 240, 71, 0},
        {3840, 480, 69, 0}, {4320, 1920, 74, 0},  {6240, 480, 62, 0},  {7200, 480, 41, 9},
    };
    ASSERT_EQ(p.notes.size(), std::size(want));
    for (size_t i = 0; i < p.notes.size(); ++i) {
        SCOPED_TRACE("note " + std::to_string(i));
        EXPECT_EQ(p.notes[i].tick, want[i].tick);
        EXPECT_EQ(p.notes[i].length, want[i].length);
        EXPECT_EQ(p.notes[i].key, want[i].key);
        EXPECT_EQ(p.notes[i].channel, want[i].channel);
    }
    EXPECT_EQ(p.lengthTicks, 7680);
    // The marker: the held D5 points at its digit in the third measure.
    EXPECT_EQ(p.notes[9].measure, 2);
    EXPECT_EQ(p.notes[9].position.x, s.measures[2].events[0].position.x);
}

TEST(Perform, FromTheCaretsLine) {
    test::TestWindow w;
    test::typeScript(w, QStringLiteral("1 2 3 4 Enter 5 6 7 1 Enter 2 2 2 2"));
    const Score s = ReadPage(w.ed.page, w.pitch);
    ASSERT_EQ(s.measures.size(), 3u);
    EXPECT_EQ(FirstMeasureFromLine(s, 1), 1);
    EXPECT_EQ(FirstMeasureFromLine(s, 5), 3);
    const Performance p = Perform(s, ScoreHeader{}, FirstMeasureFromLine(s, 1));
    ASSERT_EQ(p.notes.size(), 8u);
    EXPECT_EQ(p.notes[0].tick, 0);
    EXPECT_EQ(p.notes[0].key, 67);
    EXPECT_EQ(p.notes[0].position.line, 1);
}

TEST(MidiFile, KnownMelodyParsesBack) {
    const Performance p = Perform(test::knownMelody(), test::knownHeader());
    const QByteArray bytes = MidiFile(p);
    const test::MidiData d = test::ParseMidi(bytes);
    ASSERT_EQ(d.error, "");
    EXPECT_EQ(d.format, 1);
    EXPECT_EQ(d.tracks, 2);
    EXPECT_EQ(d.division, 480);
    EXPECT_EQ(d.tempos, std::vector<int>{625000});
    EXPECT_EQ(d.timeSignatures, (std::vector<std::vector<int>>{{3, 2, 24, 8}}));
    EXPECT_EQ(d.keySignatures, (std::vector<std::vector<int>>{{1, 0}}));
    ASSERT_FALSE(d.trackNames.empty());
    EXPECT_EQ(QString::fromStdString(d.trackNames[0]), QStringLiteral("小星星"));
    std::vector<MidiNote> want;
    for (const PlayedNote& n : p.notes) want.push_back(MidiNote{n.tick, n.tick + n.length, n.channel, n.key, n.velocity});
    EXPECT_EQ(d.notes, want);
    // Repeated keys: the first G4 ends at the tick the second one starts.
    EXPECT_EQ(d.notes[3].on, 1440);
    EXPECT_EQ(d.notes[3].key, 67);
}

TEST(MidiFile, SixEightTimeAndAnEmptyScore) {
    ScoreHeader h;
    h.beatsPerBar = 6;
    h.beatUnit = 8;
    h.tempo = 120;
    const test::MidiData d = test::ParseMidi(MidiFile(Perform(Score{}, h)));
    ASSERT_EQ(d.error, "");
    EXPECT_EQ(d.timeSignatures, (std::vector<std::vector<int>>{{6, 3, 12, 8}}));
    EXPECT_EQ(d.tempos, std::vector<int>{1000000});
    EXPECT_TRUE(d.notes.empty());
}

TEST(MidiFile, SavedThroughATemporaryFile) {
    QTemporaryDir dir;
    const Performance p = Perform(test::knownMelody(), test::knownHeader());
    const QString path = dir.filePath(QStringLiteral("song.mid"));
    EXPECT_EQ(SaveMidi(p, path), QString());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), MidiFile(p));
    const QString error = SaveMidi(p, dir.filePath(QStringLiteral("no/such/folder/song.mid")));
    EXPECT_TRUE(error.startsWith(QStringLiteral("cannot write"))) << error.toStdString();
}
