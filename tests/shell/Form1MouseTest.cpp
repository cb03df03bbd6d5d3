// The mouse on the shown window, offscreen: presses and drags go in through the
// window as the system delivers them (so shapes lying on the canvas must let
// them through), then the caret, the selection, the region buttons, the eraser,
// the lyrics box, and the keys L and O with their marker and overlays.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

#include "FakeDialogs.h"
#include "Form1.h"
#include "Form1_Controls.h"
#include "Lyrics.h"
#include "OverlaySlots.h"

namespace qn {
namespace {

constexpr QRgb kWhite = 0xFFFFFFFFu, kBlack = 0xFF000000u;

class Form1Mouse : public ::testing::Test {
public:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        Write("speed.txt", "Largo\r\n");
        Write("explin.txt", "rit.\r\n");
        QDir(dir.path()).mkpath("s/sik");
        // Each library picture has a size of its own, so an overlay tells which it shows.
        for (int d = 1; d <= 7; ++d) Picture(QStringLiteral("%1.bmp").arg(d), QSize(5, 6 + d));
        for (int n = 1; n <= 5; ++n) Picture(QStringLiteral("装饰音%1.bmp").arg(n), QSize(10 + 8 * n, 4));
        Picture("颤音.bmp", QSize(9, 9));
        form = std::make_unique<Form1>(dir.path(), &dialogs);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        ui().Picture1->setFocus();
    }
    void TearDown() override {
        // Leave no button held for the next test.
        if (held) Release(*held, QPoint(0, 0));
    }

    QString Path(const QString& name) const { return QDir(dir.path()).filePath(name); }
    void Write(const QString& name, const QByteArray& bytes) {
        QFile f(Path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    void Picture(const QString& name, QSize size) {
        QImage pic(size, QImage::Format_RGB32);
        pic.fill(qRgb(0, 0, 128));
        ASSERT_TRUE(pic.save(Path("s/sik/" + name), "BMP"));
    }
    Form1::Controls& ui() { return form->controls(); }
    EditorState& st() { return form->editor().st; }
    Page& page() { return form->editor().page; }
    Caret& caret() { return form->editor().caret; }

    // Mouse events at page points, delivered to the window like the system's.
    QPoint At(QPoint pagePoint) { return ui().Picture1->mapTo(form.get(), pagePoint); }
    void Press(Qt::MouseButton b, QPoint p) {
        QTest::mousePress(form->windowHandle(), b, Qt::NoModifier, At(p));
        held = b;
    }
    void Move(QPoint p) { QTest::mouseMove(form->windowHandle(), At(p)); }
    void Release(Qt::MouseButton b, QPoint p) {
        QTest::mouseRelease(form->windowHandle(), b, Qt::NoModifier, At(p));
        held.reset();
    }
    void Click(QPoint p) {
        Press(Qt::LeftButton, p);
        Release(Qt::LeftButton, p);
    }
    void ChooseEraser(int k) {
        ui().Combo3->setCurrentIndex(k);
        form->Combo3_Click();
    }
    QPoint CaretAt() { return QPoint(RoundHalfEven(caret().Left), RoundHalfEven(caret().Top)); }
    // The canvas as shown (page, shapes, caret and overlays).
    QImage Shown(const QRect& r) { return ui().Picture1->grab(r).toImage().convertToFormat(QImage::Format_RGB32); }
    // Every page pixel its own colour, none white: any whitening shows.
    void FillPattern() {
        QImage img(page().width(), page().height(), QImage::Format_RGB32);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) img.setPixel(x, y, qRgb((x * 7) % 200, (y * 3) % 200, 40));
        page().paintPicture(img, img.rect(), 0, 0);
    }
    void Key(Qt::Key k) { QTest::keyClick(ui().Picture1, k); }

    QTemporaryDir dir;
    FakeDialogs dialogs;
    std::unique_ptr<Form1> form;
    std::optional<Qt::MouseButton> held;
};

// A press snaps the caret, also where the slur marker and the caret picture lie.
TEST_F(Form1Mouse, PressThroughMarkerAndCaretSnapsTheCaret) {
    caret().Left = 80;
    caret().Top = 156;
    Key(Qt::Key_L);  // the marker stands at the caret
    ASSERT_TRUE(ui().Label8->isVisible());
    ASSERT_EQ(ui().Label8->geometry(), QRect(80, 156, 12, 40));
    st().BarUnits = 8;
    st().SpacingClass = 1;

    Press(Qt::LeftButton, QPoint(90, 200));  // over marker and caret; cell of x 86
    EXPECT_EQ(CaretAt(), QPoint(86, 156));
    EXPECT_EQ(st().BarUnits, 0);
    EXPECT_EQ(st().SpacingClass, 5);
    EXPECT_TRUE(ui().Shape2->isVisible());
    EXPECT_EQ(ui().Shape2->geometry(), QRect(86, 156, 12, 40));
    Release(Qt::LeftButton, QPoint(90, 200));
    EXPECT_FALSE(ui().Shape2->isVisible());
    EXPECT_FALSE(form->mouse().Picture9().HasCopy());  // a plain click copies nothing

    // A press near the page's left edge puts the caret left of the margin.
    Click(QPoint(0, 300));
    EXPECT_EQ(CaretAt(), QPoint(2, 276));
    EXPECT_TRUE(ui().Label8->isVisible());  // the started slur stays started
}

TEST_F(Form1Mouse, DragSelectsCopiesAndPastesAgainAndAgain) {
    for (Integer k : {49, 50, 51, 52, 13, 53, 54}) form->Picture1_KeyDown(k, 0);  // notes, two lines
    ui().Check2->setChecked(false);  // no guide lines over the shown page
    const Page typed = page();
    Press(Qt::LeftButton, QPoint(24, 100));
    Move(QPoint(60, 130));
    EXPECT_EQ(ui().Shape2->geometry(), QRect(20, 96, 36, 60));  // grows while dragging
    Move(QPoint(85, 170));
    EXPECT_EQ(ui().Shape2->geometry(), QRect(20, 96, 60, 60));
    Release(Qt::LeftButton, QPoint(85, 170));
    EXPECT_FALSE(ui().Shape2->isVisible());
    const QImage copied = form->mouse().Picture9().image();
    ASSERT_EQ(copied.size(), QSize(60, 60));
    EXPECT_EQ(copied, typed.image().copy(20, 96, 60, 60));

    const quint64 before = page().generation();
    for (QPoint target : {QPoint(203, 280), QPoint(420, 400)}) {
        Click(target);  // a plain click moves the caret and keeps the clipboard
        const QPoint at = CaretAt();
        QTest::mouseClick(ui().Command14, Qt::LeftButton);
        EXPECT_EQ(page().image().copy(QRect(at, QSize(60, 60))), copied) << at.x() << "," << at.y();
        // The canvas shows it (right of the caret picture).
        EXPECT_EQ(Shown(QRect(at.x() + 20, at.y(), 40, 60)), copied.copy(20, 0, 40, 60));
        EXPECT_TRUE(ui().Picture1->hasFocus());
    }
    EXPECT_EQ(page().image().copy(20, 96, 60, 60), copied);  // the source is left as it was
    EXPECT_NE(page().generation(), before);
    EXPECT_TRUE(form->IsModified());
    EXPECT_EQ(dialogs.beeps, 0);
}

TEST_F(Form1Mouse, PasteBeforeAnyCopyBeepsAndClearWhitensTheLastSelection) {
    FillPattern();
    const QImage start = page().image();
    QTest::mouseClick(ui().Command14, Qt::LeftButton);
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_EQ(page().image(), start);

    Click(QPoint(203, 280));  // the caret at (200, 276); the selection 12 x 40
    QTest::mouseClick(ui().Command15, Qt::LeftButton);
    const QImage cleared = page().image();
    for (int y = 270; y < 322; ++y)
        for (int x = 195; x < 218; ++x) {
            const bool inside = x >= 200 && x < 212 && y >= 276 && y < 316;
            ASSERT_EQ(cleared.pixel(x, y) == kWhite, inside) << x << "," << y;
        }
    EXPECT_TRUE(ui().Picture1->hasFocus());
}

TEST_F(Form1Mouse, RightPressOpensTheLyricsBoxInEitherMode) {
    for (int mode : {0, 10}) {
        SCOPED_TRACE(mode);
        ChooseEraser(mode);
        FillPattern();
        const QImage start = page().image();
        const QPoint caretBefore = CaretAt();
        Press(Qt::RightButton, QPoint(200, 300));
        Release(Qt::RightButton, QPoint(200, 300));
        LyricsBox* box = ui().Textgc;
        EXPECT_TRUE(box->isVisible());
        EXPECT_EQ(box->geometry().topLeft(), QPoint(20, 300));
        EXPECT_EQ(box->width(), page().width() - 40);
        EXPECT_EQ(box->text(), LyricsPrompt());
        EXPECT_EQ(box->selectedText(), LyricsPrompt());
        EXPECT_TRUE(box->hasFocus());
        EXPECT_EQ(CaretAt(), caretBefore);
        EXPECT_EQ(page().image(), start);  // neither the eraser nor anything else painted
        // Closed again by a press elsewhere on the page, with nothing printed
        // (the eraser erases under that press, as any press of its own).
        QTest::keyClicks(box, "abc");
        Page expected = page();
        if (mode > 0) expected.fillWhite(QRect(395, 595, 10, 10));
        Click(QPoint(400, 600));
        EXPECT_FALSE(box->isVisible());
        EXPECT_EQ(box->text(), "abc");
        EXPECT_EQ(page().image(), expected.image());
        ChooseEraser(0);
    }
    // The box keeps spanning the margins when the page grows.
    ui().HScroll2[0]->setValue(100);
    ASSERT_EQ(page().width(), 828);
    EXPECT_EQ(ui().Textgc->geometry().left(), 20);
    EXPECT_EQ(ui().Textgc->width(), 788);
}

TEST_F(Form1Mouse, EnterInTheLyricsBoxPrintsOnceAndNeverReachesThePage) {
    const QFont font = form->LyricsFont();
    EXPECT_EQ(font.pixelSize(), ui().Textgc->font().pixelSize());
    EXPECT_FALSE(font.bold());
    const QString lyrics = QStringLiteral("la la 一闪一闪");

    struct Case {
        const char* name;
        std::function<void(LyricsBox*)> type;
        bool prints;
    } cases[] = {
        {"typed line", [&](LyricsBox* b) {
             QTest::keyClicks(b, "la la ");
             b->insert(QStringLiteral("一闪一闪"));  // as an input method hands it over
         }, true},
        {"untouched prompt", [](LyricsBox*) {}, false},
        {"emptied box", [](LyricsBox* b) { QTest::keyClick(b, Qt::Key_Delete); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        caret().Left = 44;
        caret().Top = 156;
        const quint64 generation = page().generation();
        Page expected = page();
        if (c.prints) PrintLyrics(expected, lyrics, 20, 300, font);
        Press(Qt::RightButton, QPoint(300, 300));
        Release(Qt::RightButton, QPoint(300, 300));
        c.type(ui().Textgc);
        QTest::keyClick(ui().Textgc, Qt::Key_Return);
        EXPECT_FALSE(ui().Textgc->isVisible());
        EXPECT_TRUE(ui().Picture1->hasFocus());  // typing goes on on the page
        EXPECT_EQ(page().image(), expected.image());
        EXPECT_EQ(page().generation() != generation, c.prints);
        // Enter on the page would have moved the caret to the next line.
        EXPECT_EQ(CaretAt(), QPoint(44, 156));
    }
    // Keys other than Enter stay in the box too (Escape would change the note value).
    Press(Qt::RightButton, QPoint(300, 500));
    Release(Qt::RightButton, QPoint(300, 500));
    QTest::keyClick(ui().Textgc, Qt::Key_Escape);
    QTest::keyClick(ui().Textgc, Qt::Key_Enter, Qt::KeypadModifier);  // the keypad's Enter prints too
    EXPECT_EQ(st().NoteValue, 0);
    EXPECT_FALSE(ui().Textgc->isVisible());
    EXPECT_EQ(CaretAt(), QPoint(44, 156));
}

TEST_F(Form1Mouse, EraserWhitensUnderTheBrushAndOnlyOnThePage) {
    FillPattern();
    const QImage start = page().image();
    ChooseEraser(10);
    RectangleShape* shape = ui().Shape1;
    Move(QPoint(300, 300));
    EXPECT_EQ(shape->geometry(), QRect(295, 295, 10, 10));  // the preview follows the pointer
    EXPECT_EQ(page().image(), start);

    Move(QPoint(100, 100));
    Press(Qt::LeftButton, QPoint(100, 100));  // on the square, which lets it through
    EXPECT_EQ(shape->look(), RectangleShape::Look::Hatched);
    const QImage active = Shown(QRect(95, 95, 10, 10));
    for (int y = 90; y < 110; ++y)
        for (int x = 90; x < 110; ++x)
            ASSERT_EQ(page().pixel(x, y) == kWhite, x >= 95 && x < 105 && y >= 95 && y < 105) << x << "," << y;
    EXPECT_EQ(CaretAt(), QPoint(20, 96));  // the caret stays
    for (int y = 101; y <= 150; ++y) Move(QPoint(100, y));
    Release(Qt::LeftButton, QPoint(100, 150));
    EXPECT_EQ(shape->look(), RectangleShape::Look::Plain);
    Move(QPoint(100, 100));  // the same, now white, place: the two looks differ on the screen
    const QImage idle = Shown(QRect(95, 95, 10, 10));
    EXPECT_NE(idle, active);
    QImage blank(idle.size(), idle.format());
    blank.fill(kWhite);
    EXPECT_NE(idle, blank);
    EXPECT_EQ(page().pixel(100, 154), kWhite);
    EXPECT_NE(page().pixel(100, 156), kWhite);
    Move(QPoint(200, 200));  // no button: only the square moves
    EXPECT_NE(page().pixel(200, 200), kWhite);

    // The largest brush dragged off the page's corners paints only page pixels.
    ChooseEraser(50);
    const int W = page().width(), H = page().height();
    Press(Qt::LeftButton, QPoint(W - 5, H - 5));
    Move(QPoint(W + 6, H - 3));
    Move(QPoint(3, 3));
    Release(Qt::LeftButton, QPoint(3, 3));
    EXPECT_EQ(page().image().size(), QSize(W, H));
    EXPECT_EQ(page().pixel(W - 1, H - 1), kWhite);
    EXPECT_EQ(page().pixel(W - 30, H - 30), kWhite);   // beyond a 41-pixel source: still white
    EXPECT_NE(page().pixel(W - 31, H - 31), kWhite);
    EXPECT_EQ(page().pixel(0, 0), kWhite);
    EXPECT_EQ(page().pixel(27, 27), kWhite);
    EXPECT_NE(page().pixel(28, 28), kWhite);
    EXPECT_TRUE(form->IsModified());

    ChooseEraser(0);
    EXPECT_EQ(shape->y(), -999);
    Press(Qt::LeftButton, QPoint(400, 400));  // caret mode again: no erasing
    Release(Qt::LeftButton, QPoint(400, 400));
    EXPECT_NE(page().pixel(400, 400), kWhite);
}

TEST_F(Form1Mouse, ClickOnThePageClosesHeaderEditorsAndDeselects) {
    form->Picture1_KeyDown(68, 0);  // D: the text panel at the caret
    ui().List1->setCurrentRow(0);
    form->Command5_Click();
    form->Label7_Click(0);
    ASSERT_EQ(st().SelectedOverlay, 0);
    form->Label2_MouseDown(0, Qt::LeftButton);  // the numerator list opens at its label
    ASSERT_GT(ui().Combo1[0]->y(), -5000);

    Press(Qt::RightButton, QPoint(300, 700));  // not a click
    Release(Qt::RightButton, QPoint(300, 700));
    EXPECT_EQ(st().SelectedOverlay, 0);
    Click(QPoint(300, 600));  // off the lyrics box, which the right press opened
    EXPECT_FALSE(ui().Textgc->isVisible());
    EXPECT_EQ(st().SelectedOverlay, -1);
    EXPECT_EQ(form->overlays().Label7[0]->palette().color(QPalette::WindowText), QColor(Qt::black));
    EXPECT_EQ(ui().Combo1[0]->y(), -5000);
}

TEST_F(Form1Mouse, SlurKeyMarksThenDrawsInkOnly) {
    caret().Left = 100;
    caret().Top = 156;
    Key(Qt::Key_L);
    Key(Qt::Key_L);  // the same place: nothing drawn, the marker goes
    EXPECT_FALSE(ui().Label8->isVisible());
    EXPECT_FALSE(form->IsModified());

    // A dot to keep, inside the rectangle the arc will take.
    QImage mark(1, 1, QImage::Format_RGB32);
    mark.fill(kBlack);
    page().paintPicture(mark, mark.rect(), 200, 150);
    const quint64 generation = page().generation();
    caret().Left = 94;
    caret().Top = 156;
    Key(Qt::Key_L);
    EXPECT_EQ(form->Label8().Left, 94);
    caret().Left = 394;
    Key(Qt::Key_L);
    EXPECT_FALSE(ui().Label8->isVisible());
    // From x 100 to 400 on the line at 156: top 156 - 5 - 3, bottom 158.
    int ink = 0;
    for (int y = 148; y <= 158; ++y)
        for (int x = 100; x < 400; ++x) ink += page().pixel(x, y) == kBlack ? 1 : 0;
    EXPECT_GT(ink, 300);
    EXPECT_EQ(page().pixel(200, 150), kBlack);  // the dot inside the rectangle stays
    int outside = 0;
    for (int y = 130; y < 180; ++y)
        for (int x = 80; x < 420; ++x)
            if (y < 148 || y > 158 || x < 100 || x >= 400) outside += page().pixel(x, y) == kBlack ? 1 : 0;
    EXPECT_EQ(outside, 0);
    EXPECT_NE(page().generation(), generation);
}

TEST_F(Form1Mouse, GraceNoteKeyPlacesOverlaysFromTheLibrary) {
    const QStringList files = [&] {
        QStringList out;
        for (int i = 0; i < ui().File1->count(); ++i) out << ui().File1->item(i)->text();
        return out;
    }();
    struct Case {
        const char* name;
        std::optional<QString> answer;
        int countBefore;
        QString message;
        int placed;
    } cases[] = {
        {"cancelled", std::nullopt, 0, "", 0},
        {"empty", QString(), 0, "", 0},
        {"one", QStringLiteral("3"), 0, "", 2},
        {"five", QStringLiteral("12345"), 3, "", 6},
        {"six", QStringLiteral("123456"), 0, "最多只能插入5个", 0},
        {"letter", QStringLiteral("1a"), 0, "只能输入1到7", 0},
        {"eight", QStringLiteral("128"), 0, "只能输入1到7", 0},
        {"last room", QStringLiteral("135"), 46, "", 4},
        {"no room", QStringLiteral("135"), 47, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (form->IsModified()) dialogs.saveChangesAnswers = {SaveChangesAnswer::No};
        form->Command1_Click(6);  // a new page: no overlays, nothing modified
        ASSERT_FALSE(form->IsModified());
        st().PictureOverlayCount = Integer(c.countBefore);
        caret().Left = 200;
        caret().Top = 216;
        dialogs.messages.clear();
        dialogs.asked.clear();
        dialogs.inputAnswers = {c.answer};
        Key(Qt::Key_O);
        EXPECT_EQ(dialogs.asked, QStringList{"输入装饰音 [1]"});
        EXPECT_EQ(dialogs.messages, c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_EQ(st().PictureOverlayCount, c.countBefore + c.placed);
        EXPECT_EQ(form->IsModified(), c.placed > 0);
        if (c.placed == 0) {
            EXPECT_TRUE(form->overlays().Ima[size_t(c.countBefore)]->isHidden());
            continue;
        }
        EXPECT_EQ(st().OverlayInsertX, 200);
        EXPECT_EQ(st().OverlayInsertY, 216);
        const QString digits = *c.answer;
        const int n = int(digits.size());
        for (int i = 0; i <= n; ++i) {
            const ClickLabel* o = form->overlays().Ima[size_t(c.countBefore + i)];
            const bool group = i == n;
            const QString file = group ? QStringLiteral("装饰音%1.bmp").arg(n) : QString(digits[i]) + ".bmp";
            const QPoint where = group ? QPoint(200 - 8 * n - 1, 220) : QPoint(200 + 8 * (i + 1) - 8 * n - 8, 207);
            EXPECT_FALSE(o->isHidden()) << i;
            EXPECT_EQ(o->pos(), where) << i;
            EXPECT_EQ(o->pixmap().size(), QImage(Path("s/sik/" + file)).size()) << i;
            EXPECT_EQ(o->Tag, QString::number(files.indexOf(file))) << i;
        }
    }
}

}  // namespace
}  // namespace qn
