#pragma once
// The characters of one font as the page prints them (not smoothed, pure
// black), each rendered once: its ink as column bit masks relative to the
// text's top-left cursor, indexed by its first inked column so a page column
// proposes only the few characters that can start there. Private to the reader.
//
// The alphabet: printable ASCII, the GB2312 characters (the Chinese text a
// user types into the lyrics box or the new-score dialog) and the full-width
// punctuation of the CJK and half/full-width blocks.

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QString>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace qn::score {
struct TextMark;
struct ArcMark;
}

namespace qn::score::detail {

// Where the recognisers tell what they claimed, when the caller wants to draw it again.
struct MarkRecord {
    std::vector<TextMark>* texts = nullptr;
    std::vector<ArcMark>* arcs = nullptr;
    std::vector<QPoint>* unknown = nullptr;  // ink claimed only to pass over it
};

// The page's ink as the recognisers see it: pure black pixels (or, for chord
// symbols, pixels of any other colour than black and white) that no earlier
// recogniser has claimed.
class InkView {
public:
    InkView(const QImage& image, int width, int height);
    int width() const { return w_; }
    int height() const { return h_; }
    bool black(int x, int y) const { return test(black_, x, y); }
    bool coloured(int x, int y) const { return test(coloured_, x, y); }
    // Unclaimed black ink of rows top .. top + n - 1 (n <= 57) of column x, bit r for row top + r.
    std::uint64_t blackRows(int x, int top, int n) const { return rows(black_, x, top, n); }
    std::uint64_t colouredRows(int x, int top, int n) const { return rows(coloured_, x, top, n); }
    void claim(int x, int y) {
        if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
        const size_t i = size_t(x) * size_t(words_) + size_t(y >> 6);
        const std::uint64_t bit = std::uint64_t(1) << (y & 63);
        black_[i] &= ~bit;
        coloured_[i] &= ~bit;
    }
    // Calls f(x, y) for every pixel of unclaimed ink (black or coloured), column by column.
    template <typename F>
    void forEachUnclaimed(F f) const {
        for (int x = 0; x < w_; ++x)
            for (int w = 0; w < words_; ++w) {
                const size_t i = size_t(x) * size_t(words_) + size_t(w);
                for (std::uint64_t bits = black_[i] | coloured_[i]; bits; bits &= bits - 1) {
                    const int y = w * 64 + __builtin_ctzll(bits);
                    if (y < h_) f(x, y);
                }
            }
    }
    // Set by a caller that wants the recognised marks with their places.
    MarkRecord record;
    // The page's own pixel, claimed or not.
    QRgb pixel(int x, int y) const { return reinterpret_cast<const QRgb*>(img_->constScanLine(y))[x]; }

private:
    bool test(const std::vector<std::uint64_t>& bits, int x, int y) const {
        if (x < 0 || y < 0 || x >= w_ || y >= h_) return false;
        return bits[size_t(x) * size_t(words_) + size_t(y >> 6)] >> (y & 63) & 1;
    }
    std::uint64_t rows(const std::vector<std::uint64_t>& bits, int x, int top, int n) const;

    QImage converted_;
    const QImage* img_;
    int w_ = 0, h_ = 0, words_ = 0;
    std::vector<std::uint64_t> black_, coloured_;  // column by column, 64 rows a word
};

struct TextGlyph {
    QChar ch;
    int left = 0;     // first inked column, relative to the cursor
    int width = 0;    // inked columns
    int advance = 0;  // cursor advance (whole pixels)
    double advanceF = 0;  // as the layout adds it
    int ink = 0;      // inked pixels
    std::vector<std::uint32_t> cols;  // bit r: ink on row r below the text's top
};

// A decoded character on the page.
struct ReadChar {
    QChar ch;
    int x = 0;       // first inked column on the page
    int right = 0;   // last inked column
    bool space = false;  // a blank counted from the cursor's advance
};

class TextGlyphs {
public:
    // One shared index per pixel size and weight of the program's Song face
    // (built on first use; safe from several threads).
    static const TextGlyphs& forSongFont(int pixelSize, bool bold = false);
    explicit TextGlyphs(const QFont& font);

    int height() const { return height_; }
    int spaceAdvance() const { return space_; }
    double spaceAdvanceF() const { return spaceF_; }
    const QFont& font() const { return font_; }

    // Black ink rows of the text line at `top` in page column x.
    std::uint32_t column(const InkView& ink, int x, int top) const;

    // Reads the text printed with its top at `top` in the columns [from, to).
    // `cursor`: where the text began when known (spaces before the first
    // character are counted from it), else -1. Characters are found from
    // their first inked column and compared whole; a run of ink that no
    // character explains is passed over (its first column goes to `unread`)
    // and the blanks after it are not counted.
    std::vector<ReadChar> read(const InkView& ink, int top, int from, int to, int cursor,
                               std::vector<int>* unread = nullptr, int* inkRead = nullptr,
                               int maxChars = 1 << 30) const;

    // Claims the ink of the characters read.
    // A caller recording marks gets them as texts, or with `asText` false as
    // unknown ink (pixels) to keep as it is.
    void claim(InkView& ink, int top, const std::vector<ReadChar>& chars, bool asText = true) const;

    const std::vector<TextGlyph>& glyphs() const { return glyphs_; }
    const TextGlyph* glyph(QChar c) const;

private:
    QFont font_;
    int height_ = 0;
    int space_ = 0;
    double spaceF_ = 0;
    std::vector<TextGlyph> glyphs_;
    std::unordered_map<std::uint32_t, std::vector<int>> byFirstColumn_;
    std::unordered_map<char16_t, int> byChar_;
};

}  // namespace qn::score::detail
