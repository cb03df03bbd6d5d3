// ReadSymbols: atlas cells found on the line bands of the page.
#include "PageReader.h"

#include <algorithm>

#include "EditorState.h"
#include "GlyphIndex.h"
#include "PageMarks.h"
#include "TextGlyphs.h"

namespace qn::score {

using detail::ColumnMask;
using detail::GlyphIndex;
using detail::InkView;
using detail::Match;

namespace {

// Ink bits of rows 0..39 of every column of one band; ink a recogniser has
// claimed (a printed head) is ground.
void readColumns(const InkView& ink, int top, std::vector<ColumnMask>& cols) {
    for (int x = 0; x < ink.width(); ++x) cols[size_t(x)] = ink.blackRows(x, top, geom::LineHeight);
}

void readBand(const std::vector<ColumnMask>& cols, int width, int line, int top, std::vector<Match>& matches,
              std::vector<char>& claimed, PageReading& out) {
    matches.clear();
    GlyphIndex::instance().matchBand(cols.data(), width, matches);
    // Cells overlap only where they show the same ink: the first column of a
    // thick bar is also a single bar line of half width. The cell that explains
    // the most ink wins.
    std::sort(matches.begin(), matches.end(), [](const Match& a, const Match& b) {
        return a.cell->inkArea != b.cell->inkArea ? a.cell->inkArea > b.cell->inkArea : a.x < b.x;
    });
    std::fill(claimed.begin(), claimed.end(), 0);
    size_t kept = 0;
    for (const Match& m : matches) {
        const int first = m.x + m.cell->inkFirst, last = m.x + m.cell->inkLast;
        if (std::find(claimed.begin() + first, claimed.begin() + last + 1, 1) != claimed.begin() + last + 1) continue;
        std::fill(claimed.begin() + first, claimed.begin() + last + 1, 1);
        matches[kept++] = m;
    }
    matches.resize(kept);
    std::sort(matches.begin(), matches.end(), [](const Match& a, const Match& b) { return a.x < b.x; });
    for (const Match& m : matches) {
        PageSymbol s;
        s.position = PagePosition{line, top, m.x, m.cell->width};
        s.code = m.cell->code;
        s.beams = m.cell->beams;
        out.symbols.push_back(s);
    }
    // Body ink no cell explains: one entry per run of such columns.
    for (int x = 0; x < width;) {
        if (claimed[size_t(x)] || !(cols[size_t(x)] & detail::kBodyRows)) {
            ++x;
            continue;
        }
        out.unknownInk.push_back(Skip{line, x, QStringLiteral("unknown ink")});
        while (x < width && !claimed[size_t(x)] && (cols[size_t(x)] & detail::kBodyRows)) ++x;
    }
}

}  // namespace

namespace detail {

PageReading ReadSymbols(const InkView& ink, int linePitch) {
    PageReading out;
    const int width = ink.width(), height = ink.height();
    if (linePitch < 1 || width <= 0 || height <= 0) return out;
    std::vector<ColumnMask> cols(static_cast<size_t>(width));
    std::vector<Match> matches;
    std::vector<char> claimed(static_cast<size_t>(width));
    for (int line = 0;; ++line) {
        const long top = geom::FirstLineTop + long(line) * linePitch;
        if (top >= height) break;
        readColumns(ink, int(top), cols);
        readBand(cols, width, line, int(top), matches, claimed, out);
        out.lines = line + 1;
    }
    return out;
}

}  // namespace detail

PageReading ReadSymbols(const QImage& image, int width, int height, int linePitch) {
    if (linePitch < 1 || image.isNull()) return {};
    const InkView ink(image, width, height);
    return detail::ReadSymbols(ink, linePitch);
}

PageReading ReadSymbols(const Page& page, int linePitch) {
    return ReadSymbols(page.storage(), page.width(), page.height(), linePitch);
}

namespace {

// Every recogniser in turn over one view of the ink; the cells read go to `cells`.
Score readAll(InkView& ink, int linePitch, PageReading& cells) {
    std::vector<Skip> skipped;
    std::vector<HeadReading> heads = detail::ReadHeads(ink, linePitch, skipped);
    cells = detail::ReadSymbols(ink, linePitch);
    cells.heads = std::move(heads);
    Score score = BuildScore(cells);
    detail::ReadArcs(ink, linePitch, score);
    detail::ReadChords(ink, linePitch, score);
    detail::ReadLyrics(ink, linePitch, score);
    score.skipped.insert(score.skipped.end(), skipped.begin(), skipped.end());
    std::stable_sort(score.skipped.begin(), score.skipped.end(),
                     [](const Skip& a, const Skip& b) { return std::pair(a.line, a.x) < std::pair(b.line, b.x); });
    return score;
}

}  // namespace

Score ReadPage(const QImage& image, int width, int height, int linePitch) {
    if (linePitch < 1 || image.isNull()) return {};
    InkView ink(image, width, height);
    PageReading cells;
    return readAll(ink, linePitch, cells);
}

PageDrawingRead ReadPageForDrawing(const QImage& image, int width, int height, int linePitch) {
    PageDrawingRead out;
    if (image.isNull()) return out;
    InkView ink(image, width, height);
    std::vector<QPoint> unknown;
    ink.record = detail::MarkRecord{&out.texts, &out.arcs, &unknown};
    // No line pitch: nothing is read, all ink stays unexplained.
    if (linePitch >= 1) out.score = readAll(ink, linePitch, out.cells);
    QImage& img = out.unexplained;
    img = QImage(ink.width(), ink.height(), QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    const auto keep = [&](int x, int y) { reinterpret_cast<QRgb*>(img.scanLine(y))[x] = ink.pixel(x, y) | 0xFF000000u; };
    ink.forEachUnclaimed(keep);
    for (const QPoint& p : unknown) keep(p.x(), p.y());
    return out;
}

Score ReadPage(const Page& page, int linePitch) {
    return ReadPage(page.storage(), page.width(), page.height(), linePitch);
}

Score ReadPage(const QImage& image, int linePitch) {
    return ReadPage(image, image.width(), image.height(), linePitch);
}

}  // namespace qn::score
