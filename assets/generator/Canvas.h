#pragma once
// Pixel-exact drawing on a QImage. Everything the editor probes is drawn here,
// one pixel at a time, so no antialiasing can turn ink grey.

#include <QImage>
#include <QRgb>

#include <initializer_list>
#include <vector>

namespace assetgen {

constexpr QRgb kWhite = 0xFFFFFFFFu;
constexpr QRgb kInk = 0xFF000000u;     // pure black: the only colour a probe counts as ink
constexpr QRgb kRed = 0xFFFF0000u;

// A hand-drawn bitmap: one string per row, '#' is ink, anything else ground.
class Glyph {
public:
    Glyph() = default;
    Glyph(std::initializer_list<const char*> rows);

    int width() const { return width_; }
    int height() const { return static_cast<int>(rows_.size()); }
    bool ink(int x, int y) const;
    Glyph mirrored() const;

private:
    std::vector<std::vector<bool>> rows_;
    int width_ = 0;
};

class Canvas {
public:
    Canvas(int width, int height, QRgb ground = kWhite,
           QImage::Format format = QImage::Format_RGB32);

    QImage& image() { return img_; }
    const QImage& image() const { return img_; }

    // All of these clip at the picture edge; coordinates are inclusive.
    void set(int x, int y, QRgb c = kInk);
    void hline(int x0, int x1, int y, QRgb c = kInk);
    void vline(int x, int y0, int y1, QRgb c = kInk);
    void fill(int x0, int y0, int x1, int y1, QRgb c = kInk);
    // A 1-pixel line without antialiasing (Bresenham).
    void line(int x0, int y0, int x1, int y1, QRgb c = kInk);
    void stamp(const Glyph& g, int x, int y, QRgb c = kInk);
    // Every ink pixel of the glyph becomes a scale x scale block.
    void stampScaled(const Glyph& g, int x, int y, int scale, QRgb c = kInk);

private:
    QImage img_;
};

}  // namespace assetgen
