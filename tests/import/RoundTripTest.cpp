// Pages typed through the key handler, written as MusicXML by the program's
// own export and imported again: the imported page reads back with the notes
// (and marks) of the typed one.
#include <gtest/gtest.h>

#include <functional>

#include "Importer.h"
#include "MarksWindow.h"
#include "MusicXmlWriter.h"
#include "PageReader.h"

using namespace qn;
using namespace qn::import;
using namespace qn::score;
using qn::test::MarksWindow;
using qn::test::typeScript;

TEST(ImportRoundTrip, TypedPageExportedAndImportedReadsTheSame) {
    struct Typed {
        const char* name;
        const char* key;
        std::function<void(MarksWindow&)> type;
        // A dash held over a bar line comes back as a tie arc: the same notes, one mark more.
        const char* marks = nullptr;
    } pages[] = {
        {"quarters", "C", [](MarksWindow& w) { typeScript(w, QStringLiteral("1 2 3 4 5 6 7 8")); }},
        {"dots and dashes", "G",
         [](MarksWindow& w) { typeScript(w, QStringLiteral("5 . /1 6 /0 5 - | 3 - - - | /1 1 . /2 2 /1 3 . /2 4 /0 5 6")); }},
        {"double dot, sixteenths", "F", [](MarksWindow& w) { typeScript(w, QStringLiteral("1 . . /2 2 /0 3 . /1 4")); }},
        {"signs", "D", [](MarksWindow& w) { typeScript(w, QStringLiteral("# 4 5 4 n 4 /1 1 # 1 b 3 3 /0 # 5 b 7 b 6 5 # 2 3")); }},
        {"rests and a pickup", "bB", [](MarksWindow& w) { typeScript(w, QStringLiteral("/0 5 | 1 r /1 r 2 /0 3 4 5 6 7 1 2 3 4")); }},
        {"repeats, double and final bar", "C",
         [](MarksWindow& w) { typeScript(w, QStringLiteral("[ 1 2 3 4 ] 5 6 7 1 ' 1 - - - \\")); }},
        {"a note held over the bar line", "E", [](MarksWindow& w) { typeScript(w, QStringLiteral("1 2 3 4 - 5 6 7")); }, "tie 0.3-1.0"},
        {"percussion", "C", [](MarksWindow& w) { typeScript(w, QStringLiteral("Z X C V /1 B B /0 Z - |")); }},
        {"lyrics and chords", "C",
         [](MarksWindow& w) {
             typeScript(w, QStringLiteral("1 1 5 5 6 6 5 -"));
             w.toLine(0);
             w.chord(49);
             w.chord(53, {103});
             w.notes();
             w.lyric(96 + 42, QStringLiteral("一闪一闪亮晶晶"));
         }},
    };
    for (const Typed& p : pages) {
        SCOPED_TRACE(p.name);
        MarksWindow w;
        p.type(w);
        const Score typed = ReadPage(w.ed.page, w.pitch);
        ScoreHeader header;
        header.key = QString::fromLatin1(p.key);
        const ImportResult r = ImportMusicXmlBytes(MusicXml(typed, header));
        ASSERT_EQ(r.error, QString());
        ASSERT_EQ(r.pageCount(), 1);
        EXPECT_EQ(ScoreText(r.layout.pages[0].read).toStdString(), ScoreText(typed).toStdString());
        EXPECT_TRUE(r.proved()) << r.layout.mismatches.join(QStringLiteral("; ")).toStdString();
        EXPECT_EQ(r.song.score.songs[0].head->key, header.key);
        // The marks the typed page holds come back too (the importer centres the syllables itself).
        EXPECT_EQ(MarksText(r.layout.pages[0].read).toStdString(), p.marks ? p.marks : MarksText(typed).toStdString());
    }
}
