// Pages typed with everything the program puts on a page besides notes
// (lyrics, chords, arcs, a second song's head) read back as typed.
#include <gtest/gtest.h>

#include <functional>

#include "MarksWindow.h"
#include "PageReader.h"

using namespace qn;
using namespace qn::score;
using qn::test::MarksWindow;
using qn::test::typeScript;

namespace {

std::string skipsText(const Score& s) {
    std::string out;
    for (const Skip& k : s.skipped)
        out += "line " + std::to_string(k.line) + " x " + std::to_string(k.x) + ": " + k.reason.toStdString() + "; ";
    return out;
}

// The cells of the notes read on a line (no rests, no held dashes).
std::vector<PagePosition> noteCells(const MarksWindow& w, int line) {
    std::vector<PagePosition> cells;
    for (const Measure& m : ReadPage(w.ed.page, w.pitch).measures)
        for (const Event& e : m.events)
            if (e.position.line == line && e.kind != EventKind::Rest && !e.tiedFromPrevious) cells.push_back(e.position);
    return cells;
}

// A lyric line as a user types it: blanks so that each syllable's middle
// comes under its note (a Chinese character is 14 pixels wide, the rest 7;
// Chinese characters need no blank between them).
QString under(const std::vector<PagePosition>& cells, const QStringList& syllables) {
    QString text;
    int cursor = 20;
    for (int i = 0; i < syllables.size() && i < int(cells.size()); ++i) {
        int width = 0;
        for (const QChar c : syllables[i]) width += c.unicode() >= 0x2E80 ? 14 : 7;
        int letters = width;
        if (syllables[i].endsWith(QLatin1Char('-'))) letters -= 7;  // the hyphen stands after the middle
        const int start = cells[size_t(i)].x + 6 - letters / 2;
        const bool han = syllables[i][0].unicode() >= 0x2E80;
        const int blanks = std::max(i == 0 || han ? 0 : 1, int(std::lround((start - cursor) / 7.0)));
        text += QString(blanks, QLatin1Char(' ')) + syllables[i];
        cursor += 7 * blanks + width;
    }
    return text;
}

// L at the first note's cell, L at the second's.
void arc(MarksWindow& w, const PagePosition& a, const PagePosition& b) {
    w.ed.caret.Left = Single(a.x);
    w.ed.caret.Top = Single(a.top);
    w.press(76);
    w.ed.caret.Left = Single(b.x);
    w.ed.caret.Top = Single(b.top);
    w.press(76);
}

struct TypedPage {
    const char* name;
    std::function<void(MarksWindow&)> type;
    const char* notes;  // ScoreText
    const char* marks;  // MarksText
};

}  // namespace

TEST(Marks, TypedPagesReadBackAsTyped) {
    const TypedPage pages[] = {
        {"Chinese lyrics in two verses",
         [](MarksWindow& w) {
             w.pitch = 90;  // room for two lyric lines
             typeScript(w, QStringLiteral("1 1 5 5 6 6 5 -"));
             const auto cells = noteCells(w, 0);
             w.lyric(96 + 42, under(cells, {"一", "闪", "一", "闪", "亮", "晶", "晶"}));
             w.lyric(96 + 42 + 16, under(cells, {"满", "天", "都", "是", "小", "星", "星"}));
         },
         "1:8 1:8 5:8 5:8 | 6:8 6:8 5:16 |", "verse1 一 闪 一 闪 亮 晶 晶 | verse2 满 天 都 是 小 星 星"},
        {"Latin words split at hyphens, punctuation kept with its word",
         [](MarksWindow& w) {
             typeScript(w, QStringLiteral("1 - 1 - | 5 - 5 - | 6 - 6 - | 5 - - -"));
             w.lyric(96 + 44, under(noteCells(w, 0), {"Twin-", "kle", "twin-", "kle,", "lit-", "tle", "star!"}));
         },
         "1:16 1:16 | 5:16 5:16 | 6:16 6:16 | 5:32 |", "verse1 Twin-kle twin-kle, lit-tle star!"},
        {"chords at the bar lines with modifiers, one under a note with G",
         [](MarksWindow& w) {
             typeScript(w, QStringLiteral("1 2 3 4 5 6 7 1 1 2 3 4"));
             w.toLine(0);
             w.chord(49);                                           // 1
             w.chord(53, {103});                                    // 5 with a small 7
             w.chord(50, {104});                                    // 2 MAX
             w.notes();
             const auto cells = noteCells(w, 0);
             w.ed.caret.Left = Single(cells[11].x + 3);
             w.chord(54, {vk::Add, vk::Subtract, 105}, true);  // 6 + - 9 MAX at the note
         },
         "1:8 2:8 3:8 4:8 | 5:8 6:8 7:8 1:8 | 1:8 2:8 3:8 4:8 |",
         "chord@0 1 | chord@1 57 | chord@2 2MAX | chord@2.3 6+-9MAX"},
        {"a slur over a phrase, a tie over a bar line, a slur over a line break",
         [](MarksWindow& w) {
             typeScript(w, QStringLiteral("1 2 3 4 4 5 6 7 Enter 1 2 3 4"));
             const auto a = noteCells(w, 0), b = noteCells(w, 1);
             arc(w, a[0], a[2]);
             arc(w, a[3], a[4]);
             arc(w, a[6], b[1]);
         },
         "1:8 2:8 3:8 4:8 | ~4:8 5:8 6:8 7:8 | 1:8 2:8 3:8 4:8 |",
         "slur 0.0-0.2 | tie 0.3-1.0 | slur 1.2-2.1"},
        {"a second song's head from the dialog",
         [](MarksWindow& w) {
             typeScript(w, QStringLiteral("1 2 3 4 5 6 7 1"));
             w.toLine(1);
             w.head(QStringLiteral("小星星 Little Star"), QStringLiteral("bE"), QStringLiteral("3"), QStringLiteral("4"),
                    QStringLiteral("每分钟96拍"));
             w.toLine(3);
             typeScript(w, QStringLiteral("5 6 5 | 3 - 1 \\"));
         },
         "1:8 2:8 3:8 4:8 | 5:8 6:8 7:8 1:8 | 5:8 6:8 5:8 | 3:16 1:8 |]",
         "song@2 \"小星星 Little Star\" 1=bE 3/4 每分钟96拍"},
        {"a head with a tempo word",
         [](MarksWindow& w) {
             typeScript(w, QStringLiteral("1 2 3 4"));
             w.toLine(1);
             w.head(QStringLiteral("二"), QStringLiteral("G"), QStringLiteral("6"), QStringLiteral("8"),
                    QStringLiteral("小快板"));
             w.toLine(3);
             typeScript(w, QStringLiteral("5 6 5"));
         },
         "1:8 2:8 3:8 4:8 | 5:8 6:8 5:8", "song@1 \"二\" 1=G 6/8 小快板"},
    };
    for (const TypedPage& p : pages) {
        SCOPED_TRACE(p.name);
        MarksWindow w;
        p.type(w);
        const Score s = ReadPage(w.ed.page, w.pitch);
        EXPECT_EQ(ScoreText(s).toStdString(), p.notes);
        EXPECT_EQ(MarksText(s).toStdString(), p.marks);
        EXPECT_TRUE(s.skipped.empty()) << skipsText(s);
    }
}
