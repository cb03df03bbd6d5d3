#include "Lyrics.h"

namespace qn {

QString LyricsPrompt() { return QStringLiteral("在 这 里 输 入 歌 词. 并按[Enter] 回车键"); }

QRect PrintLyrics(Page& page, const QString& text, int left, int top, QFont font) {
    if (text.isEmpty() || text == LyricsPrompt()) return {};
    font.setBold(false);
    return page.drawText(left, top, text, font);
}

}  // namespace qn
