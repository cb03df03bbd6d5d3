#pragma once
// The hand-drawn pixel fonts and signs. Sizes are fixed by the cells they fill.

#include "Canvas.h"

namespace assetgen {

// Note digits 0..9, 8 x 14: the face read all day, 2-pixel strokes.
const Glyph& Digit(int d);
// Percussion syllables 冬 X 仓 次 板 (index 0..4), 16 rows high.
const Glyph& Syllable(int i);
// Small digits 0..9, 5 x 9, 1-pixel strokes, for grace notes.
const Glyph& SmallDigit(int d);
// The question mark of the built-in caret, 8 x 14.
const Glyph& QuestionMark();

// Signs of the ornament atlas, each exactly the size of its box.
const Glyph& NaturalFull();   // 4 x 16
const Glyph& SharpFull();     // 5 x 12
const Glyph& FlatFull();      // 4 x 14
const Glyph& ParenFull();     // 5 x 14, "("
const Glyph& NaturalHalf();   // 3 x 16
const Glyph& SharpHalf();     // 5 x 12
const Glyph& FlatHalf();      // 3 x 14
const Glyph& ParenHalf();     // 5 x 14, "("

}  // namespace assetgen
