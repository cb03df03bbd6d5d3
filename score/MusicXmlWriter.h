#pragma once
// MusicXML 4.0 partwise of a read score, for other notation programs.
//
// One part for the melody and, when the page has percussion syllables, one on
// channel 10 for them; each part carries rests where the other one sounds.
// Divisions are thirty-second notes (8 to the quarter). The first measure
// holds the key, the time signature, the clef and a metronome direction with
// its sound tempo; repeat signs are written as repeat bar lines (not played
// out), final and double bar lines as their bar styles, and a measure that
// starts a new page line starts a new system. A note that no single note
// value can show (a quarter with four dashes) is written as tied notes.

#include <QByteArray>
#include <QString>

#include "ScoreHeader.h"
#include "ScoreModel.h"

namespace qn::score {

QByteArray MusicXml(const Score& score, const ScoreHeader& header);

// Writes MusicXml(score, header) to path; empty on success, else the reason.
QString SaveMusicXml(const Score& score, const ScoreHeader& header, const QString& path);

}  // namespace qn::score
