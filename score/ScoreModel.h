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
#include <optional>
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

// Where a syllable stands in its word: a syllable between hyphens is a
// middle, one followed by a hyphen a begin, one after a hyphen an end.
enum class Syllabic { Single, Begin, Middle, End };

// One syllable of one verse under a note (verse 1 is the top lyric line under
// the note line, verse 2 the next, ...).
struct Lyric {
    int verse = 1;
    QString text;
    Syllabic syllabic = Syllabic::Single;
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
    std::vector<Lyric> lyrics;  // by verse
};

// An event by its place in the score.
struct EventRef {
    int measure = -1;
    int event = -1;
    bool valid() const { return measure >= 0 && event >= 0; }
    bool operator==(const EventRef& o) const { return measure == o.measure && event == o.event; }
    bool operator<(const EventRef& o) const {
        return measure != o.measure ? measure < o.measure : event < o.event;
    }
};

// A chord symbol as the chord path prints it: a scale degree of the song's key
// and the modifiers of the held keypad keys.
struct Harmony {
    int degree = 1;          // 1..7
    bool plus = false;       // "+"
    bool minus = false;      // "-"
    bool seventh = false;    // small 7
    bool ninth = false;      // small 9
    bool fourth = false;     // small 4
    enum class Quality { Diatonic, Min, Max } quality = Quality::Diatonic;  // "MIN" / "MAX"
    int event = -1;          // the event it stands under (placed with G); -1: the bar's start
    PagePosition position;   // the anchor on the page (line, x)
    bool operator==(const Harmony& o) const {
        return degree == o.degree && plus == o.plus && minus == o.minus && seventh == o.seventh &&
               ninth == o.ninth && fourth == o.fourth && quality == o.quality && event == o.event;
    }
};

enum class BarEnd { Open, Single, Double, Final };

struct Measure {
    std::vector<Event> events;
    bool repeatStart = false;  // a repeat-start sign stands before it
    bool repeatEnd = false;    // a repeat-end sign closes it
    BarEnd end = BarEnd::Open;  // Open: the page ends without a bar line
    int line = 0;              // line band of its first event
    std::vector<Harmony> harmonies;  // left to right
};

// An arc drawn with L between two events; over two neighbouring notes of the
// same pitch it is a tie (the events' tie flags are set too), else a slur.
struct Arc {
    EventRef from, to;
    bool tie = false;
};

// The head of a song: the page's header labels for the first song, the head
// printed by the new-score dialog for every further one. Texts as printed.
struct SongHead {
    QString title;
    QString key = QStringLiteral("C");  // a key label: "C", "bD", ... "B"
    int beatsPerBar = 4;
    int beatUnit = 4;
    QString tempo = QStringLiteral("每分钟72拍");  // a tempo label: "每分钟96拍" or a tempo word
};

// Marks from the overlays: a phrase (dynamics, hairpin words, tempo words) or
// a grace-note group, attached to the nearest event.
struct Direction {
    enum class Kind { Words, Dynamics, Crescendo, Diminuendo, Grace } kind = Kind::Words;
    QString text;        // the phrase as shown; Grace: the digits
    EventRef at;
};

// Songs follow each other on the page; each starts at a measure and has its
// own head. A first measure shorter than the song's bar is a pickup.
struct Song {
    int firstMeasure = 0;
    std::optional<SongHead> head;  // empty: the page's header labels
    int headLine = -1;             // line band of the printed head's key line
    bool pickup = false;           // set by the writers' Resolve from the metre
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
    std::vector<Song> songs;  // at least one when measures exist; in measure order
    std::vector<Arc> arcs;
    std::vector<Direction> directions;
    std::vector<Skip> skipped;
    int lines = 0;  // line bands read

    int eventCount() const;
    bool empty() const { return measures.empty(); }
    const Event* event(EventRef r) const;
    Event* event(EventRef r);
    // The song a measure belongs to (0 when there are no songs).
    int songOf(int measure) const;
    // Measures [first, end) of song i.
    int songEnd(int song) const;
};

// A compact text form for tests and diagnostics: measures separated by their
// bar lines, each event as [accidental]degree[octave marks]:duration.
//   "|: 1:8 #4':4 4':4 0:4 :| 5,:16 ~5,:8 冬:8 |]"
// Accidentals # b n; octave marks ' (above) and , (below); rests 0; percussion
// by syllable; "~" marks a tied continuation; bar lines | || |] |: :|.
QString ScoreText(const Score& score);

// "5+7MIN": degree, then the modifiers in printing order.
QString HarmonyText(const Harmony& h);

// The marks beside the notes, for tests: further songs' heads, chords
// ("chord@3 5-" at a bar, "chord@3.1 2" under an event), arcs ("tie 0.3-1.0",
// "slur 0.0-0.2"), each verse's words ("verse1 一 闪 twin-kle") and directions,
// separated by " | ".
QString MarksText(const Score& score);

}  // namespace qn::score
