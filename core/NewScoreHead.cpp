#include "NewScoreHead.h"

#include <algorithm>

namespace qn {

std::vector<HeadText> LayOutNewScoreHead(const NewScoreHead& h, int pageWidth, int caretTop,
                                         int lineSpacing) {
    const int T = caretTop, S = lineSpacing;
    const int titleX = RoundHalfEven((pageWidth - h.titleWidth) / 2.0);
    return {
        {h.title, titleX, T + 20, kHeadTitlePixels},
        {QStringLiteral("1=") + h.key, 16, T + S, kHeadPixels},
        {QStringLiteral("─"), 48, T + S + 1, kHeadPixels},  // the fraction bar
        {h.numerator, 52, T + S - 7, kHeadPixels},
        {h.denominator, 52, T + S + 7, kHeadPixels},
        {h.tempo, 96, T + S, kHeadPixels},
        // The credits end 40 pixels from the right edge.
        {h.credits, pageWidth - 40 - h.creditsWidth, T + S, kHeadPixels},
    };
}

void PrintNewScoreHead(Page& page, const QFont& face, const std::vector<HeadText>& texts) {
    for (const HeadText& t : texts) {
        QFont f(face);
        f.setPixelSize(t.pixelSize);
        f.setBold(false);
        page.drawText(t.x, t.y, t.text, f, 0x000000);
    }
}

int StaffKeyForKey(const QString& keyText, const QStringList& staffKeys) {
    if (keyText.isEmpty()) return -1;
    const QChar letter = keyText.back();
    const int n = std::min<int>(7, int(staffKeys.size()));
    for (int i = 0; i < n; ++i)
        if (staffKeys[i].contains(letter, Qt::CaseSensitive)) return i;
    return -1;
}

}  // namespace qn
