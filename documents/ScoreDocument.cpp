#include "ScoreDocument.h"

#include <QDir>
#include <QBuffer>
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
#include <unistd.h>
#include <cstdio>

#include "LayoutMath.h"
#include "RegularFile.h"

namespace qn {

namespace {

using namespace sidecar;

constexpr qint64 kCopyChunk = 1 << 20;
constexpr int kSidecarHead = PictureRecords + RecordSize * MaxPictureRecords;

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

constexpr char kStampMark[4] = {'Q', 'N', 'p', '1'};

// FNV-1a over 32-bit words: fast, and any changed pixel changes it.
struct Checksum {
    quint64 h = 0xcbf29ce484222325ULL;
    void add(quint32 v) { h = (h ^ v) * 0x100000001b3ULL; }
    void add(const QByteArray& b, int from, int to) {
        for (int i = from; i < std::min<int>(to, int(b.size())); ++i) add(quint8(b[i]));
    }
};

// The bytes the format's readers read: every field and the records the counts name.
quint64 fieldsChecksum(const QByteArray& b) {
    Checksum c;
    c.add(b, 0, Stamp);
    c.add(b, Stamp + StampSize, Tempo + TextFieldSize);
    if (holds(b, TextCount, 2))
        c.add(b, TextRecords, TextRecords + RecordSize * std::clamp<int>(int16At(b, TextCount), 0, MaxTextRecords));
    if (holds(b, PictureCount, 2))
        c.add(b, PictureRecords,
              PictureRecords + RecordSize * std::clamp<int>(int16At(b, PictureCount), 0, MaxPictureRecords));
    return c.h;
}

SaveFaultHook g_saveFault = nullptr;

}  // namespace

quint64 PageChecksum(const QImage& source) {
    const QImage page = source.format() == QImage::Format_RGB32 || source.format() == QImage::Format_ARGB32
                            ? source
                            : source.convertToFormat(QImage::Format_RGB32);
    Checksum c;
    c.add(quint32(page.width()));
    c.add(quint32(page.height()));
    for (int y = 0; y < page.height(); ++y) {
        const auto* row = reinterpret_cast<const quint32*>(page.constScanLine(y));
        for (int x = 0; x < page.width(); ++x) c.add(row[x] & 0x00ffffffu);
    }
    return c.h;
}

void StampSidecar(QByteArray& b, const QImage& page) {
    if (b.size() < Stamp + StampSize) return;
    char* at = b.data() + Stamp;
    std::memcpy(at, kStampMark, 4);
    qToLittleEndian<quint64>(PageChecksum(page), at + 4);
    qToLittleEndian<quint64>(fieldsChecksum(b), at + 12);
    qToLittleEndian<quint16>(quint16(page.width()), at + 20);
    qToLittleEndian<quint16>(quint16(page.height()), at + 22);
}

PairCheck CheckPair(const QByteArray& b, const QImage& page) {
    if (!holds(b, Stamp, StampSize) || QByteArrayView(b).sliced(Stamp, 4) != QByteArrayView(kStampMark, 4))
        return PairCheck::Unstamped;
    const char* at = b.constData() + Stamp;
    // Another writer keeps these bytes but changes the fields: the stamp is stale.
    if (qFromLittleEndian<quint64>(at + 12) != fieldsChecksum(b)) return PairCheck::Foreign;
    const bool sameSize = qFromLittleEndian<quint16>(at + 20) == quint16(page.width()) &&
                          qFromLittleEndian<quint16>(at + 22) == quint16(page.height());
    return sameSize && qFromLittleEndian<quint64>(at + 4) == PageChecksum(page) ? PairCheck::Matches
                                                                                  : PairCheck::Mixed;
}

void SetSaveFaultHookForTesting(SaveFaultHook hook) { g_saveFault = hook; }

QString SidecarPath(const QString& bitmapPath) {
    return bitmapPath.left(std::max<int>(0, int(bitmapPath.size()) - 3)) + QStringLiteral("dat");
}

QByteArray EncodeTextField(const QString& text) {
    const QString padded = text.left(TextFieldSize).leftJustified(TextFieldSize, u' ');
    QStringEncoder gbk("GBK");
    const QByteArray bytes = gbk.encode(padded);
    // Keep whole characters only: a GBK lead byte (0x81..0xFE) starts a pair;
    // 0x80 and 0xFF stand alone (code page 936 maps them to U+20AC and U+F8F5).
    int cut = 0;
    while (cut < bytes.size()) {
        const quint8 lead = quint8(bytes[cut]);
        const int width = lead >= 0x81 && lead <= 0xFE ? 2 : 1;
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
static QString prepareSidecar(const QString& path, const ScoreDocument& doc, QSaveFile& out,
                              const QImage* page = nullptr) {
    QFile old;
    QByteArray head;
    if (EntryExists(path)) {
        // Only a regular file is patched: a FIFO or a device would hang the copy.
        QString reason;
        if (!OpenRegularFile(old, path, false, &reason)) return describe(path, reason);
        if (old.size() > kMaxSidecarSize)
            return describe(path, QStringLiteral("文件过大（%1 字节，上限 %2 字节）").arg(old.size()).arg(kMaxSidecarSize));
        head = old.read(kSidecarHead);
    }
    out.setFileName(path);
    if (!out.open(QIODevice::WriteOnly)) return describe(path, out.errorString());
    QByteArray patched = PatchSidecar(head, doc);
    if (page) StampSidecar(patched, *page);
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
                        ScoreDocument::Held* held, QByteArray* raw) {
    if (!EntryExists(path)) {
        // A page without its sidecar still opens; the sidecar is made for it.
        QFile created(path);
        if (created.open(QIODevice::WriteOnly | QIODevice::NewOnly)) created.close();
        const ScoreDocument::Held none;
        if (held) *held = none;
        return QString();
    }
    const RegularFileRead read = ReadRegularFile(path, kMaxSidecarSize, kSidecarHead);
    if (!read.error.isEmpty()) return read.error;
    const ScoreDocument::Held h = ReadSidecar(read.bytes, doc, batchExport);
    if (held) *held = h;
    if (raw) *raw = read.bytes;
    return QString();
}

// Checks a bitmap's header before any pixel is decoded. The page can be no
// larger than a layout makes (with a margin), so a small run-length file
// cannot make a huge page; and the image reader fills a cut-off bitmap with
// whatever it has, so an uncompressed bitmap must hold all the rows its header
// promises. Empty when the header is sound.
static QString checkBitmapHeader(const QByteArray& h, qint64 fileSize, QSize* size = nullptr) {
    if (h.size() < 26 || !h.startsWith("BM")) return QStringLiteral("不是位图文件");
    const qint64 dataAt = qFromLittleEndian<quint32>(h.constData() + 10);
    const quint32 infoSize = qFromLittleEndian<quint32>(h.constData() + 14);
    qint64 width = 0, height = 0;
    quint32 bits = 0, compression = 0;
    if (infoSize == 12) {  // the old core header: 16-bit sizes, never compressed
        width = qFromLittleEndian<quint16>(h.constData() + 18);
        height = qFromLittleEndian<quint16>(h.constData() + 20);
        bits = qFromLittleEndian<quint16>(h.constData() + 24);
    } else {
        if (h.size() < 54 || infoSize < 40) return QStringLiteral("不是完整的位图文件");
        width = qFromLittleEndian<qint32>(h.constData() + 18);
        height = qFromLittleEndian<qint32>(h.constData() + 22);
        bits = qFromLittleEndian<quint16>(h.constData() + 28);
        compression = qFromLittleEndian<quint32>(h.constData() + 30);
    }
    const qint64 rows = height < 0 ? -height : height;
    if (width <= 0 || rows == 0 || width > kMaxPageWidth || rows > kMaxPageHeight)
        return QStringLiteral("位图尺寸无效（%1 × %2，最大 %3 × %4）")
            .arg(width).arg(rows).arg(kMaxPageWidth).arg(kMaxPageHeight);
    if (bits == 0 || bits > 32) return QStringLiteral("不是位图文件（每像素 %1 位）").arg(bits);
    if (size) *size = QSize(int(width), int(rows));
    if (compression != 0 && compression != 3) return QString();  // run-length data has no fixed size
    // Bounded sizes: no product here can overflow.
    const qint64 stride = (width * bits + 31) / 32 * 4;
    if (dataAt + stride * rows > fileSize) return QStringLiteral("不是完整的位图文件");
    return QString();
}

QSize BitmapHeaderSize(const QString& path) {
    QFile file;
    if (!OpenRegularFile(file, path, false, nullptr)) return QSize();
    QSize size;
    if (!checkBitmapHeader(file.read(54), file.size(), &size).isEmpty()) return QSize();
    return size;
}

// A file's blue-green-red pixel triples and a page's RGB32 words, four pixels
// (three words of the file) at a time: the page's two hottest loops when a
// folder is exported.
static void UnpackBgr24(const uchar* src, QRgb* dst, int width) {
    int x = 0;
    for (; x + 4 <= width; x += 4, src += 12) {
        const quint32 a = qFromLittleEndian<quint32>(src), b = qFromLittleEndian<quint32>(src + 4),
                      c = qFromLittleEndian<quint32>(src + 8);
        dst[x] = 0xff000000u | (a & 0xffffffu);
        dst[x + 1] = 0xff000000u | (a >> 24) | ((b & 0xffffu) << 8);
        dst[x + 2] = 0xff000000u | (b >> 16) | ((c & 0xffu) << 16);
        dst[x + 3] = 0xff000000u | (c >> 8);
    }
    for (; x < width; ++x, src += 3) dst[x] = 0xff000000u | (uint(src[2]) << 16) | (uint(src[1]) << 8) | src[0];
}

static void PackBgr24(const QRgb* src, uchar* dst, int width) {
    int x = 0;
    for (; x + 4 <= width; x += 4, dst += 12) {
        const quint32 p0 = src[x], p1 = src[x + 1], p2 = src[x + 2], p3 = src[x + 3];
        qToLittleEndian<quint32>((p0 & 0xffffffu) | (p1 << 24), dst);
        qToLittleEndian<quint32>(((p1 >> 8) & 0xffffu) | (p2 << 16), dst + 4);
        qToLittleEndian<quint32>(((p2 >> 16) & 0xffu) | (p3 << 8), dst + 8);
    }
    for (; x < width; ++x, dst += 3) {
        dst[0] = uchar(src[x]);
        dst[1] = uchar(src[x] >> 8);
        dst[2] = uchar(src[x] >> 16);
    }
}

// An uncompressed 24-bit bitmap with the 40-byte header, already checked by
// checkBitmapHeader (sizes bounded, every row present), into an RGB32 page.
// False for any other kind; `page` is then untouched.
static bool decodeBgr24(const QByteArray& file, QImage& page) {
    const char* h = file.constData();
    if (file.size() < 54 || qFromLittleEndian<quint32>(h + 14) != 40 || qFromLittleEndian<quint16>(h + 26) != 1 ||
        qFromLittleEndian<quint16>(h + 28) != 24 || qFromLittleEndian<quint32>(h + 30) != 0)
        return false;
    const qint64 dataAt = qFromLittleEndian<quint32>(h + 10);
    const qint64 width = qFromLittleEndian<qint32>(h + 18);
    const qint64 height = qFromLittleEndian<qint32>(h + 22);
    const qint64 rows = height < 0 ? -height : height;
    if (dataAt < 54 || width <= 0 || rows == 0 || width > kMaxPageWidth || rows > kMaxPageHeight) return false;
    const qint64 stride = (width * 3 + 3) / 4 * 4;
    if (dataAt + stride * rows > file.size()) return false;
    QImage out(int(width), int(rows), QImage::Format_RGB32);
    if (out.isNull()) return false;
    const uchar* data = reinterpret_cast<const uchar*>(h) + dataAt;
    for (qint64 y = 0; y < rows; ++y) {
        const uchar* src = data + stride * (height < 0 ? y : rows - 1 - y);  // bottom row first unless negative
        UnpackBgr24(src, reinterpret_cast<QRgb*>(out.scanLine(int(y))), int(width));
    }
    page = std::move(out);
    return true;
}

QString LoadPageBitmap(const QString& path, QImage& page) {
    QFile file;
    QString reason;
    if (!OpenRegularFile(file, path, false, &reason)) return describe(path, reason);
    const QString headerProblem = checkBitmapHeader(file.read(54), file.size());
    if (!headerProblem.isEmpty()) return describe(path, headerProblem);
    // Decoded from the file already opened and checked, never from the path
    // again, and read whole: the decoder's many small reads would each be a
    // system call on an unbuffered file.
    file.seek(0);
    // Never more than the largest page can use, whatever the file's length.
    const qint64 wanted = std::min(file.size(), qint64(kMaxPageWidth) * kMaxPageHeight * 4 + (1 << 20));
    QByteArray bytes = file.read(wanted);
    if (bytes.size() != wanted) return describe(path, QStringLiteral("无法读取位图 (%1)").arg(file.errorString()));
    // The program's own pages (uncompressed, 24 bits) are unpacked here in one
    // pass; every other kind goes through Qt's decoder.
    if (decodeBgr24(bytes, page)) return QString();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    reader.setDecideFormatFromContent(false);
    if (!reader.canRead()) return describe(path, QStringLiteral("不是位图文件"));
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kMaxPageWidth || size.height() > kMaxPageHeight)
        return describe(path, QStringLiteral("位图尺寸无效"));
    QImage img;
    if (!reader.read(&img) || img.isNull())
        return describe(path, QStringLiteral("无法读取位图 (%1)").arg(reader.errorString()));
    page = img.format() == QImage::Format_RGB32 ? std::move(img) : img.convertToFormat(QImage::Format_RGB32);
    return QString();
}

bool WriteBmp24(const QImage& source, QIODevice& device) {
    // Pages are RGB32 and are packed here row by row; any other format goes
    // through Qt's conversion to the file's byte order (blue, green, red).
    const bool packed = source.format() != QImage::Format_RGB32;
    const QImage img = packed ? source.convertToFormat(QImage::Format_BGR888) : source;
    const int w = img.width(), h = img.height();
    if (img.isNull()) return false;
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
    // Bottom row first, a band of rows at a time: few writes, little memory.
    constexpr int kBand = 64;
    QByteArray band(stride * kBand, '\0');
    for (int top = h - 1; top >= 0; top -= kBand) {
        const int rows = std::min(kBand, top + 1);
        for (int r = 0; r < rows; ++r) {
            uchar* out = reinterpret_cast<uchar*>(band.data()) + qsizetype(r) * stride;
            if (packed) {
                std::memcpy(out, img.constScanLine(top - r), size_t(w) * 3);
            } else {
                PackBgr24(reinterpret_cast<const QRgb*>(img.constScanLine(top - r)), out, w);
            }
            std::memset(out + size_t(w) * 3, 0, size_t(stride - w * 3));  // the line's padding
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
    // A folder, a FIFO or a symlink loop in the bitmap's place is never replaced.
    if (EntryExists(bitmapPath)) {
        const QString problem = RegularFileProblem(bitmapPath, false);
        if (!problem.isEmpty()) return describe(bitmapPath, problem);
    }

    QSaveFile bitmap(bitmapPath);
    if (!bitmap.open(QIODevice::WriteOnly)) return describe(bitmapPath, bitmap.errorString());
    if (!WriteBmp24(page, bitmap)) {
        bitmap.cancelWriting();
        return describe(bitmapPath, QStringLiteral("无法写入位图 (%1)").arg(bitmap.errorString()));
    }
    QSaveFile side;
    const QString error = prepareSidecar(sidecarPath, doc, side, &page);
    if (!error.isEmpty()) {
        bitmap.cancelWriting();
        side.cancelWriting();
        return error;
    }
    // Both new files are complete: only the two renames are left. The old
    // bitmap keeps a second name until the new sidecar is in place, so a
    // failed sidecar rename can put the old pair back.
    const QFileInfo place(bitmapPath);
    const QString kept = place.dir().filePath(QStringLiteral(".%1.quillnote-old").arg(place.fileName()));
    const bool hadBitmap = EntryExists(bitmapPath);
    QFile::remove(kept);
    const bool keeping =
        hadBitmap && (::link(QFile::encodeName(bitmapPath).constData(), QFile::encodeName(kept).constData()) == 0 ||
                      QFile::copy(bitmapPath, kept));
    auto commit = [](QSaveFile& file, const QString& path) -> QString {
        if (g_saveFault && g_saveFault(path)) {
            file.cancelWriting();
            return describe(path, QStringLiteral("无法写入 (No space left on device)"));
        }
        return file.commit() ? QString() : describe(path, file.errorString());
    };
    const QString bitmapError = commit(bitmap, bitmapPath);
    if (!bitmapError.isEmpty()) {
        side.cancelWriting();
        if (keeping) QFile::remove(kept);
        return bitmapError;
    }
    const QString sideError = commit(side, sidecarPath);
    if (!sideError.isEmpty()) {
        // The old pair comes back: the old bitmap, or none if there was none.
        if (keeping) ::rename(QFile::encodeName(kept).constData(), QFile::encodeName(bitmapPath).constData());
        else if (!hadBitmap) QFile::remove(bitmapPath);
        return sideError;
    }
    if (keeping) QFile::remove(kept);
    return QString();
}

}  // namespace qn
