#include "Page.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cstring>

namespace qn {

namespace {
constexpr QRgb kWhite = 0xFFFFFFFFu;
constexpr int kSlack = 64;  // room for the temporary widening of justification
}  // namespace

Page::Page(int width, int height) { resize(width, height); }

void Page::ensureCapacity(int width, int height) {
    if (!img_.isNull() && width <= img_.width() && height <= img_.height()) return;
    const int cw = std::max(width + kSlack, img_.isNull() ? 0 : img_.width());
    const int ch = std::max(height, img_.isNull() ? 0 : img_.height());
    QImage bigger(cw, ch, QImage::Format_RGB32);
    bigger.fill(kWhite);
    if (!img_.isNull()) {
        for (int y = 0; y < h_; ++y)
            std::memcpy(bigger.scanLine(y), img_.constScanLine(y), size_t(w_) * 4);
    }
    img_ = std::move(bigger);
}

void Page::resize(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    const int oldW = w_, oldH = h_;
    ensureCapacity(width, height);
    // Storage beyond the old page may hold stale pixels: whiten what becomes page.
    if (width > oldW) {
        for (int y = 0; y < std::min(oldH, height); ++y) {
            auto* row = reinterpret_cast<QRgb*>(img_.scanLine(y));
            std::fill(row + oldW, row + width, kWhite);
        }
    }
    for (int y = oldH; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(img_.scanLine(y));
        std::fill(row, row + width, kWhite);
    }
    w_ = width;
    h_ = height;
}

bool Page::isInk(int x, int y) const {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return false;
    return (reinterpret_cast<const QRgb*>(img_.constScanLine(y))[x] & 0xFFFFFFu) == 0;
}

QRgb Page::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return kWhite;
    return reinterpret_cast<const QRgb*>(img_.constScanLine(y))[x] | 0xFF000000u;
}

void Page::paintPicture(const QImage& src, const QRect& srcRect, int dstX, int dstY) {
    // Clip against the source picture, then against the page.
    QRect s = srcRect.intersected(src.rect());
    int dx = dstX + (s.x() - srcRect.x());
    int dy = dstY + (s.y() - srcRect.y());
    QRect d(dx, dy, s.width(), s.height());
    const QRect dc = d.intersected(QRect(0, 0, w_, h_));
    if (dc.isEmpty()) return;
    ++generation_;
    s.translate(dc.x() - d.x(), dc.y() - d.y());
    const bool direct = src.format() == QImage::Format_RGB32 || src.format() == QImage::Format_ARGB32;
    for (int r = 0; r < dc.height(); ++r) {
        auto* out = reinterpret_cast<QRgb*>(img_.scanLine(dc.y() + r)) + dc.x();
        if (direct) {
            const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(s.y() + r)) + s.x();
            for (int c = 0; c < dc.width(); ++c) out[c] = in[c] | 0xFF000000u;
        } else {
            for (int c = 0; c < dc.width(); ++c) out[c] = src.pixel(s.x() + c, s.y() + r) | 0xFF000000u;
        }
    }
}

void Page::bitBlt(const QRect& src, int dstX, int dstY) {
    const QRect page(0, 0, w_, h_);
    const int offX = dstX - src.x(), offY = dstY - src.y();
    // Destination pixels whose source is on the page and which are on the page themselves.
    const QRect d = src.intersected(page).translated(offX, offY).intersected(page);
    if (d.isEmpty()) return;
    ++generation_;
    const int sx = d.x() - offX;
    const size_t bytes = size_t(d.width()) * 4;
    // Rows are walked away from the overlap so every source row is read before it is written.
    if (offY > 0) {
        for (int r = d.height() - 1; r >= 0; --r)
            std::memmove(img_.scanLine(d.y() + r) + size_t(d.x()) * 4,
                         img_.constScanLine(d.y() - offY + r) + size_t(sx) * 4, bytes);
    } else {
        for (int r = 0; r < d.height(); ++r)
            std::memmove(img_.scanLine(d.y() + r) + size_t(d.x()) * 4,
                         img_.constScanLine(d.y() - offY + r) + size_t(sx) * 4, bytes);
    }
}

void Page::fillWhite(const QRect& r) {
    const QRect c = r.intersected(QRect(0, 0, w_, h_));
    if (!c.isEmpty()) ++generation_;
    for (int y = c.top(); y <= c.bottom(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(img_.scanLine(y));
        std::fill(row + c.left(), row + c.left() + c.width(), kWhite);
    }
}

void Page::clear() { fillWhite(QRect(0, 0, w_, h_)); }

void Page::paintInk(const QImage& src, int dstX, int dstY) {
    const QRect dc = QRect(dstX, dstY, src.width(), src.height()).intersected(QRect(0, 0, w_, h_));
    if (dc.isEmpty()) return;
    ++generation_;
    const QImage in = src.format() == QImage::Format_RGB32 || src.format() == QImage::Format_ARGB32
                          ? src
                          : src.convertToFormat(QImage::Format_RGB32);
    for (int y = dc.top(); y <= dc.bottom(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(in.constScanLine(y - dstY));
        auto* row = reinterpret_cast<QRgb*>(img_.scanLine(y));
        for (int x = dc.left(); x <= dc.right(); ++x)
            if ((from[x - dstX] & 0xFFFFFFu) == 0) row[x] = 0xFF000000u;
    }
}

QRect Page::drawText(int left, int top, const QString& text, const QFont& font) {
    if (text.isEmpty()) return {};
    QFont f = font;
    // Smoothed edges would be grey, and the page holds only ink and white.
    f.setStyleStrategy(QFont::NoAntialias);
    const QFontMetrics fm(f);
    const QRect box(left, top, fm.horizontalAdvance(text) + fm.maxWidth(), fm.height());
    ++generation_;
    QPainter p(&img_);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setClipRect(QRect(0, 0, w_, h_));  // the storage is wider than the page
    p.setFont(f);
    p.setPen(QColor(0, 0, 0));
    p.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    return box.intersected(QRect(0, 0, w_, h_));
}

int Page::drawText(int x, int top, const QString& text, const QFont& font, QRgb colour,
                   const QRect& clip) {
    QFont f(font);
    f.setStyleStrategy(QFont::NoAntialias);
    const QFontMetrics metrics(f);
    const int advance = metrics.horizontalAdvance(text);
    QRect area = QRect(0, 0, w_, h_);
    if (clip.isValid()) area = area.intersected(clip);
    if (text.isEmpty() || !area.intersects(QRect(x, top, std::max(advance, 1), metrics.height())))
        return advance;
    ++generation_;
    QPainter p(&img_);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setClipRect(area);
    p.setFont(f);
    p.setPen(QColor::fromRgb(colour));
    p.drawText(x, top + metrics.ascent(), text);
    return advance;
}

void Page::paintMask(const QImage& mask, int x, int y, QRgb colour, const QRect& clip) {
    QRect area = QRect(0, 0, w_, h_);
    if (clip.isValid()) area = area.intersected(clip);
    const QRect d = area.intersected(QRect(x, y, mask.width(), mask.height()));
    if (d.isEmpty()) return;
    ++generation_;
    const QRgb ink = colour | 0xFF000000u;
    for (int r = d.top(); r <= d.bottom(); ++r) {
        const uchar* in = mask.constScanLine(r - y) + (d.left() - x);
        auto* out = reinterpret_cast<QRgb*>(img_.scanLine(r)) + d.left();
        for (int c = 0; c < d.width(); ++c)
            if (in[c]) out[c] = ink;
    }
}

QImage Page::image() const { return img_.copy(0, 0, w_, h_); }

}  // namespace qn
