// The chord path of StampSymbol: in chord input the codes 0..99 name chord
// roots. A chord is printed as text under the note line at the bar line left of
// the caret, with the modifiers of the held keypad keys, and the caret then
// jumps past the next bar line, so one chord per bar walks through the line.
#include <QRect>

#include "Editor.h"

namespace qn {

namespace {

constexpr QRgb kWhite = 0xFFFFFFu;
constexpr int kChordRow = 26;     // the chord hangs from this row of the line down
constexpr int kChordPixels = 24;  // 18 pt
constexpr int kSmallPixels = 12;  // 9 pt, the modifiers after the root

// The canvas prints a number with a blank before and after it.
QString NumberText(int n) { return QStringLiteral(" %1 ").arg(n); }

QFont Sized(const QFont& face, int pixels, bool bold) {
    QFont f(face);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

}  // namespace

bool Editor::IsBarLineColumn(int x, int lineTop) const {
    // Bar-line glyphs are ink on rows 4..32; notes never reach both rows.
    return page.isInk(x, lineTop + 5) && page.isInk(x, lineTop + 32);
}

// Prints at the text cursor and moves the cursor past the text.
void Editor::PrintChordText(TextStamps& font, int& cursorX, int top, const QString& text,
                            QRgb colour, const QRect& clip) {
    const TextStamps::Stamp& s = font.get(text);
    page.paintMask(s.mask, cursorX + s.left, top, colour, clip);
    cursorX += s.advance;
}

void Editor::ChordPath(Integer code) {
    if (!chordBig_ || !(chordFace_ == pageFont)) {
        chordFace_ = pageFont;
        chordBig_.emplace(Sized(pageFont, kChordPixels, true));
        chordSmall_.emplace(Sized(pageFont, kSmallPixels, false));
    }
    const int y = caretY();
    const int textTop = y + kChordRow;

    // The anchor: the bar line nearest left of the caret, or the caret itself while G is held.
    int p = 16;
    bool onBarLine = false;
    if (st.ChordAtCaret == 1) {
        p = RoundHalfEven(caret.Left - 3);
    } else {
        for (int x = caretX(); x >= geom::LeftMargin; --x) {
            if (IsBarLineColumn(x, y)) {
                p = x;
                onBarLine = true;
                break;
            }
        }
    }

    // Blot out a chord printed at this bar before. The blot must spare the bar
    // line it hangs from: the next chord typed into this bar looks for that
    // line on row 32, which the blot reaches.
    const QRect spareBarLine = onBarLine ? QRect(p + 1, 0, page.width(), page.height()) : QRect();
    int cx = p - 2;
    PrintChordText(*chordBig_, cx, textTop, QStringLiteral("■"), kWhite, spareBarLine);

    if (code != 35) {  // the rest's key only erases
        const QRgb colour = view_.Label5ForeColor();
        const auto& held = st.KeypadHeld;
        int cy = textTop;
        cx = p - 8;
        PrintChordText(*chordBig_, cx, cy, NumberText(code % 7 + 1), colour);
        for (auto [slot, sign] : {std::pair{5, u'+'}, std::pair{6, u'-'}}) {
            if (held[size_t(slot)] != 1) continue;
            cx -= 11;
            PrintChordText(*chordBig_, cx, cy, QString(QChar(sign)), colour);
        }

        // The further modifiers are small and set lower.
        cx -= 11;
        cy += 11;
        for (int key : {7, 9, 4}) {
            if (held[size_t(key)] != 1) continue;
            cx -= 5;
            PrintChordText(*chordSmall_, cx, cy, NumberText(key), colour);
        }
        if (held[9] == 1 || held[8] == 1) {
            const int r = code % 7;
            const bool minor = r == 0 || r == 3 || r == 4;  // roots 1, 4 and 5
            PrintChordText(*chordSmall_, cx, cy, minor ? QStringLiteral("MIN") : QStringLiteral("MAX"),
                           colour);
        }
    }

    // On to the next bar: the grid point after the next bar line's cell.
    const int x0 = caretX(), W0 = page.width();
    for (int x = x0; x <= W0; ++x) {
        if (!IsBarLineColumn(x, y)) continue;
        const int next = (x - geom::LeftMargin) / 6 * 6 + 26;
        caret.Left = Single(next);
        if (page.width() - 55 < next) {
            caret.Left = 26;
            caret.Top = caret.Top + linePitch();
        }
        break;
    }
}

}  // namespace qn
