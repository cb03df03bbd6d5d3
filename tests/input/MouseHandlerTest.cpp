#include <gtest/gtest.h>

#include "../core/GuiApp.h"
#include "MouseWindow.h"

using namespace qn;
using qn::test::MouseWindow;
using qn::test::rectText;

namespace {
constexpr QRgb kWhite = 0xFFFFFFFFu;

// Every pixel its own colour, none white.
void fillPattern(Page& page) {
    QImage img(page.width(), page.height(), QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) img.setPixel(x, y, 0xFF000000u | uint((x * 7 + y * 131) % 0xFFFF));
    page.paintPicture(img, img.rect(), 0, 0);
}

bool samePixels(const Page& page, const QImage& before, const QRect& src, QPoint dst) {
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x)
            if (page.pixel(dst.x() + x, dst.y() + y) != (before.pixel(src.x() + x, src.y() + y) | 0xFF000000u))
                return false;
    return true;
}

bool allWhite(const Page& page, const QRect& r) {
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (page.pixel(x, y) != kWhite) return false;
    return true;
}
}  // namespace

TEST(MousePress, CaretModePutsTheCaretOnTheGridAndStartsASelection) {
    struct Case {
        Single X, Y;
        int pitch;
        Single left, top;
    } cases[] = {{23, 96, 50, 20, 96}, {28, 140, 50, 20, 96}, {29, 146, 50, 26, 146},
                 {0, 0, 80, 2, 16},    {640, 500, 60, 632, 456}};
    for (const Case& c : cases) {
        MouseWindow w;
        w.pitch = c.pitch;
        EditorState& st = w.ed.st;
        st.BarUnits = 12;
        st.BarsInLine = 3;
        st.SpacingClass = 1;
        st.LastCellWidth = 0;
        st.PendingBeamGap = 1;
        w.down(mouse::LeftButton, c.X, c.Y);
        EXPECT_EQ(w.ed.caret.Left, c.left) << c.X << "," << c.Y;
        EXPECT_EQ(w.ed.caret.Top, c.top) << c.X << "," << c.Y;
        EXPECT_EQ(st.BarUnits, 0);
        EXPECT_EQ(st.BarsInLine, 0);
        EXPECT_EQ(st.SpacingClass, 5);
        EXPECT_EQ(st.LastCellWidth, 2);
        EXPECT_EQ(st.PendingBeamGap, 1);  // not reset by a press
        EXPECT_EQ(st.SelectDragging, 1);
        EXPECT_TRUE(w.shape2Visible);
        EXPECT_EQ(rectText(w.shape2), rectText(QRect(int(c.left), int(c.top), 12, 40)));
        EXPECT_EQ(w.actions, std::vector<std::string>{"caret"});
    }
}

TEST(MouseDrag, SelectionSizeAndCopyOnRelease) {
    struct Case {
        Single x1, y1;      // pressed at (26, 100), snapped to (20, 96); moved to here (pitch 60)
        const char* shape;  // Shape2 after the drag
        bool copied;
    } cases[] = {
        {-1, -1, "20,96 12x40", false},    // a plain click: no move at all
        {26, 100, "20,96 6x60", false},    // a move that stays in the pressed cell
        {50, 216, "20,96 30x120", true},   // 30 right of and 2p below the snapped point
        {43, 300, "20,96 18x180", false},  // narrower than 24: not copied
        {44, 100, "20,96 24x60", true},    // 24 wide: copied
        {5, 50, "20,96 6x60", false},      // left of and above the press point
    };
    for (const Case& c : cases) {
        MouseWindow w;
        fillPattern(w.ed.page);
        const QImage before = w.ed.page.image();
        w.down(mouse::LeftButton, 26, 100);
        if (c.x1 >= 0) w.move(mouse::LeftButton, c.x1, c.y1);
        EXPECT_TRUE(w.shape2Visible);
        w.up(mouse::LeftButton, c.x1, c.y1);
        EXPECT_EQ(w.ed.st.SelectDragging, 0);
        EXPECT_FALSE(w.shape2Visible);
        EXPECT_EQ(rectText(w.mouse.Shape2()), c.shape) << "drag to " << c.x1 << "," << c.y1;
        EXPECT_EQ(w.mouse.Picture9().HasCopy(), c.copied) << "drag to " << c.x1 << "," << c.y1;
        if (c.copied) {
            const QImage& clip = w.mouse.Picture9().image();
            EXPECT_EQ(clip.size(), w.mouse.Shape2().size());
            EXPECT_EQ(clip, before.copy(w.mouse.Shape2()).convertToFormat(clip.format()));
        }
        EXPECT_EQ(w.ed.page.image(), before);  // selecting never changes the page
    }
}

TEST(MouseMove, WithoutAPressMovesNothingInCaretMode) {
    MouseWindow w;
    w.move(0, 300, 300);
    EXPECT_FALSE(w.shape2Visible);
    EXPECT_TRUE(w.actions.empty());
    EXPECT_EQ(w.ed.caret.Left, 20);
}

TEST(RegionClipboardButtons, PasteAtTheCaretAgainAndAgain) {
    MouseWindow w;
    fillPattern(w.ed.page);
    const QImage before = w.ed.page.image();
    w.drag(26, 100, 80, 156);  // 60 x 60 at (20, 96)
    ASSERT_EQ(rectText(w.mouse.Shape2()), "20,96 60x60");
    for (QPoint at : {QPoint(200, 336), QPoint(404, 516)}) {
        w.ed.caret.Left = at.x();
        w.ed.caret.Top = at.y();
        w.repaints.clear();
        w.mouse.Command14_Click();
        EXPECT_TRUE(samePixels(w.ed.page, before, QRect(20, 96, 60, 60), at)) << at.x();
        EXPECT_EQ(w.repaints, std::vector<QRect>{QRect(at, QSize(60, 60))});
    }
    EXPECT_TRUE(samePixels(w.ed.page, before, QRect(20, 96, 60, 60), QPoint(20, 96)));
    EXPECT_EQ(w.actions.back(), "focus");
}

TEST(RegionClipboardButtons, PasteBeforeAnyCopyBeepsAndPaintsNothing) {
    MouseWindow w;
    fillPattern(w.ed.page);
    const QImage before = w.ed.page.image();
    w.down(mouse::LeftButton, 26, 100);  // a plain click: nothing copied
    w.up(mouse::LeftButton, 26, 100);
    w.actions.clear();
    w.mouse.Command14_Click();
    EXPECT_EQ(w.ed.page.image(), before);
    EXPECT_EQ(w.actions, (std::vector<std::string>{"beep", "focus"}));
    EXPECT_TRUE(w.repaints.empty());
}

TEST(RegionClipboardButtons, ClearWhitensTheLastSelectionsSizeAtTheCaret) {
    struct Case {
        Single x1, y1;  // pressed at (26, 100), moved to here; -1: a plain click
        QPoint caret;   // caret before Clear; (-1, -1): where the press put it
        QRect white;
    } cases[] = {
        {-1, -1, {-1, -1}, {20, 96, 12, 40}},        // after a plain click: 12 x 40
        {80, 216, {-1, -1}, {20, 96, 60, 120}},      // the selected region itself
        {80, 216, {300, 400}, {300, 400, 60, 120}},  // the same size at the moved caret
        {38, 400, {300, 400}, {300, 400, 18, 300}},  // too narrow to copy, but it sizes Clear
    };
    for (const Case& c : cases) {
        MouseWindow w;
        fillPattern(w.ed.page);
        w.down(mouse::LeftButton, 26, 100);
        if (c.x1 >= 0) w.move(mouse::LeftButton, c.x1, c.y1);
        w.up(mouse::LeftButton, c.x1, c.y1);
        if (c.caret.x() >= 0) {
            w.ed.caret.Left = c.caret.x();
            w.ed.caret.Top = c.caret.y();
        }
        w.mouse.Command15_Click();
        EXPECT_TRUE(allWhite(w.ed.page, c.white)) << rectText(c.white);
        int whiteCount = 0;
        for (int y = 0; y < w.ed.page.height(); ++y)
            for (int x = 0; x < w.ed.page.width(); ++x) whiteCount += w.ed.page.pixel(x, y) == kWhite;
        EXPECT_EQ(whiteCount, c.white.width() * c.white.height()) << rectText(c.white);
    }
}

TEST(RegionClipboardButtons, PasteAfterClearPastesWhite) {
    MouseWindow w;
    fillPattern(w.ed.page);
    w.drag(26, 100, 80, 156);
    w.mouse.Command15_Click();
    w.ed.caret.Left = 300;
    w.ed.caret.Top = 400;
    w.actions.clear();
    w.mouse.Command14_Click();
    EXPECT_TRUE(allWhite(w.ed.page, QRect(300, 400, 60, 60)));
    EXPECT_EQ(w.actions, std::vector<std::string>{"focus"});  // no beep: something was copied
}

TEST(Eraser, PressWhitensAtOnceMovesPaintOnlyWhileHeld) {
    MouseWindow w;
    fillPattern(w.ed.page);
    w.chooseMode(10);
    w.down(mouse::LeftButton, 100, 100);
    EXPECT_EQ(w.ed.st.EraserDown, 1);
    EXPECT_EQ(w.shape1Look, EraserLook::Active);
    EXPECT_EQ(rectText(w.shape1), "95,95 10x10");
    EXPECT_TRUE(allWhite(w.ed.page, QRect(95, 95, 10, 10)));
    EXPECT_NE(w.ed.page.pixel(105, 100), kWhite);
    EXPECT_NE(w.ed.page.pixel(94, 100), kWhite);
    w.move(mouse::LeftButton, 110, 100);
    EXPECT_TRUE(allWhite(w.ed.page, QRect(95, 95, 20, 10)));
    w.up(mouse::LeftButton, 110, 100);
    EXPECT_EQ(w.ed.st.EraserDown, 0);
    EXPECT_EQ(w.shape1Look, EraserLook::Idle);
    // Without the button the square follows the pointer and erases nothing.
    w.move(0, 300, 300);
    EXPECT_EQ(rectText(w.shape1), "295,295 10x10");
    EXPECT_NE(w.ed.page.pixel(300, 300), kWhite);
    // The caret stays and nothing is selected.
    EXPECT_EQ(w.ed.caret.Left, 20);
    EXPECT_EQ(w.ed.caret.Top, 96);
    EXPECT_FALSE(w.shape2Visible);
    EXPECT_EQ(w.ed.st.SelectDragging, 0);
}

TEST(Eraser, LargestBrushWhitensItsWholeSquare) {
    MouseWindow w;
    fillPattern(w.ed.page);
    w.chooseMode(50);
    w.down(mouse::LeftButton, 200, 200);
    EXPECT_TRUE(allWhite(w.ed.page, QRect(175, 175, 50, 50)));
    EXPECT_NE(w.ed.page.pixel(225, 200), kWhite);
    EXPECT_NE(w.ed.page.pixel(200, 225), kWhite);
}

TEST(Eraser, ChoosingCaretModeParksTheSquare) {
    MouseWindow w;
    w.chooseMode(10);
    w.move(0, 100, 100);
    EXPECT_EQ(rectText(w.shape1), "95,95 10x10");
    w.chooseMode(0);
    EXPECT_EQ(w.shape1.top(), -999);
    EXPECT_EQ(w.shape1.width(), 0);
    EXPECT_EQ(w.actions.back(), "focus");
}

TEST(MouseButtons, RightPressOpensTheLyricsBoxInEitherModeMiddleDoesNothing) {
    for (int mode : {0, 5}) {
        MouseWindow w;
        fillPattern(w.ed.page);
        const QImage before = w.ed.page.image();
        w.chooseMode(mode);
        w.actions.clear();
        w.down(mouse::RightButton, 250, 300.4f);
        EXPECT_EQ(w.actions, std::vector<std::string>{"lyrics 300"});
        EXPECT_EQ(w.lyricsText, QStringLiteral("在 这 里 输 入 歌 词. 并按[Enter] 回车键"));
        EXPECT_EQ(w.ed.caret.Left, 20);
        EXPECT_EQ(w.ed.st.SelectDragging, 0);
        EXPECT_EQ(w.ed.st.EraserDown, 0);
        w.up(mouse::RightButton, 250, 300);
        w.down(mouse::MiddleButton, 250, 300);
        w.up(mouse::MiddleButton, 250, 300);
        EXPECT_EQ(w.actions, std::vector<std::string>{"lyrics 300"});
        EXPECT_EQ(w.ed.page.image(), before);
    }
}

TEST(MouseClick, ClosesTheEditorsAndDeselects) {
    struct Case {
        Integer selected;
        std::vector<std::string> actions;
    } cases[] = {{-1, {"hide editors"}}, {3, {"hide editors", "deselect 3"}}, {52, {"hide editors", "deselect 52"}}};
    for (const Case& c : cases) {
        MouseWindow w;
        w.ed.st.SelectedOverlay = c.selected;
        w.mouse.Picture1_Click();
        EXPECT_EQ(w.actions, c.actions);
        EXPECT_EQ(w.ed.st.SelectedOverlay, -1);
    }
}

TEST(LyricsBox, EnterPrintsClosesAndPlaysItsSound) {
    test::EnsureGuiApp();
    MouseWindow w;
    w.down(mouse::RightButton, 100, 300);
    w.lyricsText = QStringLiteral("la la la");
    EXPECT_TRUE(w.mouse.Textgc_KeyDown(13, 0));
    EXPECT_FALSE(w.lyricsOpen);
    EXPECT_EQ(w.sounds, std::vector<std::string>{"0.wav"});
    ASSERT_EQ(w.repaints.size(), 1u);
    EXPECT_FALSE(allWhite(w.ed.page, w.repaints[0]));
    EXPECT_EQ(w.repaints[0].topLeft(), QPoint(20, 300));
    // Nothing reached the page's key handler: Enter is the box's own.
    EXPECT_TRUE(std::find(w.actions.begin(), w.actions.end(), "key") == w.actions.end());
}

TEST(LyricsBox, UntouchedPromptOtherKeysAndLostFocusPrintNothing) {
    test::EnsureGuiApp();
    MouseWindow w;
    w.down(mouse::RightButton, 100, 300);
    EXPECT_FALSE(w.mouse.Textgc_KeyDown(65, 0));  // an ordinary key stays with the box
    EXPECT_TRUE(w.lyricsOpen);
    EXPECT_TRUE(w.mouse.Textgc_KeyDown(13, 0));     // the prompt itself is not printed
    EXPECT_FALSE(w.lyricsOpen);
    EXPECT_TRUE(w.repaints.empty());
    w.down(mouse::RightButton, 100, 400);
    w.lyricsText = QStringLiteral("typed");
    w.mouse.Textgc_LostFocus();
    EXPECT_FALSE(w.lyricsOpen);
    EXPECT_TRUE(allWhite(w.ed.page, QRect(0, 0, w.ed.page.width(), w.ed.page.height())));
}
