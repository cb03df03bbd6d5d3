#include "Package.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include "Glyphs.h"
#include "Installer.h"
#include "Output.h"

namespace assetgen {

namespace {

constexpr QRgb kEdge = 0xFF5A6E8Cu;  // the sheet's outline, as in the 64-pixel icon
constexpr QRgb kFold = 0xFFD2DAE6u;  // the turned-down corner

struct Shape {
    QPainterPath path;
    QRgb fill;
    bool outlined;  // a 1-unit outline in kEdge
};

// A sheet of paper with its top-right corner turned down, two digits under one
// beam and an octave dot: the 64-pixel icon of the installer, as shapes.
std::vector<Shape> IconShapes() {
    std::vector<Shape> shapes;
    QPainterPath sheet;
    sheet.addPolygon(QPolygonF({{7.5, 2.5}, {45.5, 2.5}, {56.5, 13.5}, {56.5, 61.5}, {7.5, 61.5}, {7.5, 2.5}}));
    shapes.push_back({sheet, kWhite, true});
    QPainterPath fold;
    fold.addPolygon(QPolygonF({{45.5, 2.5}, {45.5, 13.5}, {56.5, 13.5}, {45.5, 2.5}}));
    shapes.push_back({fold, kFold, true});

    QPainterPath ink;
    const std::pair<int, int> digits[] = {{5, 13}, {6, 35}};
    for (auto [d, left] : digits) {
        const Glyph& g = Digit(d);
        for (int y = 0; y < g.height(); ++y)
            for (int x = 0; x < g.width(); ++x)
                if (g.ink(x, y)) ink.addRect(left + 2 * x, 20 + 2 * y, 2, 2);
    }
    ink.addRect(13, 52, 38, 3);  // the beam
    ink.addRect(41, 11, 4, 4);   // the octave dot
    shapes.push_back({ink.simplified(), kInk, false});
    return shapes;
}

QString SvgColour(QRgb c) { return QStringLiteral("#%1").arg(c & 0xFFFFFFu, 6, 16, QLatin1Char('0')); }

QString SvgPath(const QPainterPath& path) {
    QString d;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        d += QStringLiteral("%1%2 %3 ").arg(e.isMoveTo() ? QStringLiteral("M") : QStringLiteral("L")).arg(e.x).arg(e.y);
    }
    return d + QStringLiteral("Z");
}

}  // namespace

QByteArray MakeIconSvg() {
    QString svg = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\" viewBox=\"0 0 64 64\">\n");
    for (const Shape& s : IconShapes()) {
        svg += QStringLiteral("  <path fill=\"%1\" fill-rule=\"nonzero\"").arg(SvgColour(s.fill));
        if (s.outlined) svg += QStringLiteral(" stroke=\"%1\" stroke-width=\"1\"").arg(SvgColour(kEdge));
        svg += QStringLiteral(" d=\"%1\"/>\n").arg(SvgPath(s.path));
    }
    svg += QStringLiteral("</svg>\n");
    return svg.toUtf8();
}

QImage RenderIcon(int size) {
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    for (const Shape& s : IconShapes()) {
        p.setPen(s.outlined ? QPen(QColor::fromRgba(kEdge), 1.0) : Qt::NoPen);
        p.setBrush(QColor::fromRgba(s.fill));
        p.drawPath(s.path);
    }
    p.end();
    return img;
}

void WritePackageFolder(const QString& dir) {
    MakeDir(dir + QStringLiteral("/applications"));
    WriteBytes(MakeDesktopEntry(), dir + QStringLiteral("/applications/quillnote.desktop"));
    for (int size : {48, 64, 128, 256}) {
        const QString apps = dir + QStringLiteral("/icons/hicolor/%1x%1/apps").arg(size);
        MakeDir(apps);
        SaveImage(RenderIcon(size), apps + QStringLiteral("/quillnote.png"), "PNG");
    }
    MakeDir(dir + QStringLiteral("/icons/hicolor/scalable/apps"));
    WriteBytes(MakeIconSvg(), dir + QStringLiteral("/icons/hicolor/scalable/apps/quillnote.svg"));
}

}  // namespace assetgen
