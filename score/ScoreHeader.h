#pragma once
// The head of a score as the window shows it (title, key, time signature,
// tempo), and the pitch of a read note in that key.

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "ScoreModel.h"

namespace qn::score {

constexpr int kDefaultTempo = 72;

// What the window supplies, as its labels show it.
struct ScoreHeader {
    QString title;               // the title label
    QString key = QStringLiteral("C");  // the key label: "C", "bD", "D", ... "bB", "B"
    int beatsPerBar = 4;         // time-signature numerator
    int beatUnit = 4;            // time-signature denominator (the note value of one beat)
    int tempo = kDefaultTempo;   // beats (of beatUnit) per minute; see TempoFromLabel
    // The tempo label as shown; when set it decides the tempo (TempoOfLabel)
    // and its words are written with it.
    QString tempoLabel;
};

// The placeholder the title label shows until the user gives a title.
QString PlaceholderTitle();

// A tempo label read as a tempo: "每分钟96拍" is 96 beats a minute with no
// words; a word of the program's tempo list ("speed.txt") is the tempo of
// this table, with the word kept for the writers:
//   广板 Largo 50        慢板 Lento 56        柔板 Adagio 66       稍慢 66
//   行板 Andante 76      小行板 Andantino 84  中板 Moderato 96     中速 96
//   稍快 104             小快板 Allegretto 108 快板 Allegro 132     急板 Presto 176
//   自由地 (ad libitum) 72
// Anything else, and a number outside 1..999, is 72 with a problem saying so.
struct TempoMark {
    int bpm = kDefaultTempo;
    QString words;    // the tempo word, empty for "每分钟N拍"
    QString problem;  // empty when the label was understood
};
TempoMark TempoOfLabel(const QString& text);

// The tempo of a tempo label: the first run of decimal digits ("每分钟96拍"
// gives 96). A label without digits (a tempo word) or with a number outside
// 1..999 gives 72.
int TempoFromLabel(const QString& text);

// A major key as the key label names it.
struct KeySignature {
    int tonic = 0;   // semitones of the tonic above C, 0..11
    int letter = 0;  // letter of the tonic: 0 C, 1 D, 2 E, 3 F, 4 G, 5 A, 6 B
    int fifths = 0;  // sharps (positive) or flats (negative) of the key signature
};
// One of the twelve key-label texts ("C", "bD", "D", "bE", "E", "F", "bG",
// "G", "bA", "A", "bB", "B"); anything else gives nothing.
std::optional<KeySignature> KeyFromLabel(const QString& text);

// The header the writers use: every value that is out of range replaced by
// its default (key C, 4/4, tempo 72), and a sentence for each replacement.
struct ResolvedHeader {
    QString title;
    KeySignature key;
    int beatsPerBar = 4;
    int beatUnit = 4;
    int tempo = kDefaultTempo;
    QString tempoWords;    // a tempo word of the label, written beside the metronome mark
    QStringList problems;  // empty when the header was used as it came

    // Quarter notes per minute (the tempo counts beats of beatUnit).
    double quarterTempo() const { return tempo * 4.0 / beatUnit; }
    int microsecondsPerQuarter() const;
};
// The placeholder title gives no title.
ResolvedHeader Resolve(const ScoreHeader& header);

// A song's head as a header (the page's own for a song without a printed head).
ScoreHeader HeaderOf(const SongHead& head);

// Every song of a score with its resolved header; its problems name the song.
struct ResolvedSong {
    int first = 0, end = 0;  // measures [first, end)
    ResolvedHeader header;
    bool pickup = false;     // the first measure is shorter than a bar (and more follow)
    int barLength() const { return header.beatsPerBar * 32 / header.beatUnit; }
};
std::vector<ResolvedSong> ResolveSongs(const Score& score, const ScoreHeader& page);

// A note spelled in its key: the degree's letter, raised or lowered.
struct Pitch {
    int midi = 60;   // MIDI note number
    int step = 0;    // letter 0 C .. 6 B
    int alter = 0;   // -2..2 semitones on the letter
    int octave = 4;  // scientific octave of the letter (C4 = middle C)
};
// Degree 1 with no dots is the tonic in the octave from middle C up
// (1=C: C4, 1=G: G4, 1=B: B4); each dot moves an octave; Event::alter moves
// the scale pitch by a semitone.
Pitch NotePitch(const Event& note, const KeySignature& key);

// Letter names for writers: "C" .. "B".
QString StepName(int step);

}  // namespace qn::score
