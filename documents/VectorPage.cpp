#include "VectorPage.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QPagedPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QRawFont>
#include <QSvgGenerator>
#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <memory>
#include <tuple>

#include "Atlas.h"
#include "EditorState.h"
#include "PageReader.h"
#include "Slur.h"
#include "SongFont.h"

namespace qn {

namespace {

// ---- Cell designs, made once from the atlases

// The glyphs a cell's main shape is drawn as.
enum Design {
    kDigit0 = 0,       // 0..9: the note digits
    kSyllable0 = 10,   // 10..14: 冬 X 仓 次 板
    kSharp = 15,
    kFlat,
    kNatural,
    kOpenBracket,
    kCloseBracket,
    kDesigns
};

struct Part {
    VectorPage::Shape::Kind kind = VectorPage::Shape::Box;
    QRect box;                 // cell pixels
    std::vector<QPoint> ink;   // cell pixels
    int design = -1;
    QPointF centre;            // the ink's centre of mass, cell pixels
};

// Which outline a code's glyph is, or -1 for codes made of geometry only.
int designOf(int code) {
    if (code >= 0 && code <= 34) return kDigit0 + code % 7 + 1;
    if (code == 35) return kDigit0;
    if (code >= 36 && code <= 40) return kSyllable0 + code - 36;
    switch (code) {
    case 106: case 201: return kNatural;
    case 107: case 202: return kSharp;
    case 108: case 203: return kFlat;
    case 113: case 209: return kOpenBracket;
    case 114: case 210: return kCloseBracket;
    default: return -1;
    }
}

bool atlasInk(const QImage& atlas, int x, int y) {
    return x >= 0 && y >= 0 && x < atlas.width() && y < atlas.height() && (atlas.pixel(x, y) & 0xFFFFFFu) == 0;
}

// The atlas cell's ink in parts: solid rectangles (beams, dashes, bar lines),
// small solid squares (dots) and, where the code has a glyph, the glyph.
std::vector<Part> partsOf(const QImage& atlas, QRect cell, int code) {
    const int w = cell.width(), h = cell.height();
    std::vector<int> label(size_t(w * h), -1);
    std::vector<std::vector<QPoint>> comps;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (label[size_t(y * w + x)] >= 0 || !atlasInk(atlas, cell.x() + x, cell.y() + y)) continue;
            const int id = int(comps.size());
            comps.emplace_back();
            std::vector<QPoint> stack{QPoint(x, y)};
            label[size_t(y * w + x)] = id;
            while (!stack.empty()) {
                const QPoint p = stack.back();
                stack.pop_back();
                comps[size_t(id)].push_back(p);
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = p.x() + dx, ny = p.y() + dy;
                        if (nx < 0 || ny < 0 || nx >= w || ny >= h || label[size_t(ny * w + nx)] >= 0) continue;
                        if (!atlasInk(atlas, cell.x() + nx, cell.y() + ny)) continue;
                        label[size_t(ny * w + nx)] = id;
                        stack.push_back(QPoint(nx, ny));
                    }
            }
        }
    const int design = designOf(code);
    const bool syllable = design >= kSyllable0 && design < kSyllable0 + 5;
    std::vector<Part> parts;
    Part glyph;
    glyph.kind = VectorPage::Shape::Outline;
    glyph.design = design;
    for (const auto& c : comps) {
        QRect box;
        for (const QPoint& p : c) box |= QRect(p, QSize(1, 1));
        const bool solid = int(c.size()) == box.width() * box.height();
        const bool beam = solid && box.height() <= 2 && box.width() >= w - 1;
        // A syllable's strokes may fall apart into pieces; all of them but the beams are the glyph.
        if (design >= 0 && (!solid || (syllable && !beam))) {
            glyph.box |= box;
            glyph.ink.insert(glyph.ink.end(), c.begin(), c.end());
            continue;
        }
        Part part;
        part.kind = solid && box.width() <= 4 && box.height() <= 4 ? VectorPage::Shape::Dot : VectorPage::Shape::Box;
        part.box = box;
        part.ink = c;
        parts.push_back(part);
    }
    if (!glyph.ink.empty()) {
        double x = 0, y = 0;
        for (const QPoint& p : glyph.ink) {
            x += p.x() + 0.5;
            y += p.y() + 0.5;
        }
        glyph.centre = QPointF(x / glyph.ink.size(), y / glyph.ink.size());
        parts.push_back(glyph);
    }
    return parts;
}

struct CellDesigns {
    // Note cells by code * 4 + beams; ornament cells by code.
    QHash<int, std::vector<Part>> parts;

    static const CellDesigns& instance() {
        static const CellDesigns d;
        return d;
    }
    const std::vector<Part>* find(int code, int beams) const {
        const auto it = parts.constFind(code < 100 ? code * 4 + beams : 1000 + code);
        return it == parts.constEnd() ? nullptr : &it.value();
    }

private:
    CellDesigns() {
        const QImage& note = Picmode();
        const QImage& ornament = Picmode2();
        for (int beams = 0; beams <= 3; ++beams)
            for (int code = 0; code <= 41; ++code)
                parts.insert(code * 4 + beams, partsOf(note, NoteCellRect(code, beams), code));
        for (int code = 100; code <= 119; ++code)
            parts.insert(1000 + code, partsOf(ornament, OrnamentCellRect(code, 0, geom::LineHeight), code));
        for (int code = 200; code <= 214; ++code)
            parts.insert(1000 + code, partsOf(ornament, OrnamentCellRect(code, 0, geom::LineHeight), code));
    }
};

// The faces each cell glyph is drawn in: clean faces from Debian's fonts,
// written as text (a PDF embeds each face once; the digits stay searchable)
// and fitted into the box the atlas glyph fills. Digits, X, accidentals and
// brackets from DejaVu Sans (Bold; its figures have the atlas digits' even
// strokes), the Chinese syllables from the Song face the page's texts use.
// One set per thread: fonts are not shared between threads.
struct GlyphFaces {
    struct Face {
        QFont font;
        QString text;
        QRawFont raw;
        quint32 glyph = 0;
        QRectF bounds;    // the glyph's ink relative to its origin on the baseline
        QPointF centre;   // the ink's centre of mass, relative to the same
    };
    std::array<Face, kDesigns> faces;

    static const GlyphFaces& forThisThread() {
        thread_local const GlyphFaces f;
        return f;
    }

private:
    GlyphFaces() {
        QFont sans(QStringLiteral("DejaVu Sans"));
        sans.setPixelSize(kReference);
        sans.setBold(true);
        QFont signs(QStringLiteral("DejaVu Sans"));
        signs.setPixelSize(kReference);
        const QFont song = SongFont(kReference, true);
        for (int d = 0; d <= 9; ++d) set(kDigit0 + d, sans, QString::number(d));
        const char16_t syllables[] = {u'冬', u'X', u'仓', u'次', u'板'};
        for (int i = 0; i < 5; ++i) set(kSyllable0 + i, i == 1 ? sans : song, QString(QChar(syllables[i])));
        set(kSharp, signs, QString(QChar(0x266F)));
        set(kFlat, signs, QString(QChar(0x266D)));
        set(kNatural, signs, QString(QChar(0x266E)));
        set(kOpenBracket, sans, QStringLiteral("("));
        set(kCloseBracket, sans, QStringLiteral(")"));
    }
    static constexpr int kReference = 100;  // pixels: large enough that the fit is exact
    void set(int design, const QFont& font, const QString& text) {
        Face& f = faces[size_t(design)];
        f.font = font;
        f.text = text;
        f.raw = QRawFont::fromFont(font);
        const QList<quint32> glyphs = f.raw.glyphIndexesForString(text);
        if (glyphs.isEmpty()) return;
        f.glyph = glyphs.front();
        const QPainterPath path = f.raw.pathForGlyph(f.glyph);
        f.bounds = path.boundingRect();
        // The centre of mass of the ink, from the glyph filled at the reference size.
        const QRect area = f.bounds.toAlignedRect();
        QImage img(area.size(), QImage::Format_Grayscale8);
        img.fill(255);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.translate(-area.topLeft());
        p.fillPath(path, Qt::black);
        p.end();
        double sx = 0, sy = 0, sw = 0;
        for (int y = 0; y < img.height(); ++y) {
            const uchar* row = img.constScanLine(y);
            for (int x = 0; x < img.width(); ++x) {
                const double dark = 255 - row[x];
                sx += dark * (x + 0.5);
                sy += dark * (y + 0.5);
                sw += dark;
            }
        }
        f.centre = sw > 0 ? QPointF(sx / sw + area.left(), sy / sw + area.top()) : f.bounds.center();
    }
};

// ---- The arc picture as a curve

// The centre line of the arc picture, in its pixels: a flat crown on rows 0..1
// between two quarter-ellipse shoulders down to the bottom corners, stroked
// two pixels wide.
const QPainterPath& arcOutline() {
    static const QPainterPath outline = [] {
        constexpr double kW = kImage4Width, kFlat = 149, a = kFlat - 0.5, b = kImage4Height - 1.5;
        QPainterPath centre;
        constexpr int kSteps = 48;
        for (int i = 0; i <= kSteps; ++i) {
            const double t = (M_PI / 2) * (kSteps - i) / kSteps;  // bottom left to the crown
            const QPointF p(kFlat - a * std::sin(t), kImage4Height - 1 - b * std::cos(t) + 0.5 * std::cos(t));
            if (i == 0) centre.moveTo(p);
            else centre.lineTo(p);
        }
        centre.lineTo(kW - kFlat, 1);
        for (int i = 0; i <= kSteps; ++i) {
            const double t = (M_PI / 2) * i / kSteps;
            centre.lineTo(kW - (kFlat - a * std::sin(t)), kImage4Height - 1 - b * std::cos(t) + 0.5 * std::cos(t));
        }
        QPainterPathStroker stroker;
        stroker.setWidth(2);
        stroker.setCapStyle(Qt::FlatCap);
        stroker.setJoinStyle(Qt::RoundJoin);
        return stroker.createStroke(centre).simplified();
    }();
    return outline;
}

QPainterPath arcPiece(const score::ArcMark& arc) {
    if (arc.source.isEmpty() || arc.target.isEmpty()) return {};
    QTransform t;
    t.translate(arc.target.x(), arc.target.y());
    t.scale(double(arc.target.width()) / arc.source.width(), double(arc.target.height()) / arc.source.height());
    t.translate(-arc.source.x(), -arc.source.y());
    QPainterPath clip;
    clip.addRect(QRectF(arc.target));
    return t.map(arcOutline()).intersected(clip);
}

// ---- Laying out

// The ink still to explain: black or coloured, opaque; explained pixels become transparent.
bool isBlack(const QImage& ink, int x, int y) {
    return x >= 0 && y >= 0 && x < ink.width() && y < ink.height() &&
           reinterpret_cast<const QRgb*>(ink.constScanLine(y))[x] == 0xFF000000u;
}
void clearPixel(QImage& ink, int x, int y) { reinterpret_cast<QRgb*>(ink.scanLine(y))[x] = 0; }

// Rectangles on one row band that touch become one, so no seam shows between
// a note's beam and the strip that carries it on.
void mergeBoxes(std::vector<QRect>& boxes) {
    std::sort(boxes.begin(), boxes.end(), [](const QRect& a, const QRect& b) {
        return std::tuple(a.top(), a.height(), a.left()) < std::tuple(b.top(), b.height(), b.left());
    });
    std::vector<QRect> out;
    for (const QRect& r : boxes) {
        if (!out.empty() && out.back().top() == r.top() && out.back().height() == r.height() &&
            r.left() <= out.back().right() + 1) {
            out.back().setRight(std::max(out.back().right(), r.right()));
            continue;
        }
        out.push_back(r);
    }
    boxes = std::move(out);
}

void layOutCell(const score::PageSymbol& s, QImage& ink, std::vector<QRect>& boxes, VectorPage& v) {
    const std::vector<Part>* parts = CellDesigns::instance().find(s.code, s.beams);
    if (!parts) return;
    const int x0 = s.position.x, y0 = s.position.top;
    ++v.recognisedCells;
    for (const Part& part : *parts) {
        // Only what the page shows of the cell: a band may have cut it.
        QRect present;
        int count = 0;
        for (const QPoint& p : part.ink)
            if (isBlack(ink, x0 + p.x(), y0 + p.y())) {
                present |= QRect(x0 + p.x(), y0 + p.y(), 1, 1);
                ++count;
            }
        if (count == 0) continue;
        if (part.kind != VectorPage::Shape::Box && count * 2 < int(part.ink.size())) continue;
        for (const QPoint& p : part.ink)
            if (isBlack(ink, x0 + p.x(), y0 + p.y())) clearPixel(ink, x0 + p.x(), y0 + p.y());
        if (part.kind == VectorPage::Shape::Box) {
            boxes.push_back(present);
            continue;
        }
        VectorPage::Shape shape;
        shape.kind = part.kind;
        shape.box = QRectF(part.box.translated(x0, y0));
        shape.centre = part.centre + QPointF(x0, y0);
        shape.design = part.design;
        v.shapes.push_back(shape);
    }
}

// Beam lines between cells (the spacing strips, bridged gaps): black runs on a
// band's beam rows with nothing directly above or below them.
void layOutLooseBeams(QImage& ink, int linePitch, std::vector<QRect>& boxes) {
    for (int top = geom::FirstLineTop; top < ink.height(); top += linePitch)
        for (const int row : {26, 28, 30}) {
            const int y = top + row;
            if (y + 1 >= ink.height()) break;
            for (int x = 0; x < ink.width();) {
                const auto beamPixel = [&](int px) {
                    return isBlack(ink, px, y) && !isBlack(ink, px, y - 1) && !isBlack(ink, px, y + 1);
                };
                if (!beamPixel(x)) {
                    ++x;
                    continue;
                }
                const int first = x;
                while (x < ink.width() && beamPixel(x)) clearPixel(ink, x++, y);
                boxes.push_back(QRect(first, y, x - first, 1));
            }
        }
}

// The ink left: cropped to its bounds, 1-bit when it is all black.
void keepResidual(const QImage& ink, VectorPage& v) {
    int left = ink.width(), top = ink.height(), right = -1, bottom = -1;
    bool colour = false;
    for (int y = 0; y < ink.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(ink.constScanLine(y));
        for (int x = 0; x < ink.width(); ++x) {
            if (qAlpha(row[x]) == 0) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
            colour = colour || row[x] != 0xFF000000u;
        }
    }
    if (right < 0) return;
    const QRect r(left, top, right - left + 1, bottom - top + 1);
    v.residualAt = r.topLeft();
    if (colour) {
        QImage out(r.size(), QImage::Format_RGB32);
        out.fill(Qt::white);
        for (int y = 0; y < r.height(); ++y) {
            const auto* in = reinterpret_cast<const QRgb*>(ink.constScanLine(r.top() + y)) + r.left();
            auto* o = reinterpret_cast<QRgb*>(out.scanLine(y));
            for (int x = 0; x < r.width(); ++x)
                if (qAlpha(in[x])) o[x] = in[x];
        }
        v.residual = out;
        return;
    }
    // Black and white in this order, the form a PDF keeps as a 1-bit grey image.
    QImage out(r.size(), QImage::Format_Mono);
    out.setColorTable({0xFF000000u, 0xFFFFFFFFu});
    out.fill(1);
    for (int y = 0; y < r.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(ink.constScanLine(r.top() + y)) + r.left();
        for (int x = 0; x < r.width(); ++x)
            if (qAlpha(in[x])) out.setPixel(x, y, 0);
    }
    v.residual = out;
}

// Each glyph in the design's face, scaled so its ink is as wide and high as
// the atlas glyph's box, with the centres of mass of both inks at one place.
void drawGlyphs(QPainter& p, const std::map<std::tuple<int, double, double>, std::vector<QPointF>>& groups) {
    const GlyphFaces& faces = GlyphFaces::forThisThread();
    // The SVG writer keeps only the text of a text item, not its glyphs: there
    // each glyph is written as its character.
    const bool svg = p.paintEngine() && p.paintEngine()->type() == QPaintEngine::SVG;
    for (const auto& [key, places] : groups) {
        const auto& [design, w, h] = key;
        const GlyphFaces::Face& face = faces.faces[size_t(design)];
        if (face.bounds.isEmpty()) continue;
        const double sx = w / face.bounds.width(), sy = h / face.bounds.height();
        p.save();
        p.scale(sx, sy);
        p.setPen(Qt::black);
        std::vector<QPointF> origins;
        origins.reserve(places.size());
        for (const QPointF& centre : places)
            origins.push_back(QPointF(centre.x() / sx - face.centre.x(), centre.y() / sy - face.centre.y()));
        if (svg) {
            p.setFont(face.font);
            for (const QPointF& o : origins) p.drawText(o, face.text);
        } else {
            QGlyphRun run;
            run.setRawFont(face.raw);
            run.setGlyphIndexes(QList<quint32>(qsizetype(origins.size()), face.glyph));
            run.setPositions(QList<QPointF>(origins.begin(), origins.end()));
            p.drawGlyphRun(QPointF(0, 0), run);
        }
        p.restore();
    }
}

// The texts read, as runs: characters of one line of text that stand where the
// face's advances (with blanks between words) put them become one text, so a
// lyric line is written as a line and found as one.
void layOutTexts(const std::vector<score::TextMark>& marks, VectorPage& v) {
    struct Face {
        QFontMetricsF metrics;
        double ascent, space;
    };
    QHash<quint64, std::shared_ptr<Face>> faces;
    const auto faceOf = [&](const score::TextMark& t) -> const Face& {
        const quint64 key = quint64(t.pixelSize) << 1 | quint64(t.bold);
        auto it = faces.find(key);
        if (it == faces.end()) {
            const QFontMetricsF m(SongFont(t.pixelSize, t.bold));
            it = faces.insert(key, std::make_shared<Face>(Face{m, m.ascent(), m.horizontalAdvance(QLatin1Char(' '))}));
        }
        return *it.value();
    };
    bool open = false;   // the last text is a run of characters that may go on
    int runTop = 0;
    double runEnd = 0;   // where the face's advances put the run's next character
    for (const score::TextMark& t : marks) {
        // Chord texts keep their padding blanks: the cursor is where the program began them.
        if (t.text.trimmed().isEmpty()) continue;
        const Face& f = faceOf(t);
        if (open && t.text.size() == 1) {
            VectorPage::Text& run = v.texts.back();
            if (run.pixelSize == t.pixelSize && run.bold == t.bold && run.colour == t.colour && runTop == t.top) {
                const double gap = (t.x - runEnd) / std::max(1.0, f.space);
                const int blanks = int(std::lround(gap));
                if (blanks >= 0 && blanks <= 12 && std::abs(runEnd + blanks * f.space - t.x) <= 1.0) {
                    run.text += QString(blanks, QLatin1Char(' ')) + t.text;
                    runEnd += blanks * f.space + f.metrics.horizontalAdvance(t.text[0]);
                    continue;
                }
            }
        }
        v.texts.push_back(VectorPage::Text{t.text, QPointF(t.x, t.top + f.ascent), t.pixelSize, t.bold, t.colour});
        open = t.text.size() == 1;
        runTop = t.top;
        runEnd = t.x + f.metrics.horizontalAdvance(t.text);
    }
}

}  // namespace

VectorPage LayOutVectorPage(const QImage& page, int linePitch) {
    VectorPage v;
    score::PageDrawingRead read = score::ReadPageForDrawing(page, page.width(), page.height(), linePitch);
    QImage& ink = read.unexplained;
    if (ink.isNull()) return v;
    std::vector<QRect> boxes;
    for (const score::PageSymbol& s : read.cells.symbols) layOutCell(s, ink, boxes, v);
    if (linePitch >= 1) layOutLooseBeams(ink, linePitch, boxes);
    mergeBoxes(boxes);
    for (const QRect& b : boxes) v.shapes.push_back(VectorPage::Shape{VectorPage::Shape::Box, QRectF(b), {}, 0});
    for (const score::ArcMark& a : read.arcs) {
        QPainterPath path = arcPiece(a);
        if (!path.isEmpty()) v.arcs.push_back(std::move(path));
    }
    layOutTexts(read.texts, v);
    keepResidual(ink, v);
    return v;
}

void DrawVectorComposition(QPainter& p, const PageComposition& c, const VectorPage& v) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setRenderHint(QPainter::LosslessImageRendering, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (!v.residual.isNull()) p.drawImage(v.residualAt, v.residual);
    QPainterPath boxes, dots;
    // Glyphs by design and box size: each group is one scale and one run of glyphs.
    std::map<std::tuple<int, double, double>, std::vector<QPointF>> glyphs;
    for (const VectorPage::Shape& s : v.shapes) {
        switch (s.kind) {
        case VectorPage::Shape::Box:
            boxes.addRect(s.box);
            break;
        case VectorPage::Shape::Dot: {
            // A round dot of the square's area (a short pair of pixels: as wide as long).
            const double d = s.box.width() == s.box.height() ? 2 * std::sqrt(s.box.width() * s.box.height() / M_PI)
                                                             : std::max(s.box.width(), s.box.height());
            dots.addEllipse(s.box.center(), d / 2, d / 2);
            break;
        }
        case VectorPage::Shape::Outline:
            if (s.design >= 0 && s.design < kDesigns)
                glyphs[{s.design, s.box.width(), s.box.height()}].push_back(s.centre);
            break;
        }
    }
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawPath(boxes);
    p.drawPath(dots);
    drawGlyphs(p, glyphs);
    for (const QPainterPath& arc : v.arcs) p.drawPath(arc);
    // By face and colour, so the face changes only a few times (each change is
    // a new group in an SVG).
    std::vector<const VectorPage::Text*> texts;
    for (const VectorPage::Text& t : v.texts) texts.push_back(&t);
    std::stable_sort(texts.begin(), texts.end(), [](const VectorPage::Text* a, const VectorPage::Text* b) {
        return std::tuple(a->pixelSize, a->bold, a->colour) < std::tuple(b->pixelSize, b->bold, b->colour);
    });
    const VectorPage::Text* last = nullptr;
    for (const VectorPage::Text* t : texts) {
        if (!last || last->pixelSize != t->pixelSize || last->bold != t->bold) p.setFont(SongFont(t->pixelSize, t->bold));
        if (!last || last->colour != t->colour) p.setPen(QColor::fromRgb(t->colour));
        p.drawText(t->baseline, t->text);
        last = t;
    }
    p.restore();
    DrawComposedItems(p, c);
}

void DrawVectorComposition(QPainter& p, const PageComposition& c) {
    DrawVectorComposition(p, c, LayOutVectorPage(c.page, c.facts.linePitch));
}

QImage ExactPicture(const QImage& picture) {
    const QImage shown = picture.convertToFormat(QImage::Format_RGB32);
    bool blackWhite = true, grey = true;
    for (int y = 0; y < shown.height() && grey; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(shown.constScanLine(y));
        for (int x = 0; x < shown.width(); ++x) {
            const QRgb px = row[x] & 0xFFFFFFu;
            if (px != 0 && px != 0xFFFFFFu) blackWhite = false;
            if (qRed(px) != qGreen(px) || qGreen(px) != qBlue(px)) {
                grey = false;
                break;
            }
        }
    }
    if (blackWhite) {
        QImage out(shown.size(), QImage::Format_Mono);
        out.setColorTable({0xFF000000u, 0xFFFFFFFFu});
        for (int y = 0; y < shown.height(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(shown.constScanLine(y));
            uchar* o = out.scanLine(y);
            std::fill(o, o + out.bytesPerLine(), uchar(0));
            for (int x = 0; x < shown.width(); ++x)
                if (row[x] & 0xFFFFFFu) o[x >> 3] |= uchar(0x80 >> (x & 7));
        }
        return out;
    }
    if (grey) return shown.convertToFormat(QImage::Format_Grayscale8);
    return shown;
}

bool RenderOnPagedDevice(const PageComposition& c, QPagedPaintDevice& device, PrintStyle style) {
    QPainter p;
    if (!p.begin(&device)) return false;
    const double width = device.width();  // the printable width in device pixels
    const double s = width / std::max(1, c.page.width());
    p.scale(s, s);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.setRenderHint(QPainter::LosslessImageRendering, true);
    if (style == PrintStyle::AsShown) {
        p.drawImage(QRect(0, 0, c.page.width(), c.page.height()), ExactPicture(RenderComposition(c)));
    } else {
        DrawVectorComposition(p, c);
    }
    return p.end();
}

QString WriteSvg(const PageComposition& c, QIODevice& out, PrintStyle style) {
    QSvgGenerator svg;
    svg.setOutputDevice(&out);
    svg.setSize(c.page.size());
    svg.setViewBox(QRect(QPoint(0, 0), c.page.size()));
    svg.setResolution(96);
    svg.setTitle(c.facts.title);
    svg.setDescription(QStringLiteral("Quillnote"));
    QPainter p;
    if (!p.begin(&svg)) return QStringLiteral("the SVG could not be started");
    if (style == PrintStyle::AsShown) {
        p.setRenderHint(QPainter::LosslessImageRendering, true);
        p.drawImage(QPoint(0, 0), ExactPicture(RenderComposition(c)));
    } else {
        DrawVectorComposition(p, c);
    }
    if (!p.end()) return QStringLiteral("the SVG could not be written");
    return {};
}

}  // namespace qn
