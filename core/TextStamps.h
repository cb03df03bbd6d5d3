#pragma once
// Text as the canvas prints it, rendered once per text and font and then
// copied into the page in any colour. Chord symbols print the same few short
// texts over and over; shaping and rasterising them each time would cost more
// than the rest of a chord together.

#include <QFont>
#include <QHash>
#include <QImage>
#include <QString>

namespace qn {

class TextStamps {
public:
    struct Stamp {
        QImage mask;  // Format_Alpha8: non-zero where the text has ink
        int left = 0;     // the mask's x relative to the text cursor
        int advance = 0;  // where the cursor stands after the text, relative to before
    };

    // font must not change after the first call; one TextStamps per font.
    explicit TextStamps(const QFont& font);

    const Stamp& get(const QString& text);
    const QFont& font() const { return font_; }

private:
    QFont font_;
    QHash<QString, Stamp> cache_;
};

}  // namespace qn
