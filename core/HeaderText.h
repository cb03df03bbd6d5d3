#pragma once
// The texts of the score header that follow rules rather than the user's typing:
// the page number shown in its style, the tempo caption of the slider, and the
// numbers read back from what the user typed. Headless.

#include <QString>
#include <QStringList>

#include "EditorState.h"

namespace qn {

// The page-number style with every lowercase "p" replaced by the number.
QString PageNumberText(const QString& style, Integer pageNumber);

// A typed page number: its leading decimal number rounded to an integer
// ("12abc" 12, "abc" and "" 0), clamped to -32768..32767.
Integer ParsePageNumber(const QString& answer);

// The tempo slider's caption for a value: "每分钟96拍".
QString TempoCaption(int value);

// The slider value a tempo caption stands for: the number from its fourth
// character on, rounded; 0 when there is none (a tempo word).
int TempoSliderValue(const QString& tempoText);

// The items of the header's lists, in list order: a document stores the index.
const QStringList& NumeratorList();    // "2".."6"
const QStringList& DenominatorList();  // "4", "8"
const QStringList& KeyList();          // "C", "bD", ... "B"

// The default answers of the header's input boxes.
QString TitleAnswer(const QString& answer);    // empty: "标题"
QString CreditsAnswer(const QString& answer);  // empty: "编曲"

}  // namespace qn
