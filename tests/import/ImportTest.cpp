// MusicXML imported into pages: each rule of the mapping on a small score,
// read back from the page the import typed.
#include <gtest/gtest.h>

#include "HeaderText.h"
#include "Importer.h"
#include "PageReader.h"
#include "Xml.h"

using namespace qn;
using namespace qn::import;
using namespace qn::score;
using qn::test::attributes;
using qn::test::harmony;
using qn::test::lyric;
using qn::test::note;
using qn::test::scoreXml;

namespace {

QString quarters(const QString& pitch, int n = 4) {
    QString s;
    for (int i = 0; i < n; ++i) s += note(pitch, 8);
    return s;
}

struct Case {
    const char* name;
    QByteArray xml;
    const char* notes;          // ScoreText of the first page read back
    const char* marks = "";     // MarksText of it
    const char* reported = "";  // a word of the import's notes
};

}  // namespace

TEST(Import, EachRuleReadsBackFromThePage) {
    const QString c = attributes(0);
    const Case cases[] = {
        {"key of G: 1 is G", scoreXml({attributes(1) + note("G4", 8) + note("A4", 8) + note("B4", 8) + note("C5", 8)}),
         "1:8 2:8 3:8 4:8 |"},
        {"A minor counts from C, its tonic is 6",
         scoreXml({attributes(0, 4, 4, "minor") + note("A4", 8) + note("C5", 8) + note("E5", 8) + note("A4", 8)}),
         "6:8 1':8 3':8 6:8 |"},
        {"the octave that needs the fewest dots", scoreXml({c + note("C5", 8) + note("D5", 8) + note("E5", 8) + note("G5", 8)}),
         "1:8 2:8 3:8 5:8 |"},
        {"every duration the page writes",
         scoreXml({c + note("C4", 1) + note("D4", 2) + note("E4", 3) + note("F4", 4) + note("G4", 6) + note("A4", 7) +
                    note("r", 1) + note("C5", 8),
                note("C4", 12) + note("D4", 14) + note("E4", 6), note("F4", 16) + note("G4", 16),
                note("A4", 24) + note("B4", 8), note("C4", 32)}),
         "1:1 2:2 3:3 4:4 5:6 6:7 0:1 1':8 | 1:12 2:14 3:6 | 4:16 5:16 | 6:24 7:8 | 1:32 |"},
        {"a value no single note shows is tied notes", scoreXml({c + note("C4", 20) + note("D4", 12)}),
         "1:16 ~1:4 2:12 |", "tie 0.0-0.1"},
        {"a half rest is two rests, a whole-bar rest four", scoreXml({c + note("r", 16) + note("C4", 16), note("r", 32)}),
         "0:8 0:8 1:16 | 0:8 0:8 0:8 0:8 |"},
        {"a tie over the bar line is an arc",
         scoreXml({c + note("C4", 16) + note("E4", 16, "<tie type=\"start\"/><notations><tied type=\"start\"/></notations>"),
                note("E4", 8, "<tie type=\"stop\"/><notations><tied type=\"stop\"/></notations>") + note("D4", 8) + note("C4", 16)}),
         "1:16 3:16 | ~3:8 2:8 1:16 |", "tie 0.1-1.0"},
        {"a slur is an arc",
         scoreXml({c + note("C4", 8, "<notations><slur type=\"start\" number=\"1\"/></notations>") + note("D4", 8) +
                note("E4", 8, "<notations><slur type=\"stop\" number=\"1\"/></notations>") + note("F4", 8)}),
         "1:8 2:8 3:8 4:8 |", "slur 0.0-0.2"},
        {"a pickup keeps its short bar", scoreXml({c + note("G3", 8), quarters("C4")}), "5,:8 | 1:8 1:8 1:8 1:8 |"},
        {"a key change starts a line with a new head",
         scoreXml({c + quarters("C4"), "<attributes><key><fifths>2</fifths></key></attributes>" + quarters("D4")}),
         "1:8 1:8 1:8 1:8 | 1:8 1:8 1:8 1:8 |", "song@1 \"\" 1=D 4/4 每分钟72拍"},
        {"a time change starts a line with a new head",
         scoreXml({c + quarters("C4"), "<attributes><time><beats>3</beats><beat-type>4</beat-type></time></attributes>" + quarters("E4", 3)}),
         "1:8 1:8 1:8 1:8 | 3:8 3:8 3:8 |", "song@1 \"\" 1=C 3/4 每分钟72拍"},
        {"lyrics in two verses under their notes",
         scoreXml({c + note("C4", 16, lyric(1, "Twin", "begin") + lyric(2, QStringLiteral("一"))) +
                note("G4", 16, lyric(1, "kle", "end") + lyric(2, QStringLiteral("闪")))}),
         "1:16 5:16 |", "verse1 Twin-kle | verse2 一 闪"},
        {"chord kinds as the chord path prints them",
         scoreXml({c + harmony("C", "major") + quarters("C4"), harmony("D", "minor") + quarters("D4"),
                harmony("G", "dominant") + quarters("G4"), harmony("C", "minor") + quarters("C4"),
                harmony("D", "major") + quarters("D4"), harmony("C", "augmented") + quarters("E4"),
                harmony("F", "suspended-fourth") + quarters("F4")}),
         "1:8 1:8 1:8 1:8 | 2:8 2:8 2:8 2:8 | 5:8 5:8 5:8 5:8 | 1:8 1:8 1:8 1:8 | 2:8 2:8 2:8 2:8 | "
         "3:8 3:8 3:8 3:8 | 4:8 4:8 4:8 4:8 |",
         "chord@0 1 | chord@1 2 | chord@2 57 | chord@3 1MIN | chord@4 2MAX | chord@5 1+ | chord@6 44"},
        {"a chord under a note of its bar",
         scoreXml({c + note("C4", 8) + note("D4", 8) + harmony("A", "minor") + note("E4", 8) + note("F4", 8)}),
         "1:8 2:8 3:8 4:8 |", "chord@0.2 6"},
        {"a triplet is written with the nearest values and reported",
         scoreXml({attributes(0, 4, 4, "major", 24) + note("C4", 8, "<time-modification><actual-notes>3</actual-notes><normal-notes>2</normal-notes></time-modification>") +
                note("D4", 8, "<time-modification><actual-notes>3</actual-notes><normal-notes>2</normal-notes></time-modification>") +
                note("E4", 8, "<time-modification><actual-notes>3</actual-notes><normal-notes>2</normal-notes></time-modification>") +
                note("F4", 24) + note("G4", 48)}),
         "1:3 2:2 3:3 4:8 5:16 |", "", "bar 1: a tuplet written with the nearest note values"},
        {"of a chord its top note", scoreXml({c + note("C4", 8) + note("E4", 8, "<chord/>") + note("G4", 8, "<chord/>") + quarters("D4", 3)}),
         "5:8 2:8 2:8 2:8 |"},
        {"the first voice only",
         scoreXml({c + quarters("E4") + "<backup><duration>32</duration></backup>" + note("C3", 32, QString(), "2")}),
         "3:8 3:8 3:8 3:8 |"},
        {"a bar longer than its time signature is written whole and reported", scoreXml({c + quarters("C4", 5)}),
         "1:8 1:8 1:8 1:8 1:8 |", "", "bar 1 is longer than its time signature"},
        {"a second chord over one note is left out and reported",
         scoreXml({c + harmony("C", "major") +
                   "<harmony><root><root-step>G</root-step></root><kind>major</kind><offset>8</offset></harmony>" +
                   note("C4", 16) + note("D4", 16)}),
         "1:16 2:16 |", "chord@0 1", "bar 1: a second chord over one note is left out"},
        {"signs only where the key and the bar do not give the pitch",
         scoreXml({attributes(1) + note("F#4", 8) + note("F4", 8) + note("F4", 8) + note("G4", 8),
                note("C#5", 8) + note("Db5", 8) + note("C5", 8) + note("G4", 8)}),
         "7,:8 b7,:8 7,:8 1:8 | #4:8 4:8 n4:8 1:8 |"},
        {"the file's spelling one sign off the key is kept, doubles and E sharp by sound",
         scoreXml({attributes(-1) + note("F4", 8) + note("Db5", 8) + note("E#4", 8) + note("G##4", 8)}),
         "1:8 b6:8 1:8 3:8 |"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const ImportResult r = ImportMusicXmlBytes(k.xml);
        ASSERT_EQ(r.error, QString());
        ASSERT_EQ(r.pageCount(), 1);
        const Score& read = r.layout.pages[0].read;
        EXPECT_EQ(ScoreText(read).toStdString(), k.notes);
        EXPECT_EQ(MarksText(read).toStdString(), k.marks);
        EXPECT_TRUE(r.proved()) << r.layout.mismatches.join(QStringLiteral("; ")).toStdString();
        if (*k.reported)
            EXPECT_TRUE(r.notes().join(QStringLiteral("; ")).contains(QString::fromUtf8(k.reported)))
                << r.notes().join(QStringLiteral("; ")).toStdString();
        else
            EXPECT_TRUE(r.song.notes.isEmpty()) << r.song.notes.join(QStringLiteral("; ")).toStdString();
    }
}

TEST(Import, HeaderOfTheFirstPage) {
    QByteArray xml = scoreXml({attributes(-3, 3, 4) + "<direction><direction-type><metronome><beat-unit>quarter</beat-unit>"
                                                   "<per-minute>96</per-minute></metronome></direction-type></direction>" +
                            quarters("Eb4", 3)},
                           QStringLiteral("小星星"));
    const ImportResult r = ImportMusicXmlBytes(xml);
    ASSERT_EQ(r.error, QString());
    const ScoreDocument d = PageDocument(r, 0, {});
    EXPECT_EQ(d.title, QStringLiteral("小星星"));
    EXPECT_EQ(d.tempo, QStringLiteral("每分钟96拍"));
    EXPECT_EQ(KeyList()[d.keyIndex], QStringLiteral("bE"));
    EXPECT_EQ(NumeratorList()[d.numeratorIndex], QStringLiteral("3"));
    EXPECT_EQ(DenominatorList()[d.denominatorIndex], QStringLiteral("4"));
    EXPECT_EQ(d.pageNumber, 1);
    EXPECT_EQ(r.song.composer, QStringLiteral("Anon"));
    EXPECT_EQ(ScoreText(r.layout.pages[0].read), QStringLiteral("1:8 1:8 1:8 |"));
}

TEST(Import, GraceNotesBecomeTheGraceNoteGroup) {
    const ImportResult r = ImportMusicXmlBytes(
        scoreXml({attributes(0) + note("D4", 0, "<grace/>") + note("C4", 0, "<grace/>") + quarters("E4")}));
    ASSERT_EQ(r.error, QString());
    const auto& graces = r.layout.pages[0].graces;
    ASSERT_EQ(graces.size(), 3u);
    EXPECT_EQ(graces[0].file, QStringLiteral("2.bmp"));
    EXPECT_EQ(graces[1].file, QStringLiteral("1.bmp"));
    EXPECT_EQ(graces[2].file, QStringLiteral("装饰音2.bmp"));
    // The reader finds the group before the first note, as the window's overlays show it.
    Score read = r.layout.pages[0].read;
    std::vector<OverlayMark> marks;
    for (const GraceOverlay& o : graces) marks.push_back({true, o.file, QRect(o.Left, o.Top, 8, 10)});
    AttachOverlays(read, marks, r.layout.settings.lineSpacing);
    ASSERT_EQ(read.directions.size(), 1u);
    EXPECT_EQ(read.directions[0].text, QStringLiteral("21"));
    EXPECT_EQ(read.directions[0].at, (EventRef{0, 0}));
    // As picture records of the library's list.
    const ScoreDocument d = PageDocument(r, 0, {QStringLiteral("1.bmp"), QStringLiteral("2.bmp"), QStringLiteral("装饰音2.bmp")});
    ASSERT_EQ(d.pictureOverlays.size(), 3u);
    EXPECT_EQ(d.pictureOverlays[0].index, 1);
    EXPECT_EQ(d.pictureOverlays[2].index, 2);
}

TEST(Import, PercussionTakesTheSyllablesOfItsInstruments) {
    const QString partList = QStringLiteral(
        "<part-list><score-part id=\"P1\"><part-name>Drums</part-name>"
        "<score-instrument id=\"D1\"><instrument-name>a</instrument-name></score-instrument>"
        "<score-instrument id=\"D2\"><instrument-name>b</instrument-name></score-instrument>"
        "<midi-instrument id=\"D1\"><midi-unpitched>42</midi-unpitched></midi-instrument>"
        "<midi-instrument id=\"D2\"><midi-unpitched>40</midi-unpitched></midi-instrument>"
        "</score-part></part-list>");
    auto drum = [](const char* id, int d) {
        return QStringLiteral("<note><unpitched><display-step>C</display-step><display-octave>5</display-octave></unpitched>"
                              "<duration>%1</duration><instrument id=\"%2\"/><voice>1</voice></note>").arg(d).arg(QLatin1String(id));
    };
    const QString clef = QStringLiteral("<attributes><divisions>8</divisions><time><beats>4</beats><beat-type>4</beat-type></time>"
                                        "<clef><sign>percussion</sign></clef></attributes>");
    const ImportResult r = ImportMusicXmlBytes(scoreXml({clef + drum("D1", 8) + drum("D2", 8) + drum("D1", 16)}, "Drums", QString(), partList));
    ASSERT_EQ(r.error, QString());
    EXPECT_EQ(ScoreText(r.layout.pages[0].read), QStringLiteral("冬:8 X:8 冬:16 |"));

    // An instrument with no syllable: the part is skipped with a word; alone it is refused.
    QString unknown = partList;
    unknown.replace(QStringLiteral("<midi-unpitched>40</midi-unpitched>"), QStringLiteral("<midi-unpitched>70</midi-unpitched>"));
    const ImportResult refused = ImportMusicXmlBytes(scoreXml({clef + drum("D1", 8) + drum("D2", 8) + drum("D1", 16)}, "Drums", QString(), unknown));
    EXPECT_TRUE(refused.error.contains(QStringLiteral("percussion part \"Drums\" skipped"))) << refused.error.toStdString();
}

// The proof compares what the page holds with what was meant: a score whose
// event claims a value its glyphs do not write is caught, with its bar.
TEST(Import, TheProofNamesTheBarsThatReadBackDifferently) {
    ImportResult r = ImportMusicXmlBytes(scoreXml({attributes(0) + quarters("C4"), quarters("D4")}));
    ASSERT_TRUE(r.proved());
    MappedSong wrong = r.song;
    wrong.score.measures[1].events[2].duration = 12;  // its glyphs stay a plain quarter
    const LayoutResult layout = LayOutSong(wrong);
    ASSERT_EQ(layout.mismatches.size(), 1);
    EXPECT_EQ(layout.mismatches[0], QStringLiteral("bar 2: expected 2:8 2:8 2:12 2:8, read 2:8 2:8 2:8 2:8"));
}

TEST(Import, TheFirstPartWithNotesOrTheOneAskedFor) {
    auto part = [](const char* id, const QString& measure) {
        return QStringLiteral("<part id=\"%1\"><measure number=\"1\">%2</measure></part>").arg(QLatin1String(id), measure);
    };
    const QString head = QStringLiteral("<?xml version=\"1.0\"?><score-partwise version=\"4.0\"><part-list>"
                                        "<score-part id=\"P1\"><part-name>Tacet</part-name></score-part>"
                                        "<score-part id=\"P2\"><part-name>Flute</part-name></score-part>"
                                        "<score-part id=\"P3\"><part-name>Bass</part-name></score-part></part-list>");
    const QByteArray xml = (head + part("P1", attributes(0) + note("r", 32)) +
                            part("P2", attributes(0) + quarters("E4")) + part("P3", attributes(0) + quarters("C3")) +
                            QStringLiteral("</score-partwise>")).toUtf8();
    const struct {
        int part;
        const char* notes;
        const char* error;
    } cases[] = {
        {0, "3:8 3:8 3:8 3:8 |", ""},  // the empty first part is passed over
        {3, "1:8 1:8 1:8 1:8 |", ""},  // its own octave: the bass needs no dots either
        {1, "", "part 1 (Tacet) is empty"},
        {4, "", "no part 4"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.part);
        ImportOptions options;
        options.part = c.part;
        const ImportResult r = ImportMusicXmlBytes(xml, options);
        EXPECT_TRUE(r.error.contains(QString::fromUtf8(c.error))) << r.error.toStdString();
        if (*c.notes) {
            ASSERT_EQ(r.pageCount(), 1);
            EXPECT_EQ(ScoreText(r.layout.pages[0].read).toStdString(), c.notes);
        } else {
            EXPECT_FALSE(r.error.isEmpty());
        }
    }
}
