#pragma once
// The score as it sounds: repeats played out, tied notes joined, every note
// with a MIDI key, a start and a length in ticks. The MIDI writer and the
// synthesizer both play this.

#include <QString>
#include <cstdint>
#include <vector>

#include "ScoreHeader.h"
#include "ScoreModel.h"

namespace qn::score {

constexpr int kTicksPerQuarter = 480;
constexpr int kMelodyChannel = 0;
constexpr int kPercussionChannel = 9;  // General MIDI channel 10

// The General MIDI percussion key of a syllable: 冬 low floor tom, X hand
// clap, 仓 Chinese cymbal, 次 splash cymbal, 板 high wood block.
int PercussionKey(int syllable);

struct PlayedNote {
    std::int64_t tick = 0;    // start
    std::int64_t length = 0;  // ticks, tied continuations included
    int key = 60;             // MIDI note number
    int channel = kMelodyChannel;
    int velocity = 80;
    int measure = 0;          // index into Score::measures of the event that starts it
    int event = 0;            // index into that measure's events
    PagePosition position;    // where that event stands on the page
    QString lyric;            // the syllable sung on it (verse n on the n-th pass of a repeat)
};

// Where a song begins in the performance, with its head.
struct SongStart {
    std::int64_t tick = 0;
    int microsecondsPerQuarter = 833333;
    int keyFifths = 0;
    QString title;
    QString tempoWords;
};

// A time signature from `tick` on; a pickup bar has one of its own length
// (a quarter before 4/4 is 1/4), so the bar lines after it fall on the grid.
struct TimeSignature {
    std::int64_t tick = 0;
    int beats = 4;
    int unit = 4;
};

struct Performance {
    int ticksPerQuarter = kTicksPerQuarter;
    // The first song's; songs and metres hold every change.
    int microsecondsPerQuarter = 833333;
    int beatsPerBar = 4;
    int beatUnit = 4;
    int keyFifths = 0;
    QString title;
    std::vector<SongStart> songs;        // by tick, the first at 0
    std::vector<TimeSignature> metres;   // by tick, the first at 0
    std::vector<PlayedNote> notes;  // by start tick
    std::int64_t lengthTicks = 0;   // end of the last measure played, rests included

    // Seconds from the start to `tick`, through each song's tempo.
    double secondsAt(std::int64_t tick) const;
};

// Measure indices in playing order: a repeat-end sign goes back once to the
// nearest repeat-start sign before it (or to the measure after the previous
// repeat end, or to the start), then the music goes on. Starts at `from`;
// a repeat end after it goes back to its repeat start even if that lies
// before `from`.
std::vector<int> PlayOrder(const Score& score, int from = 0);

// The index of the first measure whose line is `line` or later (for playing
// from the caret's line); the measure count when there is none.
int FirstMeasureFromLine(const Score& score, int line);

// Plays the score from measure `from`: the first song in the header's key
// and tempo, every further song in its own head's. A song begins on a bar
// line: the last bar of the song before is filled with rest.
Performance Perform(const Score& score, const ScoreHeader& header, int from = 0);

}  // namespace qn::score
