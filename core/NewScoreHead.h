#pragma once
// The head of a further song, printed into the page by the new-score dialog:
// where each text goes and in which size, the printing itself, and the staff
// key that matches the printed key. Headless.

#include <QFont>
#include <QString>
#include <QStringList>
#include <vector>

#include "EditorState.h"
#include "Page.h"

namespace qn {

// What the dialog's labels hold, and the widths the title and credits labels
// take on screen (the title is centred and the credits end by their width).
struct NewScoreHead {
    QString title, key, numerator, denominator, tempo, credits;
    int titleWidth = 0, creditsWidth = 0;
};

// One printed text: its character cell's top-left corner and its size.
struct HeadText {
    QString text;
    int x = 0, y = 0;
    int pixelSize = 0;
    bool operator==(const HeadText& o) const {
        return text == o.text && x == o.x && y == o.y && pixelSize == o.pixelSize;
    }
};

inline constexpr int kHeadTitlePixels = 21;  // 15.75 pt, the size of the page title
inline constexpr int kHeadPixels = 14;       // 10.5 pt, the header labels' size

// The head around the caret's line: the title 20 pixels below the caret's top,
// the key line one line spacing below it.
std::vector<HeadText> LayOutNewScoreHead(const NewScoreHead& head, int pageWidth, int caretTop,
                                         int lineSpacing);

// Prints the texts in black, not bold, in the canvas's font face.
void PrintNewScoreHead(Page& page, const QFont& face, const std::vector<HeadText>& texts);

// The staff key entry for a key text: the first of the first seven entries
// that holds the key's last character ("bE" finds "E or bE ..."), compared
// case-sensitively; -1 when none does.
int StaffKeyForKey(const QString& keyText, const QStringList& staffKeys);

}  // namespace qn
