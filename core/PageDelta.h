#pragma once
// What one undo step changed on the page, as a sequence of operations put
// back in reverse for an undo and in order for a redo:
// - changed pixels: of every touched row the pixels that really changed, before
//   and after, run-length encoded (a page is mostly white and black), with the
//   page size before and after;
// - row shifts: a band of rows whose segment moved sideways (an insert or a
//   backspace sliding the rest of the line), kept as the move itself plus the
//   pixels it pushed off the segment's end, never as a copy of the line.

#include <QRect>
#include <QSize>
#include <cstdint>
#include <vector>

namespace qn {

class PageDelta {
public:
    // Nothing changed: neither a pixel nor the size.
    bool isEmpty() const { return ops_.empty() && before_ == after_; }
    QSize sizeBefore() const { return before_; }
    QSize sizeAfter() const { return after_; }
    // Heap bytes held by the encoded operations.
    size_t bytes() const { return ops_.capacity(); }

private:
    friend class Page;
    QSize before_, after_;
    // Operations, each a varint kind first.
    // Pixels (0, or 2 with the width and height before and after where the page
    //   changed size): the byte count of the rows,
    //   then per row, in varints: the row step from the previous row, x,
    //   count << 1 | own-after-span [, after x, after count], the byte counts of
    //   both sides' runs; then the runs of the before and of the after pixels.
    // Shift (1): first row, row count, the moved
    //   segment's destination [x0, x1), the move dx (zigzag), the byte count of
    //   the kept runs, then the runs of the pixels the move overwrote without
    //   carrying them along, row after row.
    // A run is varint(length << 2 | kind): 0 white, 1 black, 2 one other
    // colour (4 bytes follow).
    std::vector<std::uint8_t> ops_;
};

}  // namespace qn
