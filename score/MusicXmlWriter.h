#pragma once
// MusicXML 4.0 partwise of a read score, for other notation programs.
//
// One file per song: a MusicXML part runs alongside the other parts, so songs
// that follow each other cannot be parts of one score; as files each keeps
// its own title, key, metre and tempo in the places every program reads them.
// One part for the melody and, when the song has percussion syllables, one on
// channel 10 for them (no key signature); each part carries rests where the
// other one sounds. The melody's clef is treble, or bass when most notes lie
// below middle C. Chord symbols are harmony (the root a degree of the key),
// syllables lyrics by verse, arcs slurs or ties, beam lines beams by beat, a
// pickup bar an implicit measure 0, a tempo word words beside the metronome
// mark; phrase overlays are dynamics, hairpins (to the end of their bar) or words.
// Divisions are thirty-second notes (8 to the quarter). The first measure
// holds the key, the time signature, the clef and a metronome direction with
// its sound tempo; repeat signs are written as repeat bar lines (not played
// out), final and double bar lines as their bar styles, and a measure that
// starts a new page line starts a new system. A note that no single note
// value can show (a quarter with four dashes) is written as tied notes.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "ScoreHeader.h"
#include "ScoreModel.h"

namespace qn::score {

// Song `song` of the score (the page's header is the first song's head).
QByteArray MusicXml(const Score& score, const ScoreHeader& header, int song = 0);

// Where song i goes: the path itself for the first, "name-2.musicxml" beside
// it for the second, and so on.
QString SongFilePath(const QString& path, int song);

// Writes every song to its file (SongFilePath); empty on success, else the
// reason. `written` gets the paths written.
QString SaveMusicXml(const Score& score, const ScoreHeader& header, const QString& path,
                     QStringList* written = nullptr);

}  // namespace qn::score
