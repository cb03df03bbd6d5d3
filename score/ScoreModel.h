#pragma once
// The score read back from the page: measures of notes, rests and percussion
// syllables with their durations, bar lines and repeat signs. Nothing here
// knows about pixels; PageReader.h fills it, Performance.h, MidiWriter.h and
// MusicXmlWriter.h consume it.
//
// Durations count thirty-second notes, the finest value the editor writes: a
// quarter note (a plain digit) is 8, each beam line halves it, each dash adds
// a quarter, each dot adds half of what the note value or the previous dot added.

#include <QString>
#include <vector>

namespace qn::score {

constexpr int kQuarter = 8;  // thirty-second notes in a quarter

enum class EventKind { Note, Rest, Percussion };

// What stands before a note on the page.
enum class Accidental { None, Sharp, Flat, Natural };

// Where a read glyph stands on the page (for a playback marker).
struct PagePosition {
    int line = 0;   // line band index: top = 96 + line * pitch
    int top = 0;    // page y of the band
    int x = 0;      // page x of the cell's left edge
    int width = 0;  // 12 or 6
};

struct Event {
    EventKind kind = EventKind::Note;
    int degree = 0;                          // Note: scale degree 1..7
    int octave = 0;                          // Note: -2..2, dots below negative, above positive
    Accidental accidental = Accidental::None;  // Note: the sign written right before it
    // Note: semitones off the key's scale in force for this note, -1, 0 or +1.
    // A sign holds for the same degree and octave up to the end of the measure;
    // a natural sign brings the scale pitch back.
    int alter = 0;
    int syllable = 0;  // Percussion: 0 冬, 1 X, 2 仓, 3 次, 4 板
    int beams = 0;     // beam lines under the glyph, 0..3
    int dots = 0;      // augmentation dots read after it
    int dashes = 0;    // dashes read after it in the same measure
    int duration = 0;  // thirty-second notes, dots and dashes included
    // A dash right after a bar line continues the previous event into the new
    // measure: the continuation is its own event, tied to the one before
    // (rests are continued but never tied).
    bool tiedFromPrevious = false;
    bool tiedToNext = false;
    PagePosition position;  // the digit, syllable or (for a continuation) the dash
};

enum class BarEnd { Open, Single, Double, Final };

struct Measure {
    std::vector<Event> events;
    bool repeatStart = false;  // a repeat-start sign stands before it
    bool repeatEnd = false;    // a repeat-end sign closes it
    BarEnd end = BarEnd::Open;  // Open: the page ends without a bar line
    int line = 0;              // line band of its first event
};

// Something on the page the reader found but could not place; it is left out
// of the score rather than guessed at.
struct Skip {
    int line = 0;
    int x = 0;          // page x where it starts
    QString reason;     // "unknown ink", "dot without a note", ...
};

struct Score {
    std::vector<Measure> measures;
    std::vector<Skip> skipped;
    int lines = 0;  // line bands read

    int eventCount() const;
    bool empty() const { return measures.empty(); }
};

// A compact text form for tests and diagnostics: measures separated by their
// bar lines, each event as [accidental]degree[octave marks]:duration.
//   "|: 1:8 #4':4 4':4 0:4 :| 5,:16 ~5,:8 冬:8 |]"
// Accidentals # b n; octave marks ' (above) and , (below); rests 0; percussion
// by syllable; "~" marks a tied continuation; bar lines | || |] |: :|.
QString ScoreText(const Score& score);

}  // namespace qn::score
