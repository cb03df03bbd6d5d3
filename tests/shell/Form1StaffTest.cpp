// The window's staff panel and chord input, offscreen: the switches and the
// clef, real pointer events on the staff reaching the page, the preview
// pictures (present or missing), the selectors, and chords in the chord colour.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include "Atlas.h"
#include "FakeDialogs.h"
#include "Form1.h"
#include "Form1_Controls.h"
#include "StaffPanel.h"

namespace qn {
namespace {

// The first difference between a page cell and an atlas cell, empty when equal.
std::string CellDiff(const Page& page, int x, int y, const QImage& atlas, const QRect& cell) {
    for (int r = 0; r < cell.height(); ++r)
        for (int c = 0; c < cell.width(); ++c)
            if (page.pixel(x + c, y + r) != (atlas.pixel(cell.x() + c, cell.y() + r) | 0xFF000000u))
                return "differs at page (" + std::to_string(x + c) + ", " + std::to_string(y + r) + ")";
    return {};
}

class Form1Staff : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    // A preview picture of a colour of its own, so the test sees which one is shown.
    void WritePreview(const QString& name, QRgb colour) {
        QDir(dir.path()).mkpath(QStringLiteral("wn"));
        QImage picture(22, 106, QImage::Format_RGB32);
        picture.fill(colour);
        // The program reads the picture by its content, whatever its name says.
        ASSERT_TRUE(picture.save(QDir(dir.path()).filePath(QStringLiteral("wn/") + name), "PNG"));
    }

    Form1& Start() {
        form = std::make_unique<Form1>(dir.path(), &dialogs);
        form->controls().Check9->setChecked(false);
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        return *form;
    }
    Form1::Controls& ui() { return form->controls(); }
    EditorState& st() { return form->editor().st; }
    Page& page() { return form->editor().page; }

    void StaffInputOn() {
        ui().Check1->click();
        ASSERT_TRUE(ui().Picture3->isVisible());
    }
    // A pointer move and press on the staff's mouse area. The move goes as an
    // event of its own: the test tool drops a move to where the pointer already is.
    void Point(int x, int y) {
        QWidget* area = ui().Label10;
        const QPointF at(x, y);
        QMouseEvent move(QEvent::MouseMove, at, area->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(area, &move);
    }
    void Click(int x, int y, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        Point(x, y);
        QTest::mousePress(ui().Label10, button, modifiers, QPoint(x, y));
        QTest::mouseRelease(ui().Label10, button, modifiers, QPoint(x, y));
    }
    QRgb PreviewColour() {
        const QPixmap p = ui().Image3->pixmap();
        return p.isNull() ? 0 : p.toImage().pixel(10, 50) & 0xFFFFFF;
    }

    QTemporaryDir dir;
    FakeDialogs dialogs;
    std::unique_ptr<Form1> form;
};

TEST_F(Form1Staff, SwitchOpensThePanelAndTheKeyListAndXClosesThem) {
    Form1& f = Start();
    Form1::Controls& c = ui();
    EXPECT_FALSE(c.Picture3->isVisible());
    c.Check1->click();
    EXPECT_TRUE(c.Combo2->isEnabled());
    EXPECT_TRUE(c.Picture3->isVisible());
    EXPECT_EQ(c.Picture3->geometry(), QRect(80, f.height() - 277, 292, 277));
    EXPECT_TRUE(c.Picture1->hasFocus());
    c.HScroll2[0]->setValue(100);  // a wider, taller page and window
    EXPECT_EQ(c.Picture3->geometry(), QRect(80, f.height() - 277, 292, 277));
    EXPECT_GT(f.height(), 945);
    c.Check1->click();
    EXPECT_FALSE(c.Picture3->isVisible());
    EXPECT_FALSE(c.Combo2->isEnabled());

    c.Check1->click();
    c.Command13->click();
    EXPECT_FALSE(c.Picture3->isVisible());
    EXPECT_FALSE(c.Check1->isChecked());
    EXPECT_FALSE(c.Combo2->isEnabled());
}

TEST_F(Form1Staff, ClefFollowsItsLabelAndTheInputMode) {
    Start();
    Form1::Controls& c = ui();
    auto treble = [&] { return c.Image1[0]->isVisibleTo(c.Picture3) && !c.Image1[1]->isVisibleTo(c.Picture3); };
    auto bass = [&] { return !c.Image1[0]->isVisibleTo(c.Picture3) && c.Image1[1]->isVisibleTo(c.Picture3); };
    EXPECT_TRUE(treble());
    QTest::mouseClick(c.Label3, Qt::LeftButton);
    EXPECT_EQ(c.Label3->text(), "低音谱号");
    EXPECT_TRUE(bass());
    QTest::mouseClick(c.Label3, Qt::LeftButton);
    EXPECT_TRUE(treble());

    c.Command10->click();  // chord input: bass staff
    EXPECT_EQ(c.Label3->text(), "低音谱号");
    EXPECT_TRUE(bass());
    QTest::mouseClick(c.Label3, Qt::LeftButton);  // the clef alone
    EXPECT_TRUE(treble());
    EXPECT_EQ(st().NoteInputMode, 0);
    QTest::keyClick(c.Picture1, Qt::Key_K);  // note input: treble again
    EXPECT_EQ(c.Label3->text(), "高音谱号");
    EXPECT_TRUE(treble());
}

TEST_F(Form1Staff, ClickStampsTheDigitOfThePointedPlaceInTheKey) {
    Start();
    Form1::Controls& c = ui();
    StaffInputOn();
    struct Case {
        const char* name;
        int key;  // Combo2
        bool bass;
        int x, y;
        Integer code, beams;
    } cases[] = {
        {"treble, C, ledger line, quarter zone", 0, false, 100, 190, 14, 0},
        {"treble, C, ledger line, 16th zone", 0, false, 200, 190, 14, 2},
        {"treble, G, ledger line: 4 below", 4, false, 150, 190, 10, 1},
        {"bass, C, bottom line: 5 two below", 0, true, 250, 172, 4, 3},
        {"bass, bE, ledger line above: 6 below", 2, true, 100, 82, 12, 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        page().clear();
        form->editor().caret.Left = 20;
        form->editor().caret.Top = 96;
        st().SpacingClass = 5;
        st().BarUnits = 0;
        c.Combo2->setCurrentIndex(k.key);
        if ((c.Label3->text() == "低音谱号") != k.bass) QTest::mouseClick(c.Label3, Qt::LeftButton);
        Click(k.x, k.y);
        EXPECT_EQ(CellDiff(page(), 20, 96, Picmode(), NoteCellRect(k.code, k.beams)), "");
        EXPECT_FLOAT_EQ(form->editor().caret.Left, 32);
    }
}

TEST_F(Form1Staff, NoteValueFromTheZonesOrFromThePattern) {
    Start();
    Form1::Controls& c = ui();
    StaffInputOn();
    c.Option1[1]->click();  // eighth notes
    c.Check7->click();      // zones off: the pattern counts
    EXPECT_FALSE(c.Label9->isVisibleTo(c.Picture3));
    for (QFrame* line : c.Line5) EXPECT_FALSE(line->isVisibleTo(c.Picture3));
    Click(250, 190);
    EXPECT_EQ(CellDiff(page(), 20, 96, Picmode(), NoteCellRect(14, 1)), "");

    // A right click without zones is Esc: the next ticked pattern.
    Click(250, 190, Qt::RightButton);
    EXPECT_EQ(st().NoteValue, 0);
    EXPECT_TRUE(c.Option1[0]->isChecked());

    c.Check7->click();
    EXPECT_TRUE(c.Label9->isVisibleTo(c.Picture3));
    // With zones a right click is a rest with the zone's beams.
    const float before = form->editor().caret.Left;
    Click(200, 190, Qt::RightButton);
    EXPECT_GT(form->editor().caret.Left, before);
    EXPECT_EQ(st().LastBeamCount, 2);
}

TEST_F(Form1Staff, SelectorsPutAnAccidentalBeforeAndADotAfterTheNextNote) {
    Start();
    Form1::Controls& c = ui();
    StaffInputOn();
    QTest::mouseClick(c.Label12, Qt::LeftButton);
    QTest::mouseClick(c.Label12, Qt::LeftButton);
    EXPECT_EQ(c.Label12->text(), "降");
    EXPECT_EQ(c.Label12->Tag, "2");
    QTest::mouseClick(c.Label13, Qt::LeftButton);
    EXPECT_EQ(c.Label13->text(), "点");

    Click(100, 190);
    // A flat (half-width, upper band), the note, then the dot.
    const QRect flat = OrnamentCellRect(203, 3, 22);
    EXPECT_EQ(CellDiff(page(), 20, 96 + 3, Picmode2(), flat), "");
    EXPECT_EQ(CellDiff(page(), 26, 96, Picmode(), NoteCellRect(14, 0)), "");
    EXPECT_EQ(CellDiff(page(), 38, 96, Picmode2(), OrnamentCellRect(115, 0, 40)), "");
    EXPECT_EQ(c.Label12->text(), "无");
    EXPECT_EQ(c.Label12->Tag, "0");
    EXPECT_EQ(c.Label13->text(), "无");

    // They served one click only.
    page().clear();
    form->editor().caret.Left = 20;
    st().SpacingClass = 5;
    Click(100, 190);
    EXPECT_EQ(CellDiff(page(), 20, 96, Picmode(), NoteCellRect(14, 0)), "");
    EXPECT_FLOAT_EQ(form->editor().caret.Left, 32);
}

TEST_F(Form1Staff, PreviewShowsThePictureOfTheZoneAndHeight) {
    WritePreview("0s.gif", 0x102030);
    WritePreview("2s.gif", 0x405060);
    WritePreview("2.gif", 0x708090);
    Start();
    Form1::Controls& c = ui();
    StaffInputOn();
    Point(100, 190);
    EXPECT_EQ(PreviewColour(), 0x102030u);
    EXPECT_EQ(c.Image3->geometry(), QRect(91, 92, 22, 106));
    Point(200, 190);
    EXPECT_EQ(PreviewColour(), 0x405060u);
    Point(200, 100);  // top line: the high picture, head on the line
    EXPECT_EQ(PreviewColour(), 0x708090u);
    EXPECT_EQ(c.Image3->geometry(), QRect(191, 92, 22, 106));
}

TEST_F(Form1Staff, MissingPreviewPicturesLeaveThePreviewEmpty) {
    WritePreview("0s.gif", 0x102030);
    QDir(dir.path()).mkpath(QStringLiteral("wn"));
    QFile junk(QDir(dir.path()).filePath(QStringLiteral("wn/1s.gif")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("GIF89a not really");
    junk.close();
    Start();
    StaffInputOn();
    Point(100, 190);
    EXPECT_EQ(PreviewColour(), 0x102030u);
    Point(150, 190);  // unreadable picture
    EXPECT_TRUE(ui().Image3->pixmap().isNull());
    Point(250, 190);  // no picture at all
    EXPECT_TRUE(ui().Image3->pixmap().isNull());
    // The panel goes on working.
    Click(250, 190);
    EXPECT_EQ(CellDiff(page(), 20, 96, Picmode(), NoteCellRect(14, 3)), "");
}

TEST_F(Form1Staff, ChordsAreTypedInTheChordColour) {
    Form1& f = Start();
    Form1::Controls& c = ui();
    dialogs.colourAnswer = QColor(0, 0, 255);
    QTest::mouseClick(c.Label5, Qt::LeftButton);
    // A bar of four quarter notes, then chord input at its start.
    for (Qt::Key k : {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4}) QTest::keyClick(c.Picture1, k);
    QTest::keyClick(c.Picture1, Qt::Key_K);
    f.editor().caret.Left = 20;
    const quint64 before = page().generation();
    QTest::keyClick(c.Picture1, Qt::Key_5);
    EXPECT_GT(page().generation(), before);
    int blue = 0, red = 0;
    for (int y = 96 + 26; y < 96 + 60; ++y)
        for (int x = 0; x < 60; ++x) {
            const QRgb v = page().pixel(x, y) & 0xFFFFFF;
            blue += v == 0x0000FF;
            red += v == 0xFF0000;
        }
    EXPECT_GT(blue, 0);
    EXPECT_EQ(red, 0);
    EXPECT_FLOAT_EQ(f.editor().caret.Left, 98);  // past the bar line at 86..97
    EXPECT_TRUE(f.IsModified());
}

}  // namespace
}  // namespace qn
