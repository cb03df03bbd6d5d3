#include "Slur.h"

#include <algorithm>
#include <utility>

#include "EditorState.h"

namespace qn {

namespace {

// A piece whose bottom edge sits at y + 2 and which grows a pixel taller per
// 100 pixels of width.
QRect pieceTarget(int left, int y, int width) {
    const int top = RoundHalfEven((y - 5) - width / 100.0);
    return QRect(left, top, width, y + 2 - top);
}

bool isInk(QRgb c) { return (c & 0xFFFFFFu) == 0; }

}  // namespace

const QImage& Image4() {
    static const QImage img = [] {
        QImage loaded(QStringLiteral(":/picture/Image4.bmp"));
        if (loaded.isNull() || loaded.width() != kImage4Width || loaded.height() != kImage4Height) {
            // A missing built-in picture is a build fault: draw no arc rather than crash.
            QImage blank(kImage4Width, kImage4Height, QImage::Format_RGB32);
            blank.fill(0xFFFFFFFFu);
            return blank;
        }
        return loaded.convertToFormat(QImage::Format_RGB32);
    }();
    return img;
}

std::vector<SlurPiece> SlurPieces(int x1, int y1, int x2, int y2, int pageWidth) {
    std::vector<SlurPiece> pieces;
    if (y1 == y2) {
        if (x1 > x2) std::swap(x1, x2);
        const int s = x2 - x1;
        if (s > 0) pieces.push_back({QRect(0, 0, kImage4Width, kImage4Height), pieceTarget(x1, y1, s)});
        return pieces;
    }
    if (y1 > y2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    const int first = pageWidth - x1 - geom::RightLimitInset;
    if (first > 0)
        pieces.push_back({QRect(0, 0, kImage4HalfWidth, kImage4Height), pieceTarget(x1, y1, first)});
    const int second = x2 - geom::LeftMargin;
    if (second > 0)
        pieces.push_back({QRect(kImage4HalfWidth, 0, kImage4HalfWidth, kImage4Height),
                          pieceTarget(geom::LeftMargin, y2, second)});
    return pieces;
}

QImage ScaleInk(const QImage& src, const QRect& srcRect, QSize size) {
    QImage out(size, QImage::Format_RGB32);
    out.fill(0xFFFFFFFFu);
    const QRect s = srcRect.intersected(src.rect());
    if (s.isEmpty() || size.isEmpty()) return out;
    const QImage in = src.format() == QImage::Format_RGB32 ? src : src.convertToFormat(QImage::Format_RGB32);
    // Source span [from, to) of result column or row d out of n.
    auto span = [](int d, int n, int len, int& from, int& to) {
        from = int(qint64(d) * len / n);
        to = std::max(from + 1, int(qint64(d + 1) * len / n));
    };
    for (int dy = 0; dy < size.height(); ++dy) {
        int y0, y1;
        span(dy, size.height(), s.height(), y0, y1);
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(dy));
        for (int dx = 0; dx < size.width(); ++dx) {
            int x0, x1;
            span(dx, size.width(), s.width(), x0, x1);
            bool ink = false;
            for (int y = y0; y < y1 && !ink; ++y) {
                const auto* line = reinterpret_cast<const QRgb*>(in.constScanLine(s.y() + y)) + s.x();
                for (int x = x0; x < x1 && !ink; ++x) ink = isInk(line[x]);
            }
            if (ink) row[dx] = 0xFF000000u;
        }
    }
    return out;
}

QRect DrawSlur(Page& page, int x1, int y1, int x2, int y2) {
    QRect touched;
    for (const SlurPiece& piece : SlurPieces(x1, y1, x2, y2, page.width())) {
        page.paintInk(ScaleInk(Image4(), piece.source, piece.target.size()), piece.target.x(), piece.target.y());
        touched |= piece.target;
    }
    return touched.intersected(QRect(0, 0, page.width(), page.height()));
}

}  // namespace qn
