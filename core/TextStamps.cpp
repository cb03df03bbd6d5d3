#include "TextStamps.h"

#include <QFontMetrics>
#include <QPainter>

namespace qn {

TextStamps::TextStamps(const QFont& font) : font_(font) {
    font_.setStyleStrategy(QFont::NoAntialias);  // as Page::drawText prints
}

const TextStamps::Stamp& TextStamps::get(const QString& text) {
    auto it = cache_.find(text);
    if (it != cache_.end()) return *it;
    const QFontMetrics metrics(font_);
    Stamp s;
    s.advance = metrics.horizontalAdvance(text);
    // Room on both sides for glyphs that reach past their advance.
    const int pad = metrics.height();
    s.left = -pad;
    QImage canvas(s.advance + 2 * pad, metrics.height(), QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    {
        QPainter p(&canvas);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        p.setFont(font_);
        p.setPen(Qt::black);
        p.drawText(pad, metrics.ascent(), text);
    }
    s.mask = canvas.convertToFormat(QImage::Format_Alpha8);
    return *cache_.insert(text, s);
}

}  // namespace qn
