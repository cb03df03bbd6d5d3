#pragma once
// The page bitmap: the score itself. White ground, black ink, RGB32.
//
// The logical width W can change without reallocating (line justification
// widens the page by 50 pixels for a moment), so the storage is kept a little
// wider than the page. Every operation clips to the logical page.
//
// Undo: while a recording is open (the editor's History opens one per user
// action), every writer first hands the rectangle it is about to change to
// aboutToWrite(), which keeps the pixels as they were; endRecording() returns
// what changed. A new writer must call aboutToWrite() before it changes a
// pixel, or its change cannot be undone.

#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

class QFont;
#include <vector>

#include "PageDelta.h"

namespace qn {

class Page {
public:
    Page(int width = 668, int height = 945);

    int width() const { return w_; }
    int height() const { return h_; }

    // Changes the page size. Content keeps its place; uncovered pixels are white.
    // What a smaller page cuts off is recorded, so an undone resize gives it back.
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

    // ---- Undo recording
    void beginRecording();
    PageDelta endRecording();  // closes the recording
    bool isRecording() const { return recording_; }
    // Puts the page (size and pixels) back as it was before, or after, a recorded change.
    void restore(const PageDelta& delta, bool after);
    // Writes and size changes made while no recording was open (loading and
    // clearing a document; anything else is a writer outside any undo step).
    quint64 unrecordedChanges() const { return unrecorded_; }

private:
    void ensureCapacity(int width, int height);
    void resizeStorage(int width, int height);
    // Every writer calls this with the rectangle it is about to change.
    void aboutToWrite(const QRect& r, bool ink = true);
    // Raises the rows' ink bounds to the rectangle's right edge.
    void markInk(const QRect& c);
    void keepBefore(const QRect& r);
    // Records a sideways move of the rows of d by dx, before it is made.
    void recordShift(const QRect& d, int dx);
    // Ends the pixel operation recorded so far (before a shift, at the end).
    void flushPixels();
    void restoreRows(const std::uint8_t* p, const std::uint8_t* end, bool after);

    // The before pixels of one row while recording: px[x] for x in the hull
    // [x0, x1) of what was written. The buffer spans the row and is kept.
    // Rows of the storage, found once per operation: scanLine() would check
    // for a shared copy on every row.
    QRgb* writableRows() { return reinterpret_cast<QRgb*>(img_.bits()); }
    const QRgb* rows() const { return reinterpret_cast<const QRgb*>(img_.constBits()); }
    qsizetype rowPixels() const { return img_.bytesPerLine() / 4; }

    struct SavedRow {
        int x0 = 0, x1 = 0;
        std::vector<QRgb> px;
    };

    QImage img_;
    int w_ = 0;
    int h_ = 0;
    quint64 generation_ = 0;
    quint64 unrecorded_ = 0;
    bool recording_ = false;
    QSize recordedSize_;
    QSize segmentSize_;           // the page size when the open pixel operation began
    std::vector<std::uint8_t> ops_;  // the operations recorded so far
    std::vector<QRgb> chunk_;        // a shift's kept pixels, row after row
    // Per storage row: every page pixel at or right of this x is white. Kept
    // by every writer; lets a shift or a cut of white over white do nothing.
    std::vector<int> inkEnd_;
    std::vector<SavedRow> saved_;  // by row; kept between recordings to reuse its buffers
    std::vector<int> touched_;     // rows with a saved span
    std::vector<std::uint8_t> encoded_;     // endRecording's working buffer
    std::vector<std::uint8_t> rowScratch_;  // runs being encoded; only grows
};

}  // namespace qn
