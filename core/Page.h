#pragma once
// The page bitmap: the score itself. White ground, black ink, RGB32.
//
// The logical width W can change without reallocating (line justification
// widens the page by 50 pixels for a moment), so the storage is kept a little
// wider than the page. Every operation clips to the logical page.

#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

class QFont;

namespace qn {

class Page {
public:
    Page(int width = 668, int height = 945);

    int width() const { return w_; }
    int height() const { return h_; }

    // Changes the page size. Content keeps its place; uncovered pixels are white.
    void resize(int width, int height);

    // Ink is exactly RGB(0, 0, 0); a pixel outside the page is never ink.
    bool isInk(int x, int y) const;
    QRgb pixel(int x, int y) const;  // 0xFFRRGGBB; outside the page: white

    // Plain copy of src's srcRect to dst (PaintPicture): replaces white pixels too.
    void paintPicture(const QImage& src, const QRect& srcRect, int dstX, int dstY);
    // Moves a rectangle of the page to (dstX, dstY) as if the source were read
    // completely first (BitBlt of the page onto itself). Only pixels whose source
    // and destination both lie on the page are copied; the rest stay as they were.
    void bitBlt(const QRect& src, int dstX, int dstY);
    void fillWhite(const QRect& r);
    void clear();
    // Copies only the ink (pure black) pixels of src to (dstX, dstY); every
    // other pixel of the page keeps its colour.
    void paintInk(const QImage& src, int dstX, int dstY);
    // Draws one line of text in pure black, without smoothing, with the top-left
    // of its line box at (left, top). Returns the page area it may have touched.
    QRect drawText(int left, int top, const QString& text, const QFont& font);

    // Prints text with its character cell's top-left corner at (x, top), as the
    // canvas prints at its text cursor, and returns the advance: where the
    // cursor stands after the text is x plus that. Never smoothed, so black
    // text is ink like a stamped glyph. clip, when given, limits the pixels
    // written further.
    int drawText(int x, int top, const QString& text, const QFont& font, QRgb colour,
                 const QRect& clip = QRect());
    // Sets the pixels where mask (Format_Alpha8) is non-zero to colour, the
    // mask's top-left corner at (x, y): a pre-rendered text printed again.
    void paintMask(const QImage& mask, int x, int y, QRgb colour, const QRect& clip = QRect());

    // A copy of the page at its logical size (for saving, export and display).
    QImage image() const;
    // The storage; its left W x H part is the page.
    const QImage& storage() const { return img_; }

    // Grows with every change of the page's pixels (not with a resize): the
    // window compares it to know whether the page changed since the last save.
    quint64 generation() const { return generation_; }

private:
    void ensureCapacity(int width, int height);
    QImage img_;
    int w_ = 0;
    int h_ = 0;
    quint64 generation_ = 0;
};

}  // namespace qn
