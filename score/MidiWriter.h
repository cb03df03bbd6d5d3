#pragma once
// Standard MIDI file of a performance: format 1, 480 ticks per quarter.
//   track 0: title, time signature, key signature and tempo meta events;
//   track 1: the notes, melody on channel 1 (piano), percussion on channel 10.

#include <QByteArray>
#include <QString>

#include "Performance.h"

namespace qn::score {

QByteArray MidiFile(const Performance& performance);

// Writes MidiFile(performance) to path; empty on success, else the reason.
QString SaveMidi(const Performance& performance, const QString& path);

}  // namespace qn::score
