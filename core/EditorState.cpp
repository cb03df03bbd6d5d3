#include "EditorState.h"

#include <cmath>
#include <utility>

namespace qn {

void SwapInt(Integer& a, Integer& b) { std::swap(a, b); }

void ReplaceText(QString& text, const QString& search, const QString& replacement) {
    if (search.isEmpty() || search == replacement) return;
    QString out;
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = text.indexOf(search, from);
        if (at < 0) break;
        out += QStringView(text).mid(from, at - from);
        out += replacement;
        from = at + search.size();
    }
    out += QStringView(text).mid(from);
    text = out;
}

int RoundHalfEven(double v) { return static_cast<int>(std::nearbyint(v)); }

}  // namespace qn
