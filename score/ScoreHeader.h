#pragma once
// The head of a score as the window shows it (title, key, time signature,
// tempo), and the pitch of a read note in that key.

#include <QString>
#include <QStringList>
#include <optional>

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
};

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
    QStringList problems;  // empty when the header was used as it came

    // Quarter notes per minute (the tempo counts beats of beatUnit).
    double quarterTempo() const { return tempo * 4.0 / beatUnit; }
    int microsecondsPerQuarter() const;
};
ResolvedHeader Resolve(const ScoreHeader& header);

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
