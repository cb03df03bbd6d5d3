#pragma once
// What one undo step changed on the page: the changed pixels of every touched
// row, before and after, and the page size before and after. Rows are kept
// run-length encoded (a page is mostly white and black), and only the pixels
// that really changed are kept: an insert shift that pushes white into white
// costs nothing.

#include <QRect>
#include <QSize>
#include <cstdint>
#include <vector>

namespace qn {

class PageDelta {
public:
    // Nothing changed: neither a pixel nor the size.
    bool isEmpty() const { return rows_.empty() && before_ == after_; }
    QSize sizeBefore() const { return before_; }
    QSize sizeAfter() const { return after_; }
    // The union of the changed pixels (empty when only the size changed).
    QRect dirtyRect() const { return dirty_; }
    // Heap bytes held by the encoded rows.
    size_t bytes() const { return rows_.capacity(); }

private:
    friend class Page;
    QSize before_, after_;
    QRect dirty_;
    // Per row, in varints: the row step from the previous row, x, count << 1 |
    // own-after-span [, after x, after count], the byte counts of both sides'
    // runs; then the runs of the before pixels and of the after pixels. A run
    // is varint(length << 2 | kind): 0 white, 1 black, 2 one other colour (4
    // bytes follow).
    std::vector<std::uint8_t> rows_;
};

}  // namespace qn
