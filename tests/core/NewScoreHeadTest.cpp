// The head printed by the new-score dialog: positions, sizes, the ink it
// leaves in the page, and the staff key that follows the printed key.
#include <gtest/gtest.h>

#include <QFontMetrics>

#include "GuiApp.h"
#include "NewScoreHead.h"

namespace qn {
namespace {

NewScoreHead Head() {
    NewScoreHead h;
    h.title = QStringLiteral("茉莉花");
    h.key = QStringLiteral("C");
    h.numerator = QStringLiteral("4");
    h.denominator = QStringLiteral("4");
    h.tempo = QStringLiteral("每分钟72拍");
    h.credits = QStringLiteral("Lumora 制谱");
    h.titleWidth = 63;
    h.creditsWidth = 82;
    return h;
}

TEST(NewScoreHead, PositionsAroundTheCaretsLine) {
    // Caret top 96, line spacing 60, page 668 wide.
    const std::vector<HeadText> want = {
        {QStringLiteral("茉莉花"), 302, 116, 21},  // (668 - 63) / 2 = 302.5, half to even
        {QStringLiteral("1=C"), 16, 156, 14},
        {QStringLiteral("─"), 48, 157, 14},
        {QStringLiteral("4"), 52, 149, 14},
        {QStringLiteral("4"), 52, 163, 14},
        {QStringLiteral("每分钟72拍"), 96, 156, 14},
        {QStringLiteral("Lumora 制谱"), 546, 156, 14},  // ends 40 from the right edge
    };
    EXPECT_EQ(LayOutNewScoreHead(Head(), 668, 96, 60), want);

    NewScoreHead h = Head();
    h.key = QStringLiteral("bE");
    h.numerator = QStringLiteral("3");
    h.denominator = QStringLiteral("8");
    h.titleWidth = 64;
    const std::vector<HeadText> other = LayOutNewScoreHead(h, 748, 216, 100);
    EXPECT_EQ(other[0], (HeadText{QStringLiteral("茉莉花"), 342, 236, 21}));
    EXPECT_EQ(other[1], (HeadText{QStringLiteral("1=bE"), 16, 316, 14}));
    EXPECT_EQ(other[3], (HeadText{QStringLiteral("3"), 52, 309, 14}));
    EXPECT_EQ(other[4], (HeadText{QStringLiteral("8"), 52, 323, 14}));
    EXPECT_EQ(other[6].x, 748 - 40 - 82);
}

TEST(NewScoreHead, PrintsBlackTextIntoThePageAtThosePlaces) {
    qn::test::EnsureGuiApplication();
    Page page(668, 945);
    const quint64 before = page.generation();
    const std::vector<HeadText> texts = LayOutNewScoreHead(Head(), 668, 96, 60);
    PrintNewScoreHead(page, qn::test::PageFontFace(), texts);
    EXPECT_GT(page.generation(), before);

    // Every text leaves ink inside its own cell row, and nothing lies outside them.
    QRegion cells;
    for (const HeadText& t : texts) {
        QFont f = qn::test::PageFontFace();
        f.setPixelSize(t.pixelSize);
        const QFontMetrics m(f);
        const QRect cell(t.x, t.y, m.horizontalAdvance(t.text), m.height());
        cells += cell;
        int ink = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x) ink += page.isInk(x, y) ? 1 : 0;
        EXPECT_GT(ink, 0) << t.text.toStdString();
    }
    int stray = 0, grey = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QRgb v = page.pixel(x, y) & 0xFFFFFF;
            if (v != 0xFFFFFF && v != 0) ++grey;
            if (v == 0 && !cells.contains(QPoint(x, y))) ++stray;
        }
    EXPECT_EQ(stray, 0);
    EXPECT_EQ(grey, 0) << "printed text is pure ink";
}

TEST(NewScoreHead, StaffKeyFollowsTheKeyLetter) {
    const QStringList staffKeys = {
        QStringLiteral("C or #C [无升降号 或 7#]"), QStringLiteral("D or bD [2# 或 5b]"),
        QStringLiteral("E or bE [4# 或 3b]"),      QStringLiteral("F or #F [1b 或 6#]"),
        QStringLiteral("G or bG [1# 或 6b]"),      QStringLiteral("A or bA [3# 或 4b]"),
        QStringLiteral("B or bB [5# 或 2b]")};
    const std::pair<const char*, int> cases[] = {
        {"C", 0},  {"bD", 1}, {"D", 1},  {"bE", 2}, {"E", 2}, {"F", 3},
        {"bG", 4}, {"G", 4},  {"bA", 5}, {"A", 5},  {"bB", 6}, {"B", 6},
        {"", -1},
    };
    for (auto [key, index] : cases) EXPECT_EQ(StaffKeyForKey(QString::fromUtf8(key), staffKeys), index) << key;
    // Only the first seven entries count.
    EXPECT_EQ(StaffKeyForKey(QStringLiteral("H"), staffKeys + QStringList{QStringLiteral("H")}), -1);
}

}  // namespace
}  // namespace qn
