#pragma once
// The recognisers beside the glyph index: what the program prints into the
// page besides atlas cells. Private to the reader; PageReader.h tells what
// each one reads.

#include <vector>

#include "PageReader.h"
#include "TextGlyphs.h"

namespace qn::score::detail {

// The atlas cells of the bands, with claimed ink as ground.
PageReading ReadSymbols(const InkView& ink, int linePitch);

// Heads printed by the new-score dialog; their ink is claimed.
std::vector<HeadReading> ReadHeads(InkView& ink, int linePitch, std::vector<Skip>& skipped);

// Arcs between the notes read; ties set the events' tie flags.
void ReadArcs(InkView& ink, int linePitch, Score& score);

// Chord symbols, into the measures (and events, when placed with G).
void ReadChords(InkView& ink, int linePitch, Score& score);

// Lyric lines under each line of notes, into the events' lyrics.
void ReadLyrics(InkView& ink, int linePitch, Score& score);

}  // namespace qn::score::detail
