#pragma once
// The L key: a first press marks the slur's start at the caret with the marker
// `Label8`; the next press draws the arc from the mark to the caret.

#include <QRect>

#include "Editor.h"

namespace qn {

// The slur start marker `Label8` (12 x 40 on the page): visible while a slur is started.
struct SlurMark {
    bool Visible = false;
    Single Left = 0;
    Single Top = 0;
};

enum class SlurStep {
    Marked,     // the marker now stands at the caret
    Unmarked,   // second press at the marked place: marker hidden, nothing drawn
    Drawn,      // marker hidden, arc painted into the page
};

// One press of L. `changed` gets the page area painted (empty unless Drawn).
SlurStep SlurKey(Editor& ed, SlurMark& Label8, QRect* changed = nullptr);

}  // namespace qn
