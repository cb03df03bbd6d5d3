#pragma once
// A MusicXML part as jianpu: the score the page must hold after the import,
// in the score model the page reader produces, so the read-back proof compares
// like with like.
//
//   - Movable do: 1 is the tonic of the key signature; a minor key counts from
//     its relative major (A minor is 1=C, its tonic 6). The un-dotted octave is
//     the one that needs the fewest octave dots over the whole song (ties go to
//     the octave from middle C); a note beyond two dots refuses the import.
//   - A note of the scale is its degree, whatever the file's letters. One
//     between two degrees keeps the file's letter when that is one sign off
//     the key (D flat in F is b6), except that a lowered 5 is a raised 4;
//     anything else (double signs, E sharp for F) is respelled by sound:
//     #1, b3, #4, #5, b7.
//     Signs are written only where the key and the signs before in the bar do
//     not already give the pitch.
//   - Durations count thirty-second notes. A quarter or longer whole beat count
//     is one note with dashes, shorter values are beamed, dotted values keep
//     their dots; what one note cannot show is tied notes (a tie arc). Rests
//     longer than a quarter are several rests. Tuplets and values finer than a
//     thirty-second are rounded so that every note keeps its place in the bar
//     and the bar stays full; their bars are reported.
//   - The first voice only; of a chord its top note. Grace notes become the
//     grace-note group before their note (degrees only, at most five).

#include <QString>
#include <QStringList>
#include <vector>

#include "MusicXmlReader.h"
#include "ScoreModel.h"

namespace qn::import {

// Where the held keypad keys of the chord path come from: the modifiers to
// hold while the chord's root is typed.
struct ChordKeys {
    bool plus = false, minus = false, seventh = false, ninth = false, fourth = false, quality = false;
};

struct MappedSong {
    score::Score score;           // measures, songs (each with its head), arcs, grace notes
    std::vector<QString> barNumbers;  // the file's measure number of each measure
    std::vector<std::vector<ChordKeys>> chordKeys;  // per measure, per harmony
    QString title, composer;
    QString partName;
    QStringList notes;  // what could not be written exactly, with bar numbers
    QString error;      // the import is refused
};

// `part`: 1-based; 0 takes the first part with notes.
MappedSong MapPart(const XmlScore& xml, int part = 0);

// The key label ("C", "bD", ... "B") of a key signature in fifths.
QString KeyLabelOfFifths(int fifths);

// The glyphs one event takes, for the layout: its beams, dots and dashes.
struct EventShape {
    int beams = 0, dots = 0, dashes = 0;
};
// True when a single event of this many thirty-second notes can be written.
bool SingleShape(int duration, EventShape& shape);

}  // namespace qn::import
