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
    inkEnd_.resize(size_t(img_.height()), 0);
}

void Page::resize(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (width == w_ && height == h_) return;
    if (!img_.isNull()) {
        if (!recording_) {
            ++unrecorded_;
        } else {
            // What the smaller page cuts off must come back with an undo; rows
            // that hold only white there have nothing to give back.
            if (width < w_)
                for (int y = 0; y < h_; ++y)
                    if (inkEnd_[size_t(y)] > width) keepBefore(QRect(width, y, w_ - width, 1));
            if (height < h_)
                for (int y = height; y < h_; ++y)
                    if (inkEnd_[size_t(y)] > 0) keepBefore(QRect(0, y, w_, 1));
        }
    }
    resizeStorage(width, height);
}

void Page::resizeStorage(int width, int height) {
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
    aboutToWrite(dc);
    s.translate(dc.x() - d.x(), dc.y() - d.y());
    const bool direct = src.format() == QImage::Format_RGB32 || src.format() == QImage::Format_ARGB32;
    QRgb* const page = writableRows();
    const qsizetype stride = rowPixels();
    const auto* const from = direct ? reinterpret_cast<const QRgb*>(src.constBits()) : nullptr;
    const qsizetype fromStride = src.bytesPerLine() / 4;
    for (int r = 0; r < dc.height(); ++r) {
        QRgb* out = page + (dc.y() + r) * stride + dc.x();
        if (direct) {
            const QRgb* in = from + (s.y() + r) * fromStride + s.x();
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
    if (offY == 0 && offX != 0) {
        // White sliding over white (typing at the end of a line) changes nothing.
        const int from = std::min(d.left(), d.left() - offX);
        bool white = true;
        for (int y = d.top(); white && y <= d.bottom(); ++y) white = inkEnd_[size_t(y)] <= from;
        if (white) return;
    }
    if (offY == 0 && offX != 0 && recording_) {
        // A line sliding sideways: kept as the move, not as its pixels.
        ++generation_;
        recordShift(d, offX);
        // Moved right, a row's ink ends at most dx further on (inside the segment).
        for (int y = d.top(); y <= d.bottom(); ++y) {
            int& end = inkEnd_[size_t(y)];
            end = offX > 0 ? std::max(end, std::min(d.right() + 1, end + offX)) : std::max(end, d.right() + 1);
        }
    } else {
        aboutToWrite(d);
    }
    const int sx = d.x() - offX;
    const size_t bytes = size_t(d.width()) * 4;
    QRgb* const rowsAt = writableRows();
    const qsizetype stride = rowPixels();
    // Rows are walked away from the overlap so every source row is read before it is written.
    if (offY > 0) {
        for (int r = d.height() - 1; r >= 0; --r)
            std::memmove(rowsAt + (d.y() + r) * stride + d.x(),
                         rowsAt + (d.y() - offY + r) * stride + sx, bytes);
    } else {
        for (int r = 0; r < d.height(); ++r)
            std::memmove(rowsAt + (d.y() + r) * stride + d.x(),
                         rowsAt + (d.y() - offY + r) * stride + sx, bytes);
    }
}

void Page::fillWhite(const QRect& r) {
    const QRect c = r.intersected(QRect(0, 0, w_, h_));
    if (c.isEmpty()) return;
    // Rows already white from the rectangle's left edge on stay as they are.
    bool changes = false;
    for (int y = c.top(); !changes && y <= c.bottom(); ++y) changes = inkEnd_[size_t(y)] > c.left();
    if (!changes) return;
    aboutToWrite(c, false);
    QRgb* const page = writableRows();
    const qsizetype stride = rowPixels();
    for (int y = c.top(); y <= c.bottom(); ++y) {
        QRgb* row = page + y * stride;
        std::fill(row + c.left(), row + c.left() + c.width(), kWhite);
        int& end = inkEnd_[size_t(y)];
        if (c.right() + 1 >= std::min(end, w_)) end = std::min(end, c.left());
    }
}

void Page::clear() { fillWhite(QRect(0, 0, w_, h_)); }

void Page::paintInk(const QImage& src, int dstX, int dstY) {
    const QRect dc = QRect(dstX, dstY, src.width(), src.height()).intersected(QRect(0, 0, w_, h_));
    if (dc.isEmpty()) return;
    aboutToWrite(dc);
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
    // Nothing is drawn outside the box, so the box is what an undo must keep.
    const QRect written = box.intersected(QRect(0, 0, w_, h_));
    if (written.isEmpty()) return {};
    aboutToWrite(written);
    QPainter p(&img_);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setClipRect(written);  // the storage is wider than the page
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
    // Glyphs may reach a little past their advance on either side.
    const int slack = metrics.maxWidth();
    area = area.intersected(QRect(x - slack, top, advance + 2 * slack, metrics.height()));
    if (area.isEmpty()) return advance;
    aboutToWrite(area);
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
    aboutToWrite(d);
    const QRgb ink = colour | 0xFF000000u;
    for (int r = d.top(); r <= d.bottom(); ++r) {
        const uchar* in = mask.constScanLine(r - y) + (d.left() - x);
        auto* out = reinterpret_cast<QRgb*>(img_.scanLine(r)) + d.left();
        for (int c = 0; c < d.width(); ++c)
            if (in[c]) out[c] = ink;
    }
}

QImage Page::image() const { return img_.copy(0, 0, w_, h_); }

// ---- Undo recording

namespace {
constexpr QRgb kBlack = 0xFF000000u;

void putVarint(std::vector<std::uint8_t>& out, std::uint32_t v) {
    while (v >= 0x80) {
        out.push_back(std::uint8_t(v | 0x80));
        v >>= 7;
    }
    out.push_back(std::uint8_t(v));
}

std::uint32_t getVarint(const std::uint8_t*& p) {
    std::uint32_t v = 0;
    for (int shift = 0;; shift += 7) {
        const std::uint8_t b = *p++;
        v |= std::uint32_t(b & 0x7F) << shift;
        if (!(b & 0x80)) return v;
    }
}

// The same into a buffer with room: at most 5 bytes a number.
std::uint8_t* putVarintAt(std::uint8_t* w, std::uint32_t v) {
    while (v >= 0x80) {
        *w++ = std::uint8_t(v | 0x80);
        v >>= 7;
    }
    *w++ = std::uint8_t(v);
    return w;
}

// Runs of n pixels into a buffer with room for kMaxRunBytes a pixel.
constexpr size_t kMaxRunBytes = 9;
std::uint8_t* putRunsAt(std::uint8_t* w, const QRgb* px, int n) {
    for (int i = 0; i < n;) {
        const QRgb c = px[i];
        int j = i + 1;
        while (j < n && px[j] == c) ++j;
        const std::uint32_t kind = c == kWhite ? 0 : c == kBlack ? 1 : 2;
        w = putVarintAt(w, std::uint32_t(j - i) << 2 | kind);
        if (kind == 2) {
            for (int k = 0; k < 4; ++k) *w++ = std::uint8_t(c >> (8 * k));
        }
        i = j;
    }
    return w;
}

// The first x in [from, to) where the rows differ (to when none), and one
// past the last. Compared a block at a time: most of a written span is often
// unchanged, and this runs for every row of every keystroke.
constexpr int kCompareBlock = 16;

int firstDifference(const QRgb* a, const QRgb* b, int from, int to) {
    // Many rows are rewritten unchanged: one call tells.
    if (from < to && std::memcmp(a + from, b + from, size_t(to - from) * 4) == 0) return to;
    while (from + kCompareBlock <= to && std::memcmp(a + from, b + from, kCompareBlock * 4) == 0) from += kCompareBlock;
    while (from < to && a[from] == b[from]) ++from;
    return from;
}

int lastDifferenceEnd(const QRgb* a, const QRgb* b, int from, int to) {
    while (to - kCompareBlock >= from &&
           std::memcmp(a + to - kCompareBlock, b + to - kCompareBlock, kCompareBlock * 4) == 0)
        to -= kCompareBlock;
    while (to > from && a[to - 1] == b[to - 1]) --to;
    return to;
}

// Reads the runs of n pixels starting at page x and writes those inside [0, width) of row.
void getRuns(const std::uint8_t* p, int n, QRgb* row, int x, int width) {
    while (n > 0) {
        const std::uint32_t head = getVarint(p);
        const int len = int(head >> 2);
        QRgb c = (head & 3) == 0 ? kWhite : kBlack;
        if ((head & 3) == 2) {
            c = QRgb(p[0]) | QRgb(p[1]) << 8 | QRgb(p[2]) << 16 | QRgb(p[3]) << 24;
            p += 4;
        }
        const int a = std::max(x, 0), b = std::min(x + len, width);
        if (a < b) std::fill(row + a, row + b, c);
        x += len;
        n -= len;
    }
}
}  // namespace

void Page::markInk(const QRect& c) {
    const int end = c.right() + 1;
    for (int y = c.top(); y <= c.bottom(); ++y) inkEnd_[size_t(y)] = std::max(inkEnd_[size_t(y)], end);
}

void Page::aboutToWrite(const QRect& r, bool ink) {
    const QRect c = r.intersected(QRect(0, 0, w_, h_));
    if (c.isEmpty()) return;
    ++generation_;
    if (ink) markInk(c);
    if (!recording_) {
        ++unrecorded_;
        return;
    }
    keepBefore(c);
}

void Page::keepBefore(const QRect& r) {
    const QRect c = r.intersected(QRect(0, 0, w_, h_));
    if (c.isEmpty()) return;
    if (saved_.size() < size_t(img_.height())) saved_.resize(size_t(img_.height()));
    const int a = c.left(), b = c.right() + 1;
    const QRgb* const page = rows();
    const qsizetype stride = rowPixels();
    const size_t width = size_t(img_.width());
    for (int y = c.top(); y <= c.bottom(); ++y) {
        SavedRow& s = saved_[size_t(y)];
        if (s.px.size() < width) s.px.resize(width);
        const QRgb* row = page + y * stride;
        if (s.x0 == s.x1) {
            touched_.push_back(y);
            s.x0 = a;
            s.x1 = b;
            std::copy(row + a, row + b, s.px.data() + a);
            continue;
        }
        // The span grows to the hull: pixels outside it were not written yet,
        // so the page still holds their before values.
        if (a < s.x0) {
            std::copy(row + a, row + s.x0, s.px.data() + a);
            s.x0 = a;
        }
        if (b > s.x1) {
            std::copy(row + s.x1, row + b, s.px.data() + s.x1);
            s.x1 = b;
        }
    }
}

void Page::recordShift(const QRect& d, int dx) {
    flushPixels();
    putVarint(ops_, 1);
    putVarint(ops_, std::uint32_t(d.top()));
    putVarint(ops_, std::uint32_t(d.height()));
    putVarint(ops_, std::uint32_t(d.left()));
    putVarint(ops_, std::uint32_t(d.right() + 1));
    putVarint(ops_, dx > 0 ? std::uint32_t(dx) << 1 : std::uint32_t(-dx) << 1 | 1);
    // What the move overwrites without carrying along: its last |dx| pixels
    // for a move right, its first |dx| for a move left.
    const int x0 = d.left(), x1 = d.right() + 1;
    const int k0 = dx > 0 ? std::max(x0, x1 - dx) : x0;
    const int k1 = dx > 0 ? x1 : std::min(x1, x0 - dx);
    // One run stream over the rows, so a white chunk costs a byte or two.
    std::vector<QRgb>& chunk = chunk_;
    chunk.clear();
    const QRgb* const page = rows();
    const qsizetype stride = rowPixels();
    for (int y = d.top(); y <= d.bottom(); ++y) {
        const QRgb* row = page + y * stride;
        chunk.insert(chunk.end(), row + k0, row + k1);
    }
    const size_t room = chunk.size() * kMaxRunBytes;
    if (rowScratch_.size() < room) rowScratch_.resize(room);
    std::uint8_t* const end = putRunsAt(rowScratch_.data(), chunk.data(), int(chunk.size()));
    putVarint(ops_, std::uint32_t(end - rowScratch_.data()));
    ops_.insert(ops_.end(), rowScratch_.data(), end);
}

void Page::flushPixels() {
    const QSize size(w_, h_);
    if (touched_.empty() && segmentSize_ == size) return;
    std::sort(touched_.begin(), touched_.end());
    std::vector<std::uint8_t>& out = encoded_;
    out.clear();
    int prevY = -1;
    const QRgb* const page = rows();
    const qsizetype stride = rowPixels();
    for (int y : touched_) {
        SavedRow& s = saved_[size_t(y)];
        // Each side keeps only the part that lies on its own page.
        const int bx0 = s.x0, ax0 = s.x0;
        const int bx1 = y < segmentSize_.height() ? std::max(bx0, std::min(s.x1, segmentSize_.width())) : bx0;
        const int ax1 = y < h_ ? std::max(ax0, std::min(s.x1, w_)) : ax0;
        const QRgb* before = s.px.data();
        const QRgb* now = page + y * stride;
        int x = bx0, n = bx1 - bx0, afterX = ax0, afterN = ax1 - ax0;
        if (bx1 == ax1) {
            // Same span on both sides: keep only from the first to the last changed pixel.
            const int first = firstDifference(before, now, bx0, bx1);
            const int end = lastDifferenceEnd(before, now, first, bx1);
            x = afterX = first;
            n = afterN = end - first;
        }
        if (n > 0 || afterN > 0) {
            const bool ownAfter = afterX != x || afterN != n;
            // The runs into a scratch buffer that only grows (no check per
            // byte); the head gives each side's byte count, so a restore
            // skips the other side unread.
            const size_t room = size_t(n + afterN) * kMaxRunBytes;
            if (rowScratch_.size() < room) rowScratch_.resize(room);
            std::uint8_t* const runs = rowScratch_.data();
            std::uint8_t* const beforeEnd = putRunsAt(runs, before + x, n);
            std::uint8_t* const runsEnd = putRunsAt(beforeEnd, now + afterX, afterN);
            std::uint8_t head[7 * 5];
            std::uint8_t* w = head;
            w = putVarintAt(w, std::uint32_t(y - prevY));
            w = putVarintAt(w, std::uint32_t(x));
            w = putVarintAt(w, std::uint32_t(n) << 1 | (ownAfter ? 1 : 0));
            if (ownAfter) {
                w = putVarintAt(w, std::uint32_t(afterX));
                w = putVarintAt(w, std::uint32_t(afterN));
            }
            w = putVarintAt(w, std::uint32_t(beforeEnd - runs));
            w = putVarintAt(w, std::uint32_t(runsEnd - beforeEnd));
            out.insert(out.end(), head, w);
            out.insert(out.end(), runs, runsEnd);
            prevY = y;
        }
        s.x0 = s.x1 = 0;
    }
    touched_.clear();
    if (!out.empty() || segmentSize_ != size) {
        // The sizes only where the page changed size: elsewhere it is the size
        // the neighbouring operations leave.
        if (segmentSize_ == size) {
            putVarint(ops_, 0);
        } else {
            putVarint(ops_, 2);
            putVarint(ops_, std::uint32_t(segmentSize_.width()));
            putVarint(ops_, std::uint32_t(segmentSize_.height()));
            putVarint(ops_, std::uint32_t(w_));
            putVarint(ops_, std::uint32_t(h_));
        }
        putVarint(ops_, std::uint32_t(out.size()));
        ops_.insert(ops_.end(), out.begin(), out.end());
    }
    segmentSize_ = size;
}

void Page::beginRecording() {
    for (int y : touched_) saved_[size_t(y)].x0 = saved_[size_t(y)].x1 = 0;
    touched_.clear();
    ops_.clear();
    recording_ = true;
    recordedSize_ = segmentSize_ = QSize(w_, h_);
}

PageDelta Page::endRecording() {
    flushPixels();
    recording_ = false;
    PageDelta d;
    d.before_ = recordedSize_;
    d.after_ = QSize(w_, h_);
    d.ops_.assign(ops_.begin(), ops_.end());  // exactly the size it needs
    ops_.clear();
    return d;
}

void Page::restore(const PageDelta& d, bool after) {
    ++generation_;
    // The operations' starts, so an undo can walk them from the last.
    std::vector<const std::uint8_t*> starts;
    const std::uint8_t* p = d.ops_.data();
    const std::uint8_t* const end = p + d.ops_.size();
    while (p < end) {
        starts.push_back(p);
        const std::uint32_t kind = getVarint(p);
        const int fields = kind == 0 ? 0 : kind == 2 ? 4 : 5;
        for (int i = 0; i < fields; ++i) getVarint(p);
        p += getVarint(p);
    }
    const auto apply = [&](const std::uint8_t* q) {
        const std::uint32_t kind = getVarint(q);
        if (kind != 1) {
            if (kind == 2) {
                const int bw = int(getVarint(q)), bh = int(getVarint(q));
                const int aw = int(getVarint(q)), ah = int(getVarint(q));
                resizeStorage(after ? aw : bw, after ? ah : bh);
            }
            const std::uint8_t* rowsEnd = q + getVarint(q);
            restoreRows(q, rowsEnd, after);
            return;
        }
        const int y0 = int(getVarint(q)), rows = int(getVarint(q));
        const int x0 = int(getVarint(q)), x1 = int(getVarint(q));
        const std::uint32_t z = getVarint(q);
        const int dx = (z & 1) ? -int(z >> 1) : int(z >> 1);
        getVarint(q);  // the kept runs' byte count
        const int k0 = dx > 0 ? std::max(x0, x1 - dx) : x0;
        const int k1 = dx > 0 ? x1 : std::min(x1, x0 - dx);
        const int carried = x1 - x0 - (k1 - k0);  // pixels the move carried along
        std::vector<QRgb>& chunk = chunk_;
        if (!after) {
            chunk.assign(size_t(k1 - k0) * size_t(rows), kWhite);
            getRuns(q, int(chunk.size()), chunk.data(), 0, int(chunk.size()));
        }
        const QRgb* kept = chunk.data();
        markInk(QRect(x0, y0, x1 - x0, rows));  // both ways write only the segment
        for (int y = y0; y < y0 + rows; ++y) {
            auto* row = reinterpret_cast<QRgb*>(img_.scanLine(y));
            if (after) {
                std::memmove(row + x0, row + x0 - dx, size_t(x1 - x0) * 4);
                continue;
            }
            if (carried > 0) {
                if (dx > 0)
                    std::memmove(row + x0, row + x0 + dx, size_t(carried) * 4);
                else
                    std::memmove(row + x0 - dx, row + x0, size_t(carried) * 4);
            }
            std::copy(kept, kept + (k1 - k0), row + k0);
            kept += k1 - k0;
        }
    };
    // The operations start from the size their first one was recorded at.
    const QSize from = after ? d.before_ : d.after_, to = after ? d.after_ : d.before_;
    resizeStorage(from.width(), from.height());
    if (after)
        for (const std::uint8_t* q : starts) apply(q);
    else
        for (auto it = starts.rbegin(); it != starts.rend(); ++it) apply(*it);
    resizeStorage(to.width(), to.height());
}

void Page::restoreRows(const std::uint8_t* p, const std::uint8_t* end, bool after) {
    int y = -1;
    while (p < end) {
        y += int(getVarint(p));
        const int x = int(getVarint(p));
        const std::uint32_t count = getVarint(p);
        const int n = int(count >> 1);
        int afterX = x, afterN = n;
        if (count & 1) {
            afterX = int(getVarint(p));
            afterN = int(getVarint(p));
        }
        const std::uint32_t beforeBytes = getVarint(p);
        const std::uint32_t afterBytes = getVarint(p);
        if (after) p += beforeBytes;
        const std::uint8_t* next = p + (after ? afterBytes : beforeBytes + afterBytes);
        if (y < h_) {
            const int from = after ? afterX : x, pixels = after ? afterN : n;
            getRuns(p, pixels, reinterpret_cast<QRgb*>(img_.scanLine(y)), from, w_);
            inkEnd_[size_t(y)] = std::max(inkEnd_[size_t(y)], std::min(from + pixels, w_));
        }
        p = next;
    }
}

}  // namespace qn
