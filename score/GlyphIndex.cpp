#include "GlyphIndex.h"

#include "Atlas.h"

namespace qn::score::detail {

namespace {
bool isInk(const QImage& img, int x, int y) {
    if (x < 0 || y < 0 || x >= img.width() || y >= img.height()) return false;
    return (img.pixel(x, y) & 0xFFFFFFu) == 0;
}
std::uint32_t anchorKey(ColumnMask m) { return std::uint32_t((m & kBodyRows) >> 3); }
}  // namespace

const GlyphIndex& GlyphIndex::instance() {
    static const GlyphIndex index(Picmode(), Picmode2());
    return index;
}

GlyphIndex::GlyphIndex(const QImage& picmode, const QImage& picmode2) {
    // Note atlas: digits, rest and syllables in every beam row; the dash only
    // in row 0 (its beam rows are blank).
    for (int beams = 0; beams <= 3; ++beams)
        for (int code = 0; code <= 40; ++code) add(picmode, 12 * code, 40 * beams, 12, code, beams, kNoteRows);
    add(picmode, 12 * 41, 0, 12, 41, 0, kSymbolRows);
    // Ornament atlas: full-width band, then half-width band. Blank cells and
    // the beam strips (no ink on the symbol rows) drop out by themselves.
    for (int code = 100; 12 * (code - 100) + 12 <= picmode2.width() && code <= 199; ++code)
        add(picmode2, 12 * (code - 100), 0, 12, code, 0, kSymbolRows);
    for (int code = 200; 6 * (code - 200) + 6 <= picmode2.width() && code <= 299; ++code)
        add(picmode2, 6 * (code - 200), 40, 6, code, 0, kSymbolRows);
}

void GlyphIndex::add(const QImage& atlas, int x0, int y0, int width, int code, int beams, ColumnMask rows) {
    Cell c;
    c.code = code;
    c.beams = beams;
    c.width = width;
    c.rows = rows;
    c.anchor = -1;
    for (int i = 0; i < width; ++i) {
        ColumnMask m = 0;
        for (int r = 0; r < 40; ++r)
            if (isInk(atlas, x0 + i, y0 + r)) m |= ColumnMask(1) << r;
        c.cols[i] = m & rows;
        c.inkArea += __builtin_popcountll(c.cols[i] & kBodyRows);
        if (c.cols[i] & kBodyRows) {
            if (c.anchor < 0) c.anchor = i;
            c.inkLast = i;
        }
    }
    if (c.anchor < 0) return;  // nothing to find
    c.inkFirst = c.anchor;
    const int index = int(cells_.size());
    cells_.push_back(c);
    byAnchor_[anchorKey(c.cols[c.anchor])].push_back(index);
}

void GlyphIndex::matchBand(const ColumnMask* cols, int width, std::vector<Match>& out) const {
    for (int x = 0; x < width; ++x) {
        const std::uint32_t key = anchorKey(cols[x]);
        if (key == 0) continue;
        const auto it = byAnchor_.find(key);
        if (it == byAnchor_.end()) continue;
        for (const int index : it->second) {
            const Cell& c = cells_[size_t(index)];
            const int s = x - c.anchor;
            if (s < 0 || s + c.width > width) continue;  // a cut cell is not read
            bool same = true;
            for (int i = 0; i < c.width && same; ++i) same = (cols[s + i] & c.rows) == c.cols[i];
            if (same) out.push_back(Match{s, &c});
        }
    }
}

}  // namespace qn::score::detail
