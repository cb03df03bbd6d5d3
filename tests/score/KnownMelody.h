#pragma once
// One melody the export tests share, typed through the key handler in 3/4:
// a repeat, a sharp, a dotted quarter, an eighth, a note held over a bar line
// by a dash, a lower octave, a rest, a percussion syllable and a final bar.

#include "PageReader.h"
#include "ScoreHeader.h"
#include "Typing.h"

namespace qn::test {

inline const char* kKnownMelodyScript = "[ 1 2 3 ] # 4 . /1 3 /0 2 5 - - - T r Z \\";
inline const char* kKnownMelodyText = "|: 1:8 2:8 3:8 :| #4:12 3:4 2:8 | 5:24 | ~5:8 5,:8 0:8 | 冬:8 |]";

inline score::Score knownMelody() {
    TestWindow w;
    w.ed.st.BeatsPerBar = 3;
    typeScript(w, QString::fromUtf8(kKnownMelodyScript));
    return score::ReadPage(w.ed.page, w.pitch);
}

inline score::ScoreHeader knownHeader() {
    score::ScoreHeader h;
    h.title = QStringLiteral("小星星");
    h.key = QStringLiteral("G");
    h.beatsPerBar = 3;
    h.beatUnit = 4;
    h.tempo = score::TempoFromLabel(QStringLiteral("每分钟96拍"));
    return h;
}

}  // namespace qn::test
