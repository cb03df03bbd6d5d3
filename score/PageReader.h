#pragma once
// Reading the page back into a score.
//
// Every symbol on a line was copied pixel for pixel from an atlas cell, so the
// reader finds the cells again by exact comparison of ink (pure black) with
// every cell of both atlases (every glyph, every beam count, both widths). It
// compares only the rows a glyph needs:
//   - note, rest and percussion cells: rows 3..37 (octave dots above, the
//     body, the beam lines and the octave dots under the beams);
//   - everything else (bar lines, repeat signs, dashes, dots, accidentals,
//     brackets): rows 3..24, the rows an accidental is stamped with; below
//     them lie carried beam lines and chord text.
// Rows 0..2 (where a slur ends), rows 38..39 and the space between lines
// (lyrics) are never read. Pixels of other colours count as ground.
//
// Ink on rows 3..24 that no atlas cell explains, and symbols that have no
// place in the music (a dot with no note before it, a sign before a bar
// line, ...) are skipped and listed in Score::skipped; nothing is guessed.

#include <QImage>
#include <QRect>
#include <vector>

#include "Page.h"
#include "ScoreModel.h"

namespace qn::score {

// One atlas cell found on the page.
struct PageSymbol {
    PagePosition position;
    int code = 0;   // symbol code: 0..41 note atlas, 100..199 and 200..299 ornament atlas
    int beams = 0;  // note cells: the beam row of the atlas, 0..3
};

// A head printed by the new-score dialog: the song it starts begins with
// the symbols on line `line` (its key line) and after.
struct HeadReading {
    int line = 0;
    SongHead head;
};

// The raw reading: what stands where, before any music is made of it.
struct PageReading {
    std::vector<PageSymbol> symbols;  // line by line, left to right
    std::vector<Skip> unknownInk;     // one entry per run of unexplained columns
    std::vector<HeadReading> heads;   // by line
    int lines = 0;                    // line bands read
};

// Line bands have tops 96 + k * linePitch for k = 0, 1, ... while the top lies
// on the page. A line pitch below 1 reads nothing. `image` may be wider or
// taller than the page (the page's storage); only width x height is read.
PageReading ReadSymbols(const QImage& image, int width, int height, int linePitch);
PageReading ReadSymbols(const Page& page, int linePitch);

// Music from the symbols, in reading order across lines; every head starts
// a new song.
Score BuildScore(const PageReading& reading);

// The whole page: the heads of further songs first (their ink is then no
// symbol), the atlas cells and their music, then the marks around the notes:
//   - arcs drawn with L (Image4 stretched between the centres of two note
//     cells, rows -9..1 of a line), ties when they join two neighbouring notes
//     of one pitch;
//   - chord symbols (any colour but black and white, from row 26 of a line),
//     matched against the chord path's own texts;
//   - lyrics below a line (black, from row 38 to the next line), matched
//     character by character against the lyrics font; each lyric line is a
//     verse, each syllable goes to the note whose cell holds its centre.
// What none of them explains is listed in Score::skipped.
Score ReadPage(const Page& page, int linePitch);
Score ReadPage(const QImage& image, int linePitch);
Score ReadPage(const QImage& image, int width, int height, int linePitch);

// What the page shows beside its atlas cells, where the program printed it,
// for drawing the page again at any size.
struct TextMark {
    QString text;      // one character, or one text of the chord path (" 5 ", "+", "MIN")
    int x = 0;         // the text cursor where the program began it
    int top = 0;       // the text's top (its baseline lies one ascent lower)
    int pixelSize = 14;  // of the program's Song face
    bool bold = false;
    QRgb colour = 0xFF000000u;
};
struct ArcMark {
    QRect source;  // in the arc picture
    QRect target;  // on the page, the picture stretched over it
};
struct PageDrawingRead {
    Score score;
    PageReading cells;            // the atlas cells, line by line
    std::vector<TextMark> texts;  // heads, chord symbols, lyrics
    std::vector<ArcMark> arcs;
    // The page's ink (black or coloured, unchanged) that no text or arc
    // recogniser explained; cells' ink is still in it (all ink when the line
    // pitch is below 1: nothing is read). Transparent elsewhere; page-sized,
    // Format_ARGB32.
    QImage unexplained;
};

// ReadPage, keeping where each recognised thing stands.
PageDrawingRead ReadPageForDrawing(const QImage& image, int width, int height, int linePitch);

// An overlay lying on the page (from the sidecar or the window): a phrase's
// text, or a picture's file name in the picture library.
struct OverlayMark {
    bool picture = false;
    QString text;  // the phrase, or the file name ("3.bmp", "装饰音2.bmp")
    QRect rect;    // on the page
};

// Directions from the overlays, each at the event nearest to it: dynamics
// ("强" f, "弱" p, "中强" mf, "中弱" mp, mf, p, ...), hairpins ("渐强", "渐弱"),
// other phrases as words; a grace-note group (the digits placed by O and
// their group picture) before the note at its caret. Pictures that are no
// grace notes are no music; overlays with no event on the page are skipped.
void AttachOverlays(Score& score, const std::vector<OverlayMark>& overlays, int linePitch);

}  // namespace qn::score
