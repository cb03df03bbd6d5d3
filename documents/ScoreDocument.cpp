#include "ScoreDocument.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace qn {

namespace {

using namespace sidecar;

constexpr int kMaxPageSide = 8192;  // far beyond any layout the sliders allow (3868 x 5470)
constexpr qint64 kCopyChunk = 1 << 20;

bool holds(const QByteArray& b, int offset, int width) { return offset + width <= b.size(); }

Integer int16At(const QByteArray& b, int offset) {
    return qFromLittleEndian<qint16>(b.constData() + offset);
}

void putInt16(QByteArray& b, int offset, Integer v) { qToLittleEndian<qint16>(v, b.data() + offset); }

void putFloat(QByteArray& b, int offset, Single v) {
    quint32 bits;
    std::memcpy(&bits, &v, sizeof bits);
    qToLittleEndian<quint32>(bits, b.data() + offset);
}

Single floatAt(const QByteArray& b, int offset) {
    const quint32 bits = qFromLittleEndian<quint32>(b.constData() + offset);
    Single v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

void putBytes(QByteArray& b, int offset, const QByteArray& bytes) {
    std::memcpy(b.data() + offset, bytes.constData(), size_t(bytes.size()));
}

// Only space padding is removed (and the zeros of a never-written field).
QString trimSpaces(const QString& s) {
    int from = 0, to = int(s.size());
    auto pad = [](QChar c) { return c == u' ' || c == QChar(0); };
    while (from < to && pad(s[from])) ++from;
    while (to > from && pad(s[to - 1])) --to;
    return s.mid(from, to - from);
}

void readRecords(const QByteArray& b, int countAt, int recordsAt, int max,
                 std::vector<OverlayRecord>& out) {
    const int stored = std::clamp<int>(int16At(b, countAt), 0, max);
    out.clear();
    for (int k = 0; k < stored; ++k) {
        const int at = recordsAt + RecordSize * k;
        if (!holds(b, at, RecordSize)) break;  // a cut-off file holds fewer records than it says
        out.push_back({int16At(b, at), int16At(b, at + 2), int16At(b, at + 4)});
    }
}

void writeRecords(QByteArray& b, int countAt, int recordsAt, int max,
                  const std::vector<OverlayRecord>& records) {
    const int n = std::min<int>(int(records.size()), max);
    for (int k = 0; k < n; ++k) {
        const int at = recordsAt + RecordSize * k;
        putInt16(b, at, records[size_t(k)].left);
        putInt16(b, at + 2, records[size_t(k)].top);
        putInt16(b, at + 4, records[size_t(k)].index);
    }
    putInt16(b, countAt, Integer(n));
}

QString describe(const QString& path, const QString& reason) {
    return QStringLiteral("%1: %2").arg(path, reason);
}

}  // namespace

QString SidecarPath(const QString& bitmapPath) {
    return bitmapPath.left(std::max<int>(0, int(bitmapPath.size()) - 3)) + QStringLiteral("dat");
}

QByteArray EncodeTextField(const QString& text) {
    const QString padded = text.left(TextFieldSize).leftJustified(TextFieldSize, u' ');
    QStringEncoder gbk("GBK");
    const QByteArray bytes = gbk.encode(padded);
    // Keep whole characters only: a GBK lead byte (0x81..0xFE) starts a pair.
    int cut = 0;
    while (cut < bytes.size()) {
        const int width = quint8(bytes[cut]) >= 0x81 ? 2 : 1;
        if (cut + width > TextFieldSize) break;
        cut += width;
    }
    return bytes.left(cut).leftJustified(TextFieldSize, ' ');
}

QString DecodeTextField(const QByteArray& field) {
    QStringDecoder gbk("GBK");
    return trimSpaces(gbk.decode(field));
}

QByteArray PatchSidecar(QByteArray b, const ScoreDocument& d) {
    int end = Tempo + TextFieldSize;
    end = std::max(end, TextRecords + RecordSize * int(std::min<size_t>(d.textOverlays.size(), MaxTextRecords)));
    end = std::max(end, PictureRecords +
                            RecordSize * int(std::min<size_t>(d.pictureOverlays.size(), MaxPictureRecords)));
    if (b.size() < end) b.append(end - b.size(), '\0');

    putInt16(b, BarWidth, d.barWidth);
    putInt16(b, BarsPerLine, d.barsPerLine);
    putInt16(b, LineSpacing, d.lineSpacing);
    b[StaffInput] = char(d.staffInput);
    b[GuideLines] = char(d.guideLines);
    b[SkipBarLines] = char(d.skipBarLines);
    b[AutoSpacing] = char(d.autoSpacing);
    b[StaffKey] = char(d.staffKey);
    for (int i = 0; i < 4; ++i) putFloat(b, Spacing0 + 4 * i, d.spacing[size_t(i)]);
    b[Numerator] = char(d.numeratorIndex);
    b[Denominator] = char(d.denominatorIndex);
    b[Key] = char(d.keyIndex);
    putBytes(b, Title, EncodeTextField(d.title));
    putInt16(b, PageNumber, d.pageNumber);
    writeRecords(b, TextCount, TextRecords, MaxTextRecords, d.textOverlays);
    writeRecords(b, PictureCount, PictureRecords, MaxPictureRecords, d.pictureOverlays);
    putBytes(b, Tempo, EncodeTextField(d.tempo));
    return b;
}

ScoreDocument::Held ReadSidecar(const QByteArray& b, ScoreDocument& d, bool batchExport) {
    ScoreDocument::Held h;
    const int layoutAt[3] = {BarWidth, BarsPerLine, LineSpacing};
    Integer* layout[3] = {&d.barWidth, &d.barsPerLine, &d.lineSpacing};
    for (int i = 0; i < 3; ++i)
        if ((h.layout[i] = holds(b, layoutAt[i], 2))) *layout[i] = int16At(b, layoutAt[i]);

    auto byteField = [&](int at, Byte& field, bool& held) {
        if ((held = holds(b, at, 1))) field = Byte(b[at]);
    };
    // An export shows neither the staff panel nor the guide lines of the file.
    if (!batchExport) {
        byteField(StaffInput, d.staffInput, h.staffInput);
        byteField(GuideLines, d.guideLines, h.guideLines);
    }
    byteField(SkipBarLines, d.skipBarLines, h.skipBarLines);
    byteField(AutoSpacing, d.autoSpacing, h.autoSpacing);
    byteField(StaffKey, d.staffKey, h.staffKey);
    for (int i = 0; i < 4; ++i) {
        const int at = Spacing0 + 4 * i;
        if (!holds(b, at, 4)) continue;
        const Single v = floatAt(b, at);
        // A damaged value must not reach the spacing arithmetic.
        if (std::isfinite(v) && v >= 0 && v <= 8) {
            d.spacing[size_t(i)] = v;
            h.spacing[i] = true;
        }
    }
    byteField(Numerator, d.numeratorIndex, h.numeratorIndex);
    byteField(Denominator, d.denominatorIndex, h.denominatorIndex);
    byteField(Key, d.keyIndex, h.keyIndex);
    if ((h.title = holds(b, Title, TextFieldSize))) d.title = DecodeTextField(b.mid(Title, TextFieldSize));
    if ((h.pageNumber = holds(b, PageNumber, 2))) d.pageNumber = int16At(b, PageNumber);
    if ((h.textOverlays = holds(b, TextCount, 2)))
        readRecords(b, TextCount, TextRecords, MaxTextRecords, d.textOverlays);
    if ((h.pictureOverlays = holds(b, PictureCount, 2)))
        readRecords(b, PictureCount, PictureRecords, MaxPictureRecords, d.pictureOverlays);
    if ((h.tempo = holds(b, Tempo, TextFieldSize))) d.tempo = DecodeTextField(b.mid(Tempo, TextFieldSize));
    return h;
}

// The sidecar is patched: its head is read, changed and written to a new file
// followed by the rest of the old one, which then replaces it.
static QString prepareSidecar(const QString& path, const ScoreDocument& doc, QSaveFile& out) {
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) return describe(path, QStringLiteral("不是文件"));
    QFile old(path);
    QByteArray head;
    if (info.exists()) {
        if (!old.open(QIODevice::ReadOnly)) return describe(path, old.errorString());
        head = old.read(PictureRecords + RecordSize * MaxPictureRecords);
    }
    out.setFileName(path);
    if (!out.open(QIODevice::WriteOnly)) return describe(path, out.errorString());
    const QByteArray patched = PatchSidecar(head, doc);
    if (out.write(patched) != patched.size()) return describe(path, out.errorString());
    if (old.isOpen()) {
        // Bytes past the patched head are the file's own: copy them as they are.
        old.seek(patched.size());
        while (!old.atEnd()) {
            const QByteArray chunk = old.read(kCopyChunk);
            if (chunk.isEmpty() && old.error() != QFile::NoError) return describe(path, old.errorString());
            if (out.write(chunk) != chunk.size()) return describe(path, out.errorString());
            if (chunk.isEmpty()) break;
        }
    }
    return QString();
}

QString WriteSidecarFile(const QString& path, const ScoreDocument& doc) {
    QSaveFile out;
    QString error = prepareSidecar(path, doc, out);
    if (!error.isEmpty()) {
        out.cancelWriting();
        return error;
    }
    if (!out.commit()) return describe(path, out.errorString());
    return QString();
}

QString ReadSidecarFile(const QString& path, ScoreDocument& doc, bool batchExport,
                        ScoreDocument::Held* held) {
    const QFileInfo info(path);
    if (!info.exists()) {
        // A page without its sidecar still opens; the sidecar is made for it.
        QFile created(path);
        if (created.open(QIODevice::WriteOnly)) created.close();
        const ScoreDocument::Held none;
        if (held) *held = none;
        return QString();
    }
    if (!info.isFile()) return describe(path, QStringLiteral("不是文件"));
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return describe(path, f.errorString());
    const QByteArray head = f.read(PictureRecords + RecordSize * MaxPictureRecords);
    const ScoreDocument::Held h = ReadSidecar(head, doc, batchExport);
    if (held) *held = h;
    return QString();
}

// The image reader fills a cut-off bitmap with whatever it has: so an
// uncompressed bitmap must hold all the rows its header promises.
static bool bitmapIsComplete(const QString& path, qint64 fileSize) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QByteArray h = f.read(54);
    if (h.size() < 54 || !h.startsWith("BM")) return false;
    const quint32 dataAt = qFromLittleEndian<quint32>(h.constData() + 10);
    const qint32 width = qFromLittleEndian<qint32>(h.constData() + 18);
    const qint32 height = qFromLittleEndian<qint32>(h.constData() + 22);
    const quint16 bits = qFromLittleEndian<quint16>(h.constData() + 28);
    const quint32 compression = qFromLittleEndian<quint32>(h.constData() + 30);
    if (width <= 0 || height == 0 || height == std::numeric_limits<qint32>::min()) return false;
    if (compression != 0 && compression != 3) return true;  // run-length data has no fixed size
    const qint64 stride = ((qint64(width) * bits + 31) / 32) * 4;
    return qint64(dataAt) + stride * std::abs(qint64(height)) <= fileSize;
}

QString LoadPageBitmap(const QString& path, QImage& page) {
    const QFileInfo info(path);
    if (!info.exists()) return describe(path, QStringLiteral("文件不存在"));
    if (!info.isFile()) return describe(path, QStringLiteral("不是文件"));
    if (!bitmapIsComplete(path, info.size())) return describe(path, QStringLiteral("不是完整的位图文件"));
    QImageReader reader(path, "bmp");
    reader.setDecideFormatFromContent(false);
    if (!reader.canRead()) return describe(path, QStringLiteral("不是位图文件"));
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kMaxPageSide || size.height() > kMaxPageSide)
        return describe(path, QStringLiteral("位图尺寸无效"));
    QImage img;
    if (!reader.read(&img) || img.isNull())
        return describe(path, QStringLiteral("无法读取位图 (%1)").arg(reader.errorString()));
    page = img.format() == QImage::Format_RGB32 ? std::move(img) : img.convertToFormat(QImage::Format_RGB32);
    return QString();
}

bool WriteBmp24(const QImage& source, QIODevice& device) {
    const QImage img = source.format() == QImage::Format_RGB32 || source.format() == QImage::Format_ARGB32
                           ? source
                           : source.convertToFormat(QImage::Format_RGB32);
    const int w = img.width(), h = img.height();
    const int stride = (w * 3 + 3) / 4 * 4;
    const quint32 dataSize = quint32(stride) * quint32(h);
    char header[54] = {};
    header[0] = 'B';
    header[1] = 'M';
    qToLittleEndian<quint32>(54 + dataSize, header + 2);
    qToLittleEndian<quint32>(54, header + 10);
    qToLittleEndian<quint32>(40, header + 14);
    qToLittleEndian<qint32>(w, header + 18);
    qToLittleEndian<qint32>(h, header + 22);
    qToLittleEndian<quint16>(1, header + 26);
    qToLittleEndian<quint16>(24, header + 28);
    qToLittleEndian<quint32>(dataSize, header + 34);
    qToLittleEndian<qint32>(img.dotsPerMeterX(), header + 38);
    qToLittleEndian<qint32>(img.dotsPerMeterY(), header + 42);
    if (device.write(header, 54) != 54) return false;
    // A band of rows at a time: few writes, little memory.
    constexpr int kBand = 64;
    QByteArray band(stride * kBand, '\0');
    for (int top = h - 1; top >= 0; top -= kBand) {
        const int rows = std::min(kBand, top + 1);
        for (int r = 0; r < rows; ++r) {
            const auto* in = reinterpret_cast<const QRgb*>(img.constScanLine(top - r));
            auto* out = reinterpret_cast<uchar*>(band.data()) + r * stride;
            for (int x = 0; x < w; ++x) {
                out[3 * x] = uchar(qBlue(in[x]));
                out[3 * x + 1] = uchar(qGreen(in[x]));
                out[3 * x + 2] = uchar(qRed(in[x]));
            }
        }
        if (device.write(band.constData(), qint64(stride) * rows) != qint64(stride) * rows) return false;
    }
    return true;
}

QString SaveScoreFiles(const QString& bitmapPath, const QImage& page, const ScoreDocument& doc) {
    const QString sidecarPath = SidecarPath(bitmapPath);
    // A bitmap named like its own sidecar would be overwritten by it.
    if (QFileInfo(sidecarPath).absoluteFilePath() == QFileInfo(bitmapPath).absoluteFilePath())
        return describe(bitmapPath, QStringLiteral("文件名不能以 dat 结尾"));
    const QFileInfo info(bitmapPath);
    if (info.exists() && !info.isFile()) return describe(bitmapPath, QStringLiteral("不是文件"));

    QSaveFile bitmap(bitmapPath);
    if (!bitmap.open(QIODevice::WriteOnly)) return describe(bitmapPath, bitmap.errorString());
    if (!WriteBmp24(page, bitmap)) {
        bitmap.cancelWriting();
        return describe(bitmapPath, QStringLiteral("无法写入位图 (%1)").arg(bitmap.errorString()));
    }
    QSaveFile side;
    const QString error = prepareSidecar(sidecarPath, doc, side);
    if (!error.isEmpty()) {
        bitmap.cancelWriting();
        side.cancelWriting();
        return error;
    }
    // Both new files are complete: only the two renames are left.
    if (!bitmap.commit()) {
        side.cancelWriting();
        return describe(bitmapPath, bitmap.errorString());
    }
    if (!side.commit()) return describe(sidecarPath, side.errorString());
    return QString();
}

}  // namespace qn
