#pragma once
// Every inked atlas cell as column bit masks, indexed so that a page column
// proposes only the few cells that can start there. Private to the reader.

#include <QImage>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace qn::score::detail {

using ColumnMask = std::uint64_t;  // bit r: ink on cell row r (0..39)

constexpr ColumnMask rowRange(int first, int last) {
    return ((ColumnMask(1) << (last + 1)) - 1) & ~((ColumnMask(1) << first) - 1);
}
constexpr ColumnMask kNoteRows = rowRange(3, 37);
constexpr ColumnMask kSymbolRows = rowRange(3, 24);
// Every cell has ink here; it anchors the index and marks unexplained ink.
constexpr ColumnMask kBodyRows = rowRange(3, 24);

struct Cell {
    int code = 0;
    int beams = 0;
    int width = 0;         // 12 or 6
    ColumnMask rows = 0;   // the rows compared
    ColumnMask cols[12] = {};
    int anchor = 0;        // first column with body ink
    int inkFirst = 0;      // first and last columns with body ink
    int inkLast = 0;
    int inkArea = 0;       // body ink pixels
};

struct Match {
    int x = 0;  // page x of the cell
    const Cell* cell = nullptr;
};

class GlyphIndex {
public:
    // Built once from the two atlases.
    static const GlyphIndex& instance();
    GlyphIndex(const QImage& picmode, const QImage& picmode2);

    // All cells that match exactly at some x of a band, whose column masks
    // (cols[0..width-1]) have been read from the page.
    void matchBand(const ColumnMask* cols, int width, std::vector<Match>& out) const;

    const std::vector<Cell>& cells() const { return cells_; }

private:
    void add(const QImage& atlas, int x0, int y0, int width, int code, int beams, ColumnMask rows);
    std::vector<Cell> cells_;
    std::unordered_map<std::uint32_t, std::vector<int>> byAnchor_;
};

}  // namespace qn::score::detail
