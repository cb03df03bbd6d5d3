#include "RegionClipboard.h"

#include <cstring>

namespace qn {

namespace {
constexpr QRgb kWhite = 0xFFFFFFFFu;
}

RegionClipboard::RegionClipboard() : image_(kStartWidth, kStartHeight, QImage::Format_RGB32) {
    image_.fill(kWhite);
}

void RegionClipboard::Copy(const Page& page, const QRect& region) {
    if (region.width() < 1 || region.height() < 1) return;
    QImage copy(region.size(), QImage::Format_RGB32);
    copy.fill(kWhite);
    const QRect on = region.intersected(QRect(0, 0, page.width(), page.height()));
    const QImage& src = page.storage();
    for (int y = on.top(); y <= on.bottom(); ++y)
        std::memcpy(copy.scanLine(y - region.y()) + size_t(on.x() - region.x()) * 4,
                    src.constScanLine(y) + size_t(on.x()) * 4, size_t(on.width()) * 4);
    image_ = std::move(copy);
    copied_ = true;
}

bool RegionClipboard::Paste(Page& page, int x, int y, QRect* changed) const {
    if (changed) *changed = QRect();
    if (!copied_) return false;
    page.paintPicture(image_, image_.rect(), x, y);
    if (changed) *changed = QRect(QPoint(x, y), image_.size()).intersected(QRect(0, 0, page.width(), page.height()));
    return true;
}

QRect RegionClipboard::Clear(Page& page, int x, int y, QSize size) {
    image_.fill(kWhite);
    const QRect area = QRect(QPoint(x, y), size).intersected(QRect(0, 0, page.width(), page.height()));
    if (!area.isEmpty()) page.fillWhite(area);
    return area;
}

}  // namespace qn
