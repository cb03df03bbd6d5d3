// The sidecar's bytes: every field at its place, the text fields, the overlay
// records, the in-place patching and the reading of short files.
#include <gtest/gtest.h>

#include <QStringEncoder>
#include <QtEndian>
#include <cstring>

#include "ScoreDocument.h"

namespace qn {
namespace {

using namespace sidecar;

int int16At(const QByteArray& b, int at) { return qFromLittleEndian<qint16>(b.constData() + at); }
float floatAt(const QByteArray& b, int at) {
    const quint32 bits = qFromLittleEndian<quint32>(b.constData() + at);
    float v;
    std::memcpy(&v, &bits, 4);
    return v;
}

ScoreDocument KnownDocument() {
    ScoreDocument d;
    d.barWidth = 96;
    d.barsPerLine = 6;
    d.lineSpacing = 80;
    d.staffInput = 1;
    d.guideLines = 0;
    d.skipBarLines = 1;
    d.autoSpacing = 0;
    d.staffKey = 5;
    d.spacing = {0.25f, 1.5f, 0.75f, 0.0f};
    d.numeratorIndex = 1;
    d.denominatorIndex = 1;
    d.keyIndex = 11;
    d.title = QStringLiteral("  标题  ");
    d.pageNumber = -7;
    d.textOverlays = {{140, 144, 2}, {300, 500, 0}};
    d.pictureOverlays = {{20, 84, 3}};
    d.tempo = QStringLiteral("每分钟96拍");
    return d;
}

TEST(Sidecar, EveryFieldAtItsPosition) {
    const QByteArray b = PatchSidecar(QByteArray(), KnownDocument());
    // 1-based positions of the layout, as the table of the format gives them.
    struct Int16Field { int position; int value; } ints[] = {
        {1, 96}, {3, 6}, {5, 80}, {122, -7}, {150, 2}, {152, 1},
        {201, 140}, {203, 144}, {205, 2}, {207, 300}, {209, 500}, {211, 0},
        {501, 20}, {503, 84}, {505, 3},
    };
    for (const Int16Field& f : ints) EXPECT_EQ(int16At(b, f.position - 1), f.value) << "position " << f.position;
    struct ByteField { int position; int value; } bytes[] = {
        {7, 1}, {8, 0}, {9, 1}, {10, 0}, {21, 5}, {48, 1}, {49, 1}, {50, 11},
    };
    for (const ByteField& f : bytes) EXPECT_EQ(quint8(b[f.position - 1]), f.value) << "position " << f.position;
    EXPECT_FLOAT_EQ(floatAt(b, 30), 0.25f);
    EXPECT_FLOAT_EQ(floatAt(b, 34), 1.5f);
    EXPECT_FLOAT_EQ(floatAt(b, 38), 0.75f);
    EXPECT_FLOAT_EQ(floatAt(b, 42), 0.0f);
    // Text fields: GBK, padded with spaces to 44 bytes.
    EXPECT_EQ(b.mid(51, 44), QByteArray("  \xb1\xea\xcc\xe2") + QByteArray(38, ' '));
    EXPECT_EQ(b.mid(153, 3), QByteArray("\xc3\xbf\xb7"));  // 每
    EXPECT_EQ(b.mid(153 + 10, 34), QByteArray(34, ' '));
    // Unused ranges of a new file read as zero; the file ends after the last record.
    EXPECT_EQ(b.mid(10, 10), QByteArray(10, '\0'));
    EXPECT_EQ(b.size(), 506);
}

TEST(Sidecar, ReadsBackWhatWasWritten) {
    const ScoreDocument written = KnownDocument();
    ScoreDocument read;  // defaults differ from every written value
    ReadSidecar(PatchSidecar(QByteArray(), written), read, false);
    EXPECT_EQ(read.barWidth, 96);
    EXPECT_EQ(read.barsPerLine, 6);
    EXPECT_EQ(read.lineSpacing, 80);
    EXPECT_EQ(read.staffInput, 1);
    EXPECT_EQ(read.guideLines, 0);
    EXPECT_EQ(read.staffKey, 5);
    EXPECT_EQ(read.spacing, written.spacing);
    EXPECT_EQ(read.keyIndex, 11);
    EXPECT_EQ(read.title, QStringLiteral("标题"));  // leading and trailing spaces do not survive
    EXPECT_EQ(read.pageNumber, -7);
    EXPECT_EQ(read.textOverlays, written.textOverlays);
    EXPECT_EQ(read.pictureOverlays, written.pictureOverlays);
    EXPECT_EQ(read.tempo, QStringLiteral("每分钟96拍"));
}

TEST(Sidecar, TextFieldsKeepWholeGbkCharacters) {
    struct Case { QString text; QString readBack; } cases[] = {
        {QString(30, QChar(0x6807)), QString(22, QChar(0x6807))},                   // 30 x 标 -> 22
        {QStringLiteral("a") + QString(30, QChar(0x6807)),
         QStringLiteral("a") + QString(21, QChar(0x6807))},                          // never half a character
        {QString(50, u'x'), QString(44, u'x')},
        {QString(), QString()},
        {QStringLiteral("  Song  1 "), QStringLiteral("Song  1")},
        // U+F8F5 is the single byte 0xFF in GBK: no lead byte, so the 中 after
        // it is dropped whole instead of keeping its first byte.
        {QString(42, u'a') + QChar(0xF8F5) + QChar(0x4E2D), QString(42, u'a') + QChar(0xF8F5)},
        {QString(41, u'a') + QChar(0xF8F5) + QChar(0x4E2D), QString(41, u'a') + QChar(0xF8F5) + QChar(0x4E2D)},
    };
    QStringEncoder gbk("GBK");
    ASSERT_EQ(QByteArray(gbk.encode(QString(QChar(0xF8F5)))), QByteArray("\xff"));
    for (const Case& c : cases) {
        const QByteArray field = EncodeTextField(c.text);
        EXPECT_EQ(field.size(), 44) << c.text.toStdString();
        EXPECT_EQ(DecodeTextField(field), c.readBack) << c.text.toStdString();
        // A second save of what was read reads back the same.
        EXPECT_EQ(DecodeTextField(EncodeTextField(DecodeTextField(field))), c.readBack) << c.text.toStdString();
    }
}

TEST(Sidecar, RewriteKeepsBytesItDoesNotOwn) {
    // An old file: eight text records, something in every unused range, a tail.
    QByteArray old(2000, '\x5a');
    ScoreDocument eight;
    for (int k = 0; k < 8; ++k) eight.textOverlays.push_back({Integer(10 * k), Integer(k), Integer(k)});
    old = PatchSidecar(old, eight);

    ScoreDocument five = eight;
    five.textOverlays.resize(5);
    five.textOverlays[0].left = 999;
    const QByteArray b = PatchSidecar(old, five);
    EXPECT_EQ(b.size(), 2000);
    EXPECT_EQ(int16At(b, TextCount), 5);
    EXPECT_EQ(int16At(b, TextRecords), 999);
    // Records 5..7 of the old file stay; reading stops at the count.
    EXPECT_EQ(b.mid(TextRecords + 30, 18), old.mid(TextRecords + 30, 18));
    for (int at : {10, 19, 21, 29, 46, 50, 95, 120, 123, 148, 197, 199, 1500, 1999})
        EXPECT_EQ(b[at], '\x5a') << "offset " << at;
    ScoreDocument read;
    ReadSidecar(b, read, false);
    EXPECT_EQ(read.textOverlays.size(), 5u);
}

TEST(Sidecar, ShortFileKeepsWhatItDoesNotHold) {
    const QByteArray full = PatchSidecar(QByteArray(), KnownDocument());
    struct Case { int length; bool layout, title, overlays, tempo; } cases[] = {
        {0, false, false, false, false},
        {6, true, false, false, false},
        {60, true, false, false, false},   // the title is cut off
        {160, true, true, true, false},   // counts held, records missing
        {506, true, true, true, true},
    };
    for (const Case& c : cases) {
        ScoreDocument d;
        d.title = QStringLiteral("current");
        d.tempo = QStringLiteral("Largo");
        d.textOverlays = {{1, 2, 3}};
        const ScoreDocument::Held held = ReadSidecar(full.left(c.length), d, false);
        EXPECT_EQ(held.layout[2], c.layout) << c.length;
        EXPECT_EQ(d.barWidth, c.layout ? 96 : 80) << c.length;
        EXPECT_EQ(d.title, c.title ? QStringLiteral("标题") : QStringLiteral("current")) << c.length;
        EXPECT_EQ(d.tempo, c.tempo ? QStringLiteral("每分钟96拍") : QStringLiteral("Largo")) << c.length;
        EXPECT_EQ(held.textOverlays, c.overlays) << c.length;
        if (c.length == 160) {
            EXPECT_TRUE(d.textOverlays.empty());  // none of the stored records is there
        }
        if (!c.overlays) {
            EXPECT_EQ(d.textOverlays.size(), 1u);
        }
    }
}

TEST(Sidecar, HostileCountsNeverReachThePictureArea) {
    QByteArray b = PatchSidecar(QByteArray(), ScoreDocument());
    b.resize(900);
    qToLittleEndian<qint16>(32000, b.data() + TextCount);
    qToLittleEndian<qint16>(-5, b.data() + PictureCount);
    ScoreDocument d;
    ReadSidecar(b, d, false);
    EXPECT_EQ(int(d.textOverlays.size()), MaxTextRecords);
    EXPECT_TRUE(d.pictureOverlays.empty());

    // A writer given more than fit stores what fits and says so in the count.
    ScoreDocument many;
    many.textOverlays.assign(60, {7, 7, 7});
    const QByteArray w = PatchSidecar(QByteArray(), many);
    EXPECT_EQ(int16At(w, TextCount), MaxTextRecords);
    EXPECT_EQ(w.size(), PictureRecords);  // the last text record ends where pictures begin
}

TEST(Sidecar, BatchExportSkipsStaffAndGuideSwitches) {
    const QByteArray b = PatchSidecar(QByteArray(), KnownDocument());
    ScoreDocument d;
    d.staffInput = 0;
    d.guideLines = 1;
    const ScoreDocument::Held held = ReadSidecar(b, d, true);
    EXPECT_EQ(d.staffInput, 0);
    EXPECT_EQ(d.guideLines, 1);
    EXPECT_FALSE(held.staffInput);
    EXPECT_TRUE(held.skipBarLines);
    EXPECT_EQ(d.skipBarLines, 1);
}

TEST(Sidecar, DamagedSpacingValuesAreNotTaken) {
    QByteArray b = PatchSidecar(QByteArray(), ScoreDocument());
    const float bad[4] = {std::numeric_limits<float>::quiet_NaN(), -1.0f, 1e30f, 8.0f};
    for (int i = 0; i < 4; ++i) {
        quint32 bits;
        std::memcpy(&bits, &bad[i], 4);
        qToLittleEndian<quint32>(bits, b.data() + Spacing0 + 4 * i);
    }
    ScoreDocument d;
    const ScoreDocument::Held held = ReadSidecar(b, d, false);
    EXPECT_FALSE(held.spacing[0]);
    EXPECT_FALSE(held.spacing[1]);
    EXPECT_FALSE(held.spacing[2]);
    EXPECT_TRUE(held.spacing[3]);
    EXPECT_EQ(d.spacing[0], 0.5f);
    EXPECT_EQ(d.spacing[3], 8.0f);
}

TEST(Sidecar, PathRuleIsPositional) {
    struct Case { const char* bitmap; const char* sidecar; } cases[] = {
        {"/scores/song.bmp", "/scores/song.dat"},
        {"/scores/song", "/scores/sdat"},
        {"/scores/曲.BMP", "/scores/曲.dat"},
        {"ab", "dat"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SidecarPath(QString::fromUtf8(c.bitmap)), QString::fromUtf8(c.sidecar)) << c.bitmap;
}

}  // namespace
}  // namespace qn
