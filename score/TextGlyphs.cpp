#include "TextGlyphs.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>
#include <QStringDecoder>
#include <cmath>
#include <map>
#include <memory>
#include <mutex>

#include "PageReader.h"
#include "SongFont.h"

namespace qn::score::detail {

InkView::InkView(const QImage& image, int width, int height) : img_(&image) {
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32 &&
        image.format() != QImage::Format_ARGB32_Premultiplied) {
        converted_ = image.convertToFormat(QImage::Format_RGB32);
        img_ = &converted_;
    }
    w_ = std::max(0, std::min(width, img_->width()));
    h_ = std::max(0, std::min(height, img_->height()));
    words_ = (h_ + 63) / 64 + 1;  // one spare word: rows() reads the next one freely
    black_.assign(size_t(w_) * size_t(words_), 0);
    coloured_.assign(size_t(w_) * size_t(words_), 0);
    for (int y = 0; y < h_; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(img_->constScanLine(y));
        const std::uint64_t bit = std::uint64_t(1) << (y & 63);
        const size_t word = size_t(y >> 6);
        for (int x = 0; x < w_; ++x) {
            const QRgb c = row[x] & 0xFFFFFFu;
            if (c == 0xFFFFFFu) continue;
            (c == 0 ? black_ : coloured_)[size_t(x) * size_t(words_) + word] |= bit;
        }
    }
}

std::uint64_t InkView::rows(const std::vector<std::uint64_t>& bits, int x, int top, int n) const {
    if (x < 0 || x >= w_ || n <= 0) return 0;
    const std::uint64_t mask = n >= 64 ? ~std::uint64_t(0) : (std::uint64_t(1) << n) - 1;
    if (top < 0) {
        if (top + n <= 0) return 0;
        return (rows(bits, x, 0, n + top) << -top) & mask;
    }
    if (top >= h_) return 0;
    const std::uint64_t* col = &bits[size_t(x) * size_t(words_)];
    const int w = top >> 6, s = top & 63;
    std::uint64_t v = col[w] >> s;
    if (s && w + 1 < words_) v |= col[w + 1] << (64 - s);
    return v & mask;
}

namespace {

// Everything a user may type into the lyrics box or the dialog, in GB2312's
// order after ASCII: its symbol rows (full-width forms, punctuation, box
// drawing) and both levels of characters.
QString alphabet() {
    QString chars;
    for (char16_t c = 0x21; c <= 0x7E; ++c) chars += QChar(c);
    QStringDecoder gb("GB18030");
    if (!gb.isValid()) return chars;
    for (int hi = 0xA1; hi <= 0xF7; ++hi) {
        if (hi >= 0xAA && hi <= 0xAF) continue;  // unassigned rows
        for (int lo = 0xA1; lo <= 0xFE; ++lo) {
            const char bytes[2] = {char(hi), char(lo)};
            const QString c = gb.decode(QByteArrayView(bytes, 2));
            if (c.size() == 1 && c[0] != QChar(0xFFFD) && !c[0].isSpace()) chars += c;
        }
    }
    return chars;
}

}  // namespace

const TextGlyphs& TextGlyphs::forSongFont(int pixelSize, bool bold) {
    static std::mutex m;
    static std::map<std::pair<int, bool>, std::unique_ptr<TextGlyphs>> fonts;
    std::lock_guard<std::mutex> lock(m);
    auto& slot = fonts[{pixelSize, bold}];
    if (!slot) slot = std::make_unique<TextGlyphs>(SongFont(pixelSize, bold));
    return *slot;
}

TextGlyphs::TextGlyphs(const QFont& font) : font_(font) {
    font_.setStyleStrategy(QFont::NoAntialias);  // as Page::drawText prints
    const QFontMetrics fm(font_);
    const QFontMetricsF fmf(font_);
    height_ = std::min(32, fm.height());
    space_ = fm.horizontalAdvance(QLatin1Char(' '));
    spaceF_ = fmf.horizontalAdvance(QLatin1Char(' '));
    const int pad = fm.height();
    QImage canvas(fm.maxWidth() + 2 * pad, height_, QImage::Format_RGB32);
    const QString chars = alphabet();
    glyphs_.reserve(size_t(chars.size()));
    for (const QChar c : chars) {
        canvas.fill(0xFFFFFFFFu);
        {
            QPainter p(&canvas);
            p.setRenderHint(QPainter::TextAntialiasing, false);
            p.setFont(font_);
            p.setPen(QColor(0, 0, 0));
            p.drawText(pad, fm.ascent(), QString(c));
        }
        TextGlyph g;
        g.ch = c;
        g.advance = fm.horizontalAdvance(c);
        g.advanceF = fmf.horizontalAdvance(c);
        int first = -1, last = -1;
        std::vector<std::uint32_t> cols(size_t(canvas.width()), 0);
        for (int y = 0; y < height_; ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
            for (int x = 0; x < canvas.width(); ++x)
                if ((row[x] & 0xFFFFFFu) == 0) cols[size_t(x)] |= std::uint32_t(1) << y;
        }
        for (int x = 0; x < canvas.width(); ++x)
            if (cols[size_t(x)]) {
                if (first < 0) first = x;
                last = x;
            }
        if (first < 0) continue;  // no ink: read as a blank
        g.left = first - pad;
        g.width = last - first + 1;
        g.cols.assign(cols.begin() + first, cols.begin() + last + 1);
        for (const std::uint32_t m : g.cols) g.ink += __builtin_popcount(m);
        byChar_[c.unicode()] = int(glyphs_.size());
        byFirstColumn_[g.cols[0]].push_back(int(glyphs_.size()));
        glyphs_.push_back(std::move(g));
    }
}

const TextGlyph* TextGlyphs::glyph(QChar c) const {
    const auto it = byChar_.find(c.unicode());
    return it == byChar_.end() ? nullptr : &glyphs_[size_t(it->second)];
}

std::uint32_t TextGlyphs::column(const InkView& ink, int x, int top) const {
    return std::uint32_t(ink.blackRows(x, top, height_));
}

std::vector<ReadChar> TextGlyphs::read(const InkView& ink, int top, int from, int to, int cursor,
                                       std::vector<int>* unread, int* inkRead, int maxChars) const {
    std::vector<ReadChar> out;
    if (inkRead) *inkRead = 0;
    to = std::min(to, ink.width());
    double cursorF = cursor;
    bool known = cursor >= 0;
    int x = std::max(0, from);
    int found = 0;
    while (x < to && found < maxChars) {
        std::uint32_t m = 0;
        while (x < to && (m = column(ink, x, top)) == 0) ++x;
        if (x >= to) break;
        const auto it = byFirstColumn_.find(m);
        const TextGlyph* best = nullptr;
        if (it != byFirstColumn_.end()) {
            for (const int index : it->second) {
                const TextGlyph& g = glyphs_[size_t(index)];
                if (x + g.width > to) continue;
                bool same = true;
                for (int i = 1; i < g.width && same; ++i) same = column(ink, x + i, top) == g.cols[size_t(i)];
                if (same && (!best || g.ink > best->ink)) best = &g;
            }
        }
        if (!best) {
            if (unread) unread->push_back(x);
            while (x < to && column(ink, x, top) != 0) ++x;
            known = false;
            continue;
        }
        const int origin = x - best->left;
        if (known) {
            const int blanks = int(std::lround((origin - cursorF) / spaceF_));
            for (int b = 0; b < blanks; ++b)
                out.push_back(ReadChar{QLatin1Char(' '), int(cursorF + b * spaceF_), int(cursorF + b * spaceF_), true});
        }
        out.push_back(ReadChar{best->ch, x, x + best->width - 1, false});
        ++found;
        if (inkRead) *inkRead += best->ink;
        // The layout places characters at their fractional advances.
        cursorF = origin + best->advanceF;
        known = true;
        x += best->width;
    }
    return out;
}

namespace {
// The page row of the glyph's first ink in its first inked column.
int firstInkRow(const TextGlyph& g, int top) {
    const std::uint32_t c = g.cols.empty() ? 0 : g.cols[0];
    return c ? top + __builtin_ctz(c) : top;
}
}  // namespace

void TextGlyphs::claim(InkView& ink, int top, const std::vector<ReadChar>& chars, bool asText) const {
    for (const ReadChar& c : chars) {
        if (c.space) continue;
        const TextGlyph* g = glyph(c.ch);
        if (!g) continue;
        if (asText && ink.record.texts)
            ink.record.texts->push_back(TextMark{QString(c.ch), c.x - g->left, top, font_.pixelSize(), font_.bold(),
                                                 ink.pixel(c.x, firstInkRow(*g, top))});
        for (int i = 0; i < g->width; ++i)
            for (int r = 0; r < height_; ++r)
                if (g->cols[size_t(i)] >> r & 1) {
                    if (!asText && ink.record.unknown) ink.record.unknown->push_back(QPoint(c.x + i, top + r));
                    ink.claim(c.x + i, top + r);
                }
    }
}

}  // namespace qn::score::detail
