#pragma once
// The region clipboard `Picture9`: a private bitmap holding the last region of
// the page copied with the mouse. Paste paints it at the caret; Clear empties it
// and whitens a rectangle of the selection's size. The system clipboard is not used.

#include <QImage>
#include <QRect>
#include <QSize>

#include "Page.h"

namespace qn {

class RegionClipboard {
public:
    static constexpr int kStartWidth = 417, kStartHeight = 49;  // as laid out, white

    RegionClipboard();

    // Replaces the content with the page's pixels under `region` (white where
    // the region lies off the page). An empty region copies nothing.
    void Copy(const Page& page, const QRect& region);

    // Paints the content with its top-left at (x, y), white parts included; the
    // part beyond the page is dropped. Before any copy it paints nothing and
    // returns false, so the caller can beep. `changed` gets the page area painted.
    bool Paste(Page& page, int x, int y, QRect* changed = nullptr) const;

    // Empties the content to white (keeping its size) and whitens the rectangle
    // of `size` at (x, y) on the page, even where it is larger than the content.
    // Returns the page area whitened.
    QRect Clear(Page& page, int x, int y, QSize size);

    bool HasCopy() const { return copied_; }
    const QImage& image() const { return image_; }

private:
    QImage image_;
    bool copied_ = false;
};

}  // namespace qn
