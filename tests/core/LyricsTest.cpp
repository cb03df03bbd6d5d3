#include <gtest/gtest.h>

#include <QFontMetrics>

#include "Fixtures.h"
#include "GuiApp.h"
#include "Lyrics.h"

using namespace qn;

namespace {
QFont lyricsFont() {
    QFont f(QStringLiteral("AR PL UMing CN"));
    f.setPointSizeF(10.5);
    return f;
}

// The bounding box of the ink, and whether any pixel is neither ink nor white.
QRect inkBox(const Page& page, bool* grey = nullptr) {
    QRect box;
    if (grey) *grey = false;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QRgb c = page.pixel(x, y) & 0xFFFFFFu;
            if (c == 0) box |= QRect(x, y, 1, 1);
            else if (c != 0xFFFFFFu && grey) *grey = true;
        }
    return box;
}
}  // namespace

TEST(Lyrics, PromptIsTwentyEightCharacters) { EXPECT_EQ(LyricsPrompt().size(), 28); }

TEST(Lyrics, PrintsAtTheBoxPositionInPureInk) {
    test::EnsureGuiApp();
    Page page(668, 945);
    const QRect changed = PrintLyrics(page, QStringLiteral("一 闪 一 闪 亮 晶 晶 la la"), 20, 300, lyricsFont());
    bool grey = true;
    const QRect ink = inkBox(page, &grey);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_FALSE(grey);
    EXPECT_TRUE(changed.contains(ink));
    // The line's top-left is the drawing position: ink starts just right of and below it.
    EXPECT_GE(ink.left(), 20);
    EXPECT_LE(ink.left(), 24);
    EXPECT_GE(ink.top(), 300);
    EXPECT_LE(ink.bottom(), 300 + QFontMetrics(lyricsFont()).height());
}

TEST(Lyrics, BoldFontPrintsNotBold) {
    test::EnsureGuiApp();
    Page plain(300, 100), fromBold(300, 100);
    QFont bold = lyricsFont();
    bold.setBold(true);
    PrintLyrics(plain, QStringLiteral("歌词 words"), 10, 20, lyricsFont());
    PrintLyrics(fromBold, QStringLiteral("歌词 words"), 10, 20, bold);
    EXPECT_FALSE(inkBox(plain).isEmpty());
    EXPECT_EQ(plain.image(), fromBold.image());
}

TEST(Lyrics, NothingPrintedForTheUntouchedPromptOrAnEmptyBox) {
    test::EnsureGuiApp();
    for (const QString& text : {LyricsPrompt(), QString()}) {
        Page page(668, 400);
        EXPECT_TRUE(PrintLyrics(page, text, 20, 300, lyricsFont()).isEmpty());
        EXPECT_TRUE(test::allWhite(page, QRect(0, 0, 668, 400)));
    }
    // The prompt with one key typed into it is the user's text.
    Page page(668, 400);
    EXPECT_FALSE(PrintLyrics(page, LyricsPrompt() + QLatin1Char('x'), 20, 300, lyricsFont()).isEmpty());
}

TEST(Lyrics, TextWiderThanThePageIsCutAtItsEdge) {
    test::EnsureGuiApp();
    Page page(120, 60);
    const QRect changed = PrintLyrics(page, QStringLiteral("a very long line of lyrics"), 100, 10, lyricsFont());
    EXPECT_EQ(changed.right(), 119);
    EXPECT_FALSE(inkBox(page).isEmpty());
    const QImage& storage = page.storage();
    for (int y = 0; y < 60; ++y)
        for (int x = 120; x < storage.width(); ++x) ASSERT_EQ(storage.pixel(x, y), 0xFFFFFFFFu) << x << "," << y;
}
