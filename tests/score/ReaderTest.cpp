// The reader against the atlases themselves, and the header values.
#include <gtest/gtest.h>

#include "Atlas.h"
#include "PageReader.h"
#include "ScoreHeader.h"

using namespace qn;
using namespace qn::score;

namespace {

struct Stamp {
    int code, beams;
};

// Pastes atlas cells side by side from x 20 on the band with the given top,
// as stamping copies them (half-width signs only as their band of rows 3..24).
std::vector<int> paste(Page& page, int top, const std::vector<Stamp>& stamps) {
    std::vector<int> xs;
    int x = 20;
    for (const Stamp& s : stamps) {
        xs.push_back(x);
        if (s.code < 100) {
            page.paintPicture(Picmode(), NoteCellRect(s.code, s.beams), x, top);
        } else if (s.code >= 201 && s.code <= 203) {
            page.paintPicture(Picmode2(), OrnamentCellRect(s.code, 3, 22), x, top + 3);
        } else {
            page.paintPicture(Picmode2(), OrnamentCellRect(s.code, 0, 40), x, top);
        }
        x += CellWidth(s.code);
    }
    return xs;
}

std::string describe(const std::vector<PageSymbol>& symbols) {
    std::string s;
    for (const PageSymbol& p : symbols)
        s += std::to_string(p.code) + "/" + std::to_string(p.beams) + "@" + std::to_string(p.position.line) + "," +
             std::to_string(p.position.x) + " ";
    return s;
}

}  // namespace

TEST(PageReader, EveryInkedAtlasCellIsFoundWhereItWasPasted) {
    // Every glyph in every beam row, and every ornament cell with ink, in both
    // widths; neighbours touch as they do on the page.
    std::vector<std::vector<Stamp>> lines(1);
    for (int beams = 0; beams <= 3; ++beams)
        for (int code = 0; code <= 40; ++code) {
            if (lines.back().size() == 48) lines.emplace_back();
            lines.back().push_back({code, beams});
        }
    lines.emplace_back();
    for (int code : {41, 101, 102, 103, 104, 105, 106, 107, 108, 112, 113, 114, 115, 201, 202, 203, 207, 208,
                     209, 210, 211, 212, 213, 214, 41, 115, 211, 203})
        lines.back().push_back({code, 0});

    Page page(668, 945);
    const int pitch = 56;
    std::vector<std::pair<int, int>> want;  // (line, x) per stamp, codes in `codes`
    std::vector<Stamp> stamps;
    for (size_t l = 0; l < lines.size(); ++l) {
        const std::vector<int> xs = paste(page, 96 + int(l) * pitch, lines[l]);
        for (size_t i = 0; i < xs.size(); ++i) {
            want.emplace_back(int(l), xs[i]);
            stamps.push_back(lines[l][i]);
        }
    }
    const PageReading r = ReadSymbols(page, pitch);
    EXPECT_TRUE(r.unknownInk.empty());
    ASSERT_EQ(r.symbols.size(), stamps.size()) << describe(r.symbols);
    for (size_t i = 0; i < stamps.size(); ++i) {
        const PageSymbol& got = r.symbols[i];
        SCOPED_TRACE("stamp " + std::to_string(i) + " code " + std::to_string(stamps[i].code));
        EXPECT_EQ(got.code, stamps[i].code);
        EXPECT_EQ(got.beams, stamps[i].beams);
        EXPECT_EQ(got.position.line, want[i].first);
        EXPECT_EQ(got.position.x, want[i].second);
        EXPECT_EQ(got.position.top, 96 + want[i].first * pitch);
        EXPECT_EQ(got.position.width, CellWidth(stamps[i].code));
    }
}

TEST(PageReader, ASingleBarLineAloneReadsAsOneBarLine) {
    // Alone on the page, the stroke of a full-width bar line is also the stroke
    // of a half-width one: it is read once.
    for (int code : {101, 207}) {
        Page page;
        paste(page, 96, {{code, 0}});
        const PageReading r = ReadSymbols(page, 60);
        ASSERT_EQ(r.symbols.size(), 1u) << describe(r.symbols);
        EXPECT_TRUE(r.symbols[0].code == 101 || r.symbols[0].code == 207);
        EXPECT_EQ(r.symbols[0].position.x + (r.symbols[0].code == 101 ? 7 : 5), code == 101 ? 27 : 25);
        EXPECT_EQ(ScoreText(BuildScore(r)), QString());  // a bar line with no notes makes no measure
    }
}

TEST(PageReader, CellsCutByThePageEdgeAreNotRead) {
    Page page(668, 945);
    page.paintPicture(Picmode(), NoteCellRect(14, 0), 660, 96);       // cut on the right
    page.paintPicture(Picmode(), NoteCellRect(29, 0), 20, 936);       // last band: only its dots above show
    page.paintPicture(Picmode(), NoteCellRect(16, 0), 20, 96 + 60);   // whole
    const Score s = ReadPage(page, 60);
    EXPECT_EQ(ScoreText(s), QStringLiteral("3:8"));
    EXPECT_EQ(s.lines, 15);  // tops 96 .. 936
    ASSERT_EQ(s.skipped.size(), 2u);
    EXPECT_EQ(s.skipped[0].line, 0);
    EXPECT_EQ(s.skipped[1].line, 14);
}

TEST(PageReader, BandsFollowTheLinePitch) {
    for (int pitch : {40, 50, 60, 97}) {
        Page page(668, 945);
        paste(page, 96, {{14, 0}});
        paste(page, 96 + 3 * pitch, {{15, 1}});
        const PageReading r = ReadSymbols(page, pitch);
        ASSERT_EQ(r.symbols.size(), 2u) << "pitch " << pitch;
        EXPECT_EQ(r.symbols[1].position.line, 3);
        EXPECT_EQ(r.lines, (945 - 96 + pitch - 1) / pitch);
    }
    Page page;
    EXPECT_EQ(ReadSymbols(page, 0).lines, 0) << "a pitch of 0 reads nothing";
    EXPECT_EQ(ReadPage(QImage(), 60).lines, 0);
}

TEST(PageReader, ReadsASavedPictureInAnyPixelFormat) {
    Page page;
    paste(page, 96, {{14, 1}, {115, 0}, {16, 2}, {101, 0}});
    for (QImage::Format f : {QImage::Format_RGB32, QImage::Format_RGB888, QImage::Format_Indexed8}) {
        const QImage img = page.image().convertToFormat(f);
        EXPECT_EQ(ScoreText(ReadPage(img, 60)), QStringLiteral("1:6 3:2 |")) << "format " << int(f);
    }
}

TEST(ScoreHeader, TempoFromTheDigitsOfTheLabel) {
    const std::pair<const char*, int> cases[] = {
        {"每分钟96拍", 96}, {"每分钟72拍", 72}, {"每分钟150拍", 150}, {"中速", 72}, {"", 72},
        {"每分钟0拍", 72},  {"每分钟1200拍", 72}, {"快板 120 左右 60", 120}, {"♩=88", 88},
    };
    for (const auto& [text, tempo] : cases) EXPECT_EQ(TempoFromLabel(QString::fromUtf8(text)), tempo) << text;
}

TEST(ScoreHeader, KeysAsTheKeyLabelShowsThem) {
    const char* labels[] = {"C", "bD", "D", "bE", "E", "F", "bG", "G", "bA", "A", "bB", "B"};
    const int fifths[] = {0, -5, 2, -3, 4, -1, -6, 1, -4, 3, -2, 5};
    for (int i = 0; i < 12; ++i) {
        const auto k = KeyFromLabel(QString::fromLatin1(labels[i]));
        ASSERT_TRUE(k.has_value()) << labels[i];
        EXPECT_EQ(k->tonic, i) << labels[i];
        EXPECT_EQ(k->fifths, fifths[i]) << labels[i];
        // Seven fifths up from the tonic spell the major scale: check the fifth degree.
        Event five;
        five.degree = 5;
        EXPECT_EQ(NotePitch(five, *k).midi, 60 + i + 7) << labels[i];
    }
    EXPECT_FALSE(KeyFromLabel(QStringLiteral("#F")).has_value());
    EXPECT_FALSE(KeyFromLabel(QStringLiteral("H")).has_value());
}

TEST(ScoreHeader, NotesAreSpelledInTheirKey) {
    struct Case {
        const char* key;
        int degree, octave, alter;
        int midi;
        const char* step;
        int stepAlter, stepOctave;
    } cases[] = {
        {"C", 1, 0, 0, 60, "C", 0, 4},    {"C", 4, 0, 1, 66, "F", 1, 4},    {"C", 7, -1, -1, 58, "B", -1, 3},
        {"F", 4, 0, 0, 70, "B", -1, 4},   {"F", 4, 0, 1, 71, "B", 0, 4},    {"bE", 3, 1, 0, 79, "G", 0, 5},
        {"B", 7, 0, 1, 83, "A", 2, 5},    {"bG", 4, 0, -1, 70, "C", -2, 5}, {"B", 1, -2, 0, 47, "B", 0, 2},
        {"bD", 7, 2, 0, 96, "C", 0, 7},   {"G", 4, 0, 1, 73, "C", 1, 5},    {"bG", 4, 0, 0, 71, "C", -1, 5},
    };
    for (const Case& c : cases) {
        Event e;
        e.degree = c.degree;
        e.octave = c.octave;
        e.alter = c.alter;
        const Pitch p = NotePitch(e, *KeyFromLabel(QString::fromLatin1(c.key)));
        const std::string what = std::string("1=") + c.key + " degree " + std::to_string(c.degree);
        EXPECT_EQ(p.midi, c.midi) << what;
        EXPECT_EQ(StepName(p.step), QString::fromLatin1(c.step)) << what;
        EXPECT_EQ(p.alter, c.stepAlter) << what;
        EXPECT_EQ(p.octave, c.stepOctave) << what;
    }
}

TEST(ScoreHeader, OutOfRangeValuesFallBackAndSaySo) {
    ScoreHeader h;
    EXPECT_TRUE(Resolve(h).problems.isEmpty());
    EXPECT_EQ(Resolve(h).microsecondsPerQuarter(), 833333);
    h.key = QStringLiteral("X");
    h.beatsPerBar = 0;
    h.beatUnit = 3;
    h.tempo = -5;
    const ResolvedHeader r = Resolve(h);
    EXPECT_EQ(r.problems.size(), 4);
    EXPECT_EQ(r.key.fifths, 0);
    EXPECT_EQ(r.beatsPerBar, 4);
    EXPECT_EQ(r.beatUnit, 4);
    EXPECT_EQ(r.tempo, 72);
    // The tempo counts beats of the beat unit: 6/8 at 120 is 60 quarters a minute.
    ScoreHeader eighths;
    eighths.beatsPerBar = 6;
    eighths.beatUnit = 8;
    eighths.tempo = 120;
    EXPECT_EQ(Resolve(eighths).microsecondsPerQuarter(), 1000000);
}
