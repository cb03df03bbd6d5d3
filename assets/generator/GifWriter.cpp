#include "GifWriter.h"

#include "Output.h"

#include <cstdint>
#include <map>
#include <vector>

namespace assetgen {

namespace {

void PutWord(QByteArray& out, int v) {
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>((v >> 8) & 0xFF));
}

// Packs variable-width codes LSB first and cuts them into data sub-blocks.
class CodeWriter {
public:
    void put(int code, int width) {
        acc_ |= static_cast<std::uint32_t>(code) << bits_;
        bits_ += width;
        while (bits_ >= 8) {
            bytes_.push_back(static_cast<std::uint8_t>(acc_ & 0xFF));
            acc_ >>= 8;
            bits_ -= 8;
        }
    }
    void finish(QByteArray& out) {
        if (bits_ > 0) bytes_.push_back(static_cast<std::uint8_t>(acc_ & 0xFF));
        for (std::size_t i = 0; i < bytes_.size(); i += 255) {
            const std::size_t n = std::min<std::size_t>(255, bytes_.size() - i);
            out.append(static_cast<char>(n));
            out.append(reinterpret_cast<const char*>(bytes_.data() + i), static_cast<int>(n));
        }
        out.append('\0');
    }

private:
    std::vector<std::uint8_t> bytes_;
    std::uint32_t acc_ = 0;
    int bits_ = 0;
};

// GIF's LZW: the code width grows when the next code would not fit, and the
// table restarts with a clear code once all 4096 codes are taken.
void Lzw(const std::vector<std::uint8_t>& pixels, int minCodeSize, QByteArray& out) {
    const int clear = 1 << minCodeSize, end = clear + 1;
    CodeWriter w;
    std::map<std::pair<int, int>, int> table;
    int width = minCodeSize + 1, next = end + 1;
    w.put(clear, width);

    int prefix = pixels.front();
    for (std::size_t i = 1; i < pixels.size(); ++i) {
        const int k = pixels[i];
        const auto hit = table.find({prefix, k});
        if (hit != table.end()) {
            prefix = hit->second;
            continue;
        }
        w.put(prefix, width);
        const int added = next++;
        table[{prefix, k}] = added;
        if (added >= (1 << width) && width < 12) ++width;
        if (added == 4095) {
            w.put(clear, width);
            table.clear();
            width = minCodeSize + 1;
            next = end + 1;
        }
        prefix = k;
    }
    w.put(prefix, width);
    w.put(end, width);
    out.append(static_cast<char>(minCodeSize));
    w.finish(out);
}

}  // namespace

QByteArray EncodeGif(const QImage& picture) {
    const QImage img = picture.convertToFormat(QImage::Format_ARGB32);
    const int w = img.width(), h = img.height();
    if (w <= 0 || h <= 0 || w > 0xFFFF || h > 0xFFFF) throw AssetError("GIF: bad picture size");

    std::vector<QRgb> palette{0xFFFFFFFFu};  // entry 0: the transparent ground
    std::map<QRgb, int> index;
    std::vector<std::uint8_t> pixels;
    pixels.reserve(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const QRgb p = img.pixel(x, y);
            const int a = qAlpha(p);
            if (a == 0) {
                pixels.push_back(0);
                continue;
            }
            if (a != 255) throw AssetError("GIF: partly transparent pixel");
            auto it = index.find(p);
            if (it == index.end()) {
                if (palette.size() == 256) throw AssetError("GIF: more than 255 colours");
                it = index.emplace(p, static_cast<int>(palette.size())).first;
                palette.push_back(p);
            }
            pixels.push_back(static_cast<std::uint8_t>(it->second));
        }
    }
    int bits = 1;
    while ((1u << bits) < palette.size()) ++bits;
    palette.resize(std::size_t{1} << bits, 0xFF000000u);

    QByteArray out("GIF89a");
    PutWord(out, w);
    PutWord(out, h);
    out.append(static_cast<char>(0x80 | ((bits - 1) << 4) | (bits - 1)));  // global table
    out.append('\0');  // background: entry 0
    out.append('\0');  // square pixels
    for (QRgb c : palette) {
        out.append(static_cast<char>(qRed(c)));
        out.append(static_cast<char>(qGreen(c)));
        out.append(static_cast<char>(qBlue(c)));
    }
    // Graphic control extension: entry 0 is transparent, no delay.
    out.append("\x21\xF9\x04\x01\x00\x00\x00\x00", 8);
    out.append('\x2C');
    PutWord(out, 0);
    PutWord(out, 0);
    PutWord(out, w);
    PutWord(out, h);
    out.append('\0');  // no local table, not interlaced
    Lzw(pixels, bits < 2 ? 2 : bits, out);
    out.append('\x3B');
    return out;
}

}  // namespace assetgen
