#pragma once
// Lyrics: a line typed into the lyrics box becomes pixels of the page.

#include <QFont>
#include <QRect>
#include <QString>

#include "Page.h"

namespace qn {

// The text the lyrics box opens with, selected whole so the first key replaces
// it; 28 characters.
QString LyricsPrompt();

// Prints `text` into the page with the top-left of its line at (left, top), in
// `font` made not bold, pure black and not smoothed; text beyond the page is
// cut at its edge. Prints nothing when the text is empty or still the untouched
// prompt. Returns the page area that may have changed (empty when nothing was printed).
QRect PrintLyrics(Page& page, const QString& text, int left, int top, QFont font);

}  // namespace qn
