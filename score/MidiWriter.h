#pragma once
// Standard MIDI file of a performance: format 1, 480 ticks per quarter.
//   track 0: the first song's title as the track name, then at each song's
//     start its key signature, tempo and tempo word (a text event), and a
//     marker with its title for every further song; time signatures where
//     they change (a pickup bar has its own, so later bar lines fall right);
//   track 1: the notes, melody on channel 1 (piano), percussion on channel 10,
//     each sung syllable as a lyric event right before its note-on.
// Tied notes are one note. Every text is UTF-8: MuseScore 3 shows a Chinese
// title and lyrics written so, and shows GBK bytes as mojibake.

#include <QByteArray>
#include <QString>

#include "Performance.h"

namespace qn::score {

QByteArray MidiFile(const Performance& performance);

// Writes MidiFile(performance) to path; empty on success, else the reason.
QString SaveMidi(const Performance& performance, const QString& path);

}  // namespace qn::score
