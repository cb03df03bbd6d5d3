// Melodies typed through the key handler come back from the page as typed.
#include <gtest/gtest.h>

#include <QPainter>
#include <QPainterPath>
#include <functional>

#include "PageReader.h"
#include "Typing.h"

using namespace qn;
using namespace qn::score;
using qn::test::TestWindow;
using qn::test::typeScript;

namespace {

struct Melody {
    const char* name;
    const char* script;
    const char* expected;  // ScoreText of the reading
    std::function<void(TestWindow&)> setup = nullptr;
};

std::string skipsText(const Score& s) {
    std::string out;
    for (const Skip& k : s.skipped)
        out += "line " + std::to_string(k.line) + " x " + std::to_string(k.x) + ": " + k.reason.toStdString() + "; ";
    return out;
}

}  // namespace

TEST(RoundTrip, TypedMelodiesReadBackAsTyped) {
    const Melody melodies[] = {
        {"quarters and automatic bar lines", "1 2 3 4 5 6 7 8", "1:8 2:8 3:8 4:8 | 5:8 6:8 7:8 1':8 |"},
        {"every note value", "/1 1 2 3 4 /2 5 6 7 F1 /3 F2 F3 F4 F5 F6 F7 F8 F9",
         "1:4 2:4 3:4 4:4 5:2 6:2 7:2 1':2 2':1 3':1 4':1 5':1 6':1 7':1 1'':1 2'':1 |"},
        {"dots, a dotted eighth bridging its beam, dashes", "5 . /1 6 /0 5 - | 3 - - - | /1 1 . /2 2 /1 3 . /2 4 /0 5 6",
         "5:12 6:4 5:16 | 3:32 | 1:6 2:2 3:6 4:2 5:8 6:8 |"},
        {"double dot", "1 . . /2 2 /0 3 . /1 4", "1:14 2:2 3:12 4:4 |"},
        {"rests of two values", "/0 1 r /1 r 2 /0 r", "1:8 0:8 0:4 2:4 0:8 |"},
        {"signs, also over a beam", "# 4 5 4 n 4 /1 1 # 2 b T 4 /0 3 2",
         "#4:8 5:8 4:8 n4:8 | 1:4 #2:4 b5,:4 4:4 3:8 2:8 |"},
        {"octaves with and without beams",
         "L1 L5 Q U 1 F1 F8 F12 /1 L3 Q F8 F1 /2 L7 W F12 F2 L4 E F9 F3 "
         "/3 L1 L2 L3 L4 Q W E R /2 F8 F9 F10 F11 /1 F1 F2 /0 5",
         "1,,:8 5,,:8 1,:8 7,:8 | 1:8 1':8 1'':8 5'':8 | 3,,:4 1,:4 1'':4 1':4 7,,:2 2,:2 5'':2 2':2 4,,:2 3,:2 2'':2 3':2 | "
         "1,,:1 2,,:1 3,,:1 4,,:1 1,:1 2,:1 3,:1 4,:1 1'':2 2'':2 3'':2 4'':2 1':4 2':4 5:8 |"},
        {"bar lines and repeats after automatic bar lines", "[ 1 2 3 4 ] 5 6 7 1 ' 1 - - - \\",
         "|: 1:8 2:8 3:8 4:8 :| 5:8 6:8 7:8 1:8 || 1:32 |]"},
        {"a repeat start inside a line, a pickup before it", "/0 5 | [ 1 2 3 4 ] 5",
         "5:8 | |: 1:8 2:8 3:8 4:8 :| 5:8"},
        {"full and half width blanks and brackets", "S _ 1 _ 2 S _ 3 9 4 0", "1:8 2:8 3:8 4:8 |"},
        {"percussion syllables", "Z X C V /1 B B /0 Z - |", "冬:8 X:8 仓:8 次:8 | 板:4 板:4 冬:16 |"},
        {"a dash after a bar line ties over", "1 2 3 4 - 5 6 7", "1:8 2:8 3:8 4:8 | ~4:8 5:8 6:8 7:8 |"},
        {"a rest held over a bar line is a new rest", "1 2 3 r - 5 6 7", "1:8 2:8 3:8 0:8 | 0:8 5:8 6:8 7:8 |"},
        {"insert before a note", "1 2 4 < 3 > 5", "1:8 2:8 3:8 4:8 5:8"},
        {"overwrite a note", "1 2 3 4 Ins < < 5", "1:8 2:8 3:8 5:8 |"},
        {"backspace", "1 2 3 BS 4", "1:8 2:8 4:8"},
        {"a measure across a line break", "1 2 Enter 3 4", "1:8 2:8 3:8 4:8"},
        {"automatic spacing off", "/1 1 2 3 4 5 6 7 1", "1:4 2:4 3:4 4:4 5:4 6:4 7:4 1:4 |",
         [](TestWindow& w) { w.check4 = false; }},
        {"beat division on", "/1 1 2 3 4 5 6 7 1 /0 1 2 3 4", "1:4 2:4 3:4 4:4 5:4 6:4 7:4 1:4 | 1:8 2:8 3:8 4:8 |",
         [](TestWindow& w) { w.check8 = true; }},
        {"justified lines", "/1 1 2 3 4 5 6 7 1 2 3 4 5 6 7 1 2 3 4 5 6 7 1 2 3 /0 1 2 3 4",
         "1:4 2:4 3:4 4:4 5:4 6:4 7:4 1:4 | 2:4 3:4 4:4 5:4 6:4 7:4 1:4 2:4 | "
         "3:4 4:4 5:4 6:4 7:4 1:4 2:4 3:4 | 1:8 2:8 3:8 4:8 |",
         [](TestWindow& w) {
             w.check11 = true;
             w.barsPerLine = 3;
         }},
    };
    for (const Melody& m : melodies) {
        SCOPED_TRACE(m.name);
        TestWindow w;
        if (m.setup) m.setup(w);
        typeScript(w, QString::fromUtf8(m.script));
        const Score s = ReadPage(w.ed.page, w.pitch);
        EXPECT_EQ(ScoreText(s).toStdString(), m.expected);
        EXPECT_TRUE(s.skipped.empty()) << skipsText(s);
    }
}

TEST(RoundTrip, JustifiedLineIsSpreadAndStillReads) {
    const QString script = QStringLiteral("/1 1 2 3 4 5 6 7 1 2 3 4 5 6 7 1 2 3 4 5 6 7 1 2 3");
    auto lastBarOnFirstLine = [](const Page& page) {
        int x = 0;
        for (const PageSymbol& s : ReadSymbols(page, 60).symbols)
            if (s.position.line == 0 && s.code == 101) x = s.position.x;
        return x;
    };
    TestWindow plain, justified;
    plain.barsPerLine = justified.barsPerLine = 3;
    justified.check11 = true;
    typeScript(plain, script);
    typeScript(justified, script);
    EXPECT_GT(lastBarOnFirstLine(justified.ed.page), lastBarOnFirstLine(plain.ed.page) + 100)
        << "the line was not spread";
    EXPECT_EQ(ReadPage(justified.ed.page, 60).eventCount(), 24);
    EXPECT_EQ(ScoreText(ReadPage(justified.ed.page, 60)), ScoreText(ReadPage(plain.ed.page, 60)));
}

// Text, arcs and colour the program does not print (smoothed, another font,
// another arc) change no note and are neither read as lyrics, chords or arcs:
// they are reported.
TEST(RoundTrip, ForeignMarksAreReportedNotGuessed) {
    const char* script = "1 2 3 4 5 - 6 . /1 7 | /0 1 - - - Enter 3 3 2 1 /1 5 6 5 6 /0 1 - \\";
    TestWindow clean;
    typeScript(clean, QString::fromUtf8(script));
    const QString expected = ScoreText(ReadPage(clean.ed.page, clean.pitch));
    ASSERT_EQ(expected, QStringLiteral("1:8 2:8 3:8 4:8 | 5:16 6:12 7:4 | 1:32 | 3:8 3:8 2:8 1:8 | 5:4 6:4 5:4 6:4 1:16 |]"));

    QImage page = clean.ed.page.image();
    QPainter p(&page);
    // Lyrics printed in the space under each line.
    QFont font(QStringLiteral("AR PL UMing CN"));
    font.setPixelSize(14);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QPoint(20, 96 + 40 + 13), QStringLiteral("在这里输入歌词 la la la la"));
    p.drawText(QPoint(20, 156 + 40 + 13), QStringLiteral("啊 啊 啊 啊 la la la"));
    // A slur over the first bar as the slur command paints it: the arc picture
    // with its white ground, its bottom edge two rows into the line.
    const int x1 = 26, x2 = 86, s = x2 - x1, top = 96 - 5 - s / 100;
    p.fillRect(QRect(x1, top, s, s / 100 + 7), Qt::white);
    QPainterPath arc;
    arc.moveTo(x1, 96 + 1);
    arc.quadTo((x1 + x2) / 2.0, top - 6, x2, 96 + 1);
    p.setPen(QPen(Qt::black, 2));
    p.setClipRect(QRect(x1, top, s, s / 100 + 7));
    p.drawPath(arc);
    p.setClipping(false);
    // A chord symbol at the first bar line (its stroke at x 93), in the chord
    // colour, after the white square that blots out the lower end of the stroke.
    p.fillRect(QRect(93, 96 + 30, 22, 18), Qt::white);
    p.setPen(Qt::red);
    QFont chord(font);
    chord.setPixelSize(24);
    chord.setBold(true);
    p.setFont(chord);
    p.drawText(QPoint(100, 96 + 48), QStringLiteral("5"));
    p.end();

    const Score s2 = ReadPage(page, clean.pitch);
    EXPECT_EQ(ScoreText(s2), expected);
    EXPECT_EQ(MarksText(s2), QString());
    bool line0 = false, line1 = false;
    for (const Skip& k : s2.skipped) {
        line0 = line0 || k.line == 0;
        line1 = line1 || k.line == 1;
    }
    EXPECT_TRUE(line0 && line1) << skipsText(s2);
}

TEST(RoundTrip, DamagedSymbolsAreSkippedAndCountedNeverGuessed) {
    TestWindow w;
    typeScript(w, QStringLiteral("/1 1 2 3 4 5 6 7 1"));
    const PageReading before = ReadSymbols(w.ed.page, w.pitch);
    ASSERT_EQ(before.symbols.size(), 9u);
    QImage page = w.ed.page.image();
    QPainter p(&page);
    // A stray stroke of ink across the body of the second note, and a lyric
    // that runs into the beam rows of the fifth: neither may be read as
    // something else (the fifth must not become a quarter note).
    const PagePosition second = before.symbols[1].position, fifth = before.symbols[4].position;
    p.fillRect(QRect(second.x + 1, second.top + 12, 1, 4), Qt::black);
    p.fillRect(QRect(fifth.x + 3, fifth.top + 27, 5, 6), Qt::black);
    p.end();

    const Score s = ReadPage(page, w.pitch);
    EXPECT_EQ(ScoreText(s), QStringLiteral("1:4 3:4 4:4 6:4 7:4 1:4 |"));
    ASSERT_EQ(s.skipped.size(), 2u) << skipsText(s);
    EXPECT_EQ(s.skipped[0].x, second.x + 1);
    EXPECT_EQ(s.skipped[1].x, fifth.x + 2);  // where the digit 5's ink starts
    for (const Skip& k : s.skipped) EXPECT_EQ(k.reason, QStringLiteral("unknown ink"));
}

TEST(RoundTrip, SymbolsThatHaveNoPlaceAreSkipped) {
    struct Case {
        const char* name;
        const char* script;
        const char* expected;
        std::vector<QString> reasons;
    } cases[] = {
        {"a dot at the line start", ". 1", "1:8", {QStringLiteral("dot without a note")}},
        {"a dash at the line start", "- 1", "1:8", {QStringLiteral("dash without a note")}},
        {"a sign before a bar line", "1 2 3 # |", "1:8 2:8 3:8 |", {QStringLiteral("sign without a note")}},
        {"a sign before a rest", "# r", "0:8", {QStringLiteral("sign without a note")}},
        {"a repeat end with nothing before it", "] 1", "1:8", {QStringLiteral("repeat end with nothing before it")}},
        {"a dot after a bar line", "1 2 3 4 . 5", "1:8 2:8 3:8 4:8 | 5:8", {QStringLiteral("dot without a note")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestWindow w;
        typeScript(w, QString::fromUtf8(c.script));
        const Score s = ReadPage(w.ed.page, w.pitch);
        EXPECT_EQ(ScoreText(s).toStdString(), c.expected);
        std::vector<QString> reasons;
        for (const Skip& k : s.skipped) reasons.push_back(k.reason);
        EXPECT_EQ(reasons, c.reasons) << skipsText(s);
    }
}

TEST(RoundTrip, AccidentalsHoldToTheEndOfTheMeasure) {
    TestWindow w;
    typeScript(w, QStringLiteral("# 4 4 F4 n 4 4 b 7 7 7"));
    const Score s = ReadPage(w.ed.page, w.pitch);
    ASSERT_EQ(s.measures.size(), 2u);
    std::vector<int> alters;
    for (const Measure& m : s.measures)
        for (const Event& e : m.events) alters.push_back(e.alter);
    // #4 4 4' n4 | 4 b7 7 7: the sharp holds for 4 (not 4'), the natural ends
    // it, the bar line clears everything.
    EXPECT_EQ(alters, (std::vector<int>{1, 1, 0, 0, 0, -1, -1, -1}));
}
