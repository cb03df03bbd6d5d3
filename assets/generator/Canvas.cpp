#include "Canvas.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace assetgen {

Glyph::Glyph(std::initializer_list<const char*> rows) {
    for (const char* r : rows) {
        const int n = static_cast<int>(std::strlen(r));
        std::vector<bool> row(n);
        for (int i = 0; i < n; ++i) row[i] = r[i] == '#';
        width_ = std::max(width_, n);
        rows_.push_back(std::move(row));
    }
    for (auto& row : rows_) row.resize(width_, false);
}

bool Glyph::ink(int x, int y) const {
    if (y < 0 || y >= height() || x < 0 || x >= width_) return false;
    return rows_[y][x];
}

Glyph Glyph::mirrored() const {
    Glyph m = *this;
    for (auto& row : m.rows_) std::reverse(row.begin(), row.end());
    return m;
}

Canvas::Canvas(int width, int height, QRgb ground, QImage::Format format)
    : img_(width, height, format) {
    img_.fill(ground);
}

void Canvas::set(int x, int y, QRgb c) {
    if (x < 0 || y < 0 || x >= img_.width() || y >= img_.height()) return;
    img_.setPixel(x, y, c);
}

void Canvas::hline(int x0, int x1, int y, QRgb c) {
    for (int x = x0; x <= x1; ++x) set(x, y, c);
}

void Canvas::vline(int x, int y0, int y1, QRgb c) {
    for (int y = y0; y <= y1; ++y) set(x, y, c);
}

void Canvas::fill(int x0, int y0, int x1, int y1, QRgb c) {
    for (int y = y0; y <= y1; ++y) hline(x0, x1, y, c);
}

void Canvas::line(int x0, int y0, int x1, int y1, QRgb c) {
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        set(x0, y0, c);
        if (x0 == x1 && y0 == y1) break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void Canvas::stamp(const Glyph& g, int x, int y, QRgb c) {
    for (int gy = 0; gy < g.height(); ++gy)
        for (int gx = 0; gx < g.width(); ++gx)
            if (g.ink(gx, gy)) set(x + gx, y + gy, c);
}

void Canvas::stampScaled(const Glyph& g, int x, int y, int scale, QRgb c) {
    for (int gy = 0; gy < g.height(); ++gy)
        for (int gx = 0; gx < g.width(); ++gx)
            if (g.ink(gx, gy))
                fill(x + gx * scale, y + gy * scale, x + gx * scale + scale - 1,
                     y + gy * scale + scale - 1, c);
}

}  // namespace assetgen
