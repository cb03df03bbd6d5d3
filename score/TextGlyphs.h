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
#include <QString>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace qn::score::detail {

// The page's ink as the recognisers see it: pure black pixels (or, for chord
// symbols, pixels of any other colour than black and white) that no earlier
// recogniser has claimed.
class InkView {
public:
    InkView(const QImage& image, int width, int height);
    int width() const { return w_; }
    int height() const { return h_; }
    bool black(int x, int y) const {
        if (x < 0 || y < 0 || x >= w_ || y >= h_ || claimed_[size_t(y) * size_t(w_) + size_t(x)]) return false;
        return (pixel(x, y) & 0xFFFFFFu) == 0;
    }
    bool coloured(int x, int y) const {
        if (x < 0 || y < 0 || x >= w_ || y >= h_ || claimed_[size_t(y) * size_t(w_) + size_t(x)]) return false;
        const QRgb c = pixel(x, y) & 0xFFFFFFu;
        return c != 0 && c != 0xFFFFFFu;
    }
    bool claimed(int x, int y) const { return claimed_[size_t(y) * size_t(w_) + size_t(x)] != 0; }
    void claim(int x, int y) {
        if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
        claimed_[size_t(y) * size_t(w_) + size_t(x)] = 1;
        rowClaimed_[size_t(y)] = 1;
    }
    bool anyClaimedIn(int y) const { return y >= 0 && y < h_ && rowClaimed_[size_t(y)]; }
    void markRow(int y) {
        if (y >= 0 && y < h_) rowClaimed_[size_t(y)] = 1;
    }
    QRgb pixel(int x, int y) const { return reinterpret_cast<const QRgb*>(img_->constScanLine(y))[x]; }
    const QImage& image() const { return *img_; }

private:
    QImage converted_;
    const QImage* img_;
    int w_, h_;
    std::vector<std::uint8_t> claimed_;
    std::vector<std::uint8_t> rowClaimed_;
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
                               std::vector<int>* unread = nullptr, int* inkRead = nullptr) const;

    // Claims the ink of the characters read.
    void claim(InkView& ink, int top, const std::vector<ReadChar>& chars) const;

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
