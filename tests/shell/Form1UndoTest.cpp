// Undo and redo in the window, offscreen: the shortcuts, random sessions of
// keys, overlays, header texts and layout sliders undone and redone whole, the
// unsaved-changes state following the history, and the window's own changes.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <random>
#include <sstream>

#include "OverlaySlots.h"
#include "WindowChanges.h"

#include "WindowFixture.h"

namespace qn {
namespace {

// Everything an undo step puts back in the window, pixels aside.
struct WindowState {
    EditSnapshot snap;
    std::vector<OverlayLook> overlays;
    QStringList labels;  // title, header labels, page number, toolbar time signature
    int sliders[3] = {};
    int checkedPattern = -1;

    bool operator==(const WindowState& o) const {
        return snap == o.snap && overlays == o.overlays && labels == o.labels &&
               std::equal(sliders, sliders + 3, o.sliders) && checkedPattern == o.checkedPattern;
    }
    // The first difference, for failure messages.
    std::string diff(const WindowState& o) const {
        std::ostringstream s;
        if (!(snap == o.snap))
            s << "editing state: caret " << snap.caretLeft << "," << snap.caretTop << " vs " << o.snap.caretLeft
              << "," << o.snap.caretTop << ", BarUnits " << snap.BarUnits << " vs " << o.snap.BarUnits
              << ", overlays " << snap.TextOverlayCount << "/" << snap.PictureOverlayCount << " vs "
              << o.snap.TextOverlayCount << "/" << o.snap.PictureOverlayCount << "; ";
        for (size_t i = 0; i < overlays.size(); ++i)
            if (overlays[i] != o.overlays[i]) {
                const OverlayLook &a = overlays[i], &b = o.overlays[i];
                s << "overlay slot " << i << " (shown " << a.shown << "/" << b.shown << ", at " << a.geometry.x()
                  << "," << a.geometry.y() << " " << a.geometry.width() << "x" << a.geometry.height() << " / "
                  << b.geometry.x() << "," << b.geometry.y() << " " << b.geometry.width() << "x"
                  << b.geometry.height() << ", text " << a.text.toStdString() << "/" << b.text.toStdString()
                  << ", tag " << a.tag.toStdString() << "/" << b.tag.toStdString() << ", picture "
                  << a.picture.cacheKey() << "/" << b.picture.cacheKey() << "); ";
            }
        if (labels != o.labels)
            s << "labels " << labels.join('|').toStdString() << " vs " << o.labels.join('|').toStdString() << "; ";
        if (!std::equal(sliders, sliders + 3, o.sliders)) s << "layout sliders; ";
        if (checkedPattern != o.checkedPattern) s << "pattern " << checkedPattern << " vs " << o.checkedPattern;
        return s.str();
    }
};

std::string pageDiff(const Page& page, const QImage& want) {
    if (page.width() != want.width() || page.height() != want.height()) return "page size differs";
    for (int y = 0; y < want.height(); ++y)
        if (std::memcmp(page.storage().constScanLine(y), want.constScanLine(y), size_t(want.width()) * 4) != 0)
            return "pixels differ on row " + std::to_string(y);
    return {};
}

class Form1Undo : public test::WindowFixture {
public:
    void SetUp() override {
        WriteListsAndLibrary();
        form = std::make_unique<Form1>(dir.path(), &dialogs);
    }

    Editor& ed() { return form->editor(); }
    History& history() { return form->editor().history; }

    WindowState State() {
        Form1::Controls& c = ui();
        WindowState s;
        s.snap = EditSnapshot::Take(ed().st, ed().caret);
        for (ClickLabel* w : form->overlays().Label7) s.overlays.push_back(OverlayLook::Of(w));
        for (ClickLabel* w : form->overlays().Ima) s.overlays.push_back(OverlayLook::Of(w));
        s.labels << c.Label1->text() << c.Label16->text()
                 << QStringLiteral("%1,%2").arg(c.Label16->x()).arg(c.Label2[5]->x());
        for (int i : {0, 1, 2, 4, 5, 6, 7}) s.labels << c.Label2[i]->text();
        for (int i = 0; i < 3; ++i) s.sliders[i] = c.HScroll2[i]->value();
        for (int i = 0; i < 4; ++i)
            if (c.Option1[i]->isChecked()) s.checkedPattern = i;
        return s;
    }

};

TEST_F(Form1Undo, ShortcutsUndoAndRedoAndStampNothing) {
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    ui().Picture1->setFocus();
    const QImage empty = ed().page.image();
    QTest::keyClick(ui().Picture1, Qt::Key_1);
    const QImage one = ed().page.image();
    QTest::keyClick(ui().Picture1, Qt::Key_2);
    const QImage two = ed().page.image();
    ASSERT_NE(one, two);

    QTest::keyClick(ui().Picture1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(ed().page.image(), one);
    EXPECT_EQ(ed().caret.Left, 32);
    QTest::keyClick(ui().Picture1, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(ed().page.image(), two);
    EXPECT_EQ(ed().caret.Left, 50);
    QTest::keyClick(ui().Picture1, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(ui().Picture1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(ed().page.image(), empty);
    QTest::keyClick(ui().Picture1, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(ed().page.image(), one);
    EXPECT_EQ(history().count(), 2) << "Z and Y with Ctrl stamped nothing";
    form->close();
}

// After every command of a random session (keys with justification on, text and
// picture overlays created, selected, moved and hidden, header texts, the time
// signature, the page number and the layout sliders): undo all the way gives
// the empty page and the window as it started, redo all the way the page and
// window after the last step; the unsaved-changes state follows.
TEST_F(Form1Undo, RandomSessionsUndoAndRedoEverything) {
    const Integer keys[] = {49, 50, 51, 52, 53, 81, 112, 65, 190, 32, 8, 8, 13, 45, 37, 39, 38, 40, 34, 33, 96, 97};
    for (unsigned seed : {5u, 6u}) {
        form = std::make_unique<Form1>(dir.path(), &dialogs);
        Form1::Controls& c = ui();
        c.Check11->setChecked(true);
        std::mt19937 rng(seed);
        const QImage empty = ed().page.image();
        const WindowState start = State();
        // The state before and after each step on the stack.
        std::vector<WindowState> befores, afters;
        bool stepped = false;
        QObject::connect(&history().stack(), &QUndoStack::indexChanged, [&] { stepped = true; });
        for (int i = 0; i < 260; ++i) {
            const WindowState pre = State();
            const int count = history().count();
            stepped = false;
            std::string what;
            const unsigned r = rng() % 100;
            if (r < 55) {
                const Integer k = keys[rng() % (sizeof keys / sizeof keys[0])];
                what = "key " + std::to_string(k);
                form->Picture1_KeyDown(k, Integer(rng() % 4 == 0 ? 2 : 0));
            } else if (r < 62) {
                what = "text overlay";
                AddText(int(rng() % 3));
            } else if (r < 66) {
                what = "picture overlay";
                AddPicture(int(rng() % 3));
            } else if (r < 72) {
                const Integer n = ed().st.TextOverlayCount, m = ed().st.PictureOverlayCount;
                what = "select";
                if (n > 0 && (m == 0 || rng() % 2)) form->Label7_Click(int(rng() % unsigned(n)));
                else if (m > 0) form->Ima_Click(int(rng() % unsigned(m)));
            } else if (r < 75) {
                what = "deselect";
                ed().st.SelectedOverlay = -1;  // a click on the page will do this
            } else if (r < 78) {
                what = "Delete";
                form->Picture1_KeyDown(46, 0);
            } else if (r < 81) {
                what = "title";
                dialogs.inputAnswers = {QStringLiteral("T%1").arg(i)};
                form->Label1_DblClick();
            } else if (r < 84) {
                what = "tempo";
                c.HScroll1->setValue(40 + int(rng() % 100));
            } else if (r < 87) {
                what = "numerator";
                c.Combo1[0]->setCurrentIndex(int(rng() % 5));
                form->Combo1_Click(0);
            } else if (r < 90) {
                what = "page number";
                dialogs.inputAnswers = {QString::number(rng() % 30)};
                form->Label16_Click();
            } else if (r < 95) {
                what = "bar width";
                c.HScroll2[0]->setValue(60 + 10 * int(rng() % 4));
            } else {
                what = "bars per line";
                c.HScroll2[1]->setValue(6 + int(rng() % 4));
            }
            if (ed().caret.Top > 700) ed().caret.Top = 96;
            if (history().count() == count + 1) {
                befores.push_back(pre);
                afters.push_back(State());
            } else if (history().count() == count && stepped && count > 0) {
                afters.back() = State();  // merged into the step on top
            } else if (history().count() == count - 1) {
                befores.pop_back();  // moved back where the run started
                afters.pop_back();
            } else {
                ASSERT_EQ(history().count(), count) << what << " at command " << i;
            }
            if (history().count() == 0) continue;
            ASSERT_TRUE(form->IsModified());

            const QImage final = ed().page.image();
            const WindowState live = State();
            const EditorState liveState = ed().st;
            const Caret liveCaret = ed().caret;
            while (history().canUndo()) form->Undo();
            ASSERT_EQ(pageDiff(ed().page, empty), "") << "undo all after " << what << " at command " << i << ", seed " << seed;
            WindowState now = State();
            WindowState want = start;
            want.snap = befores.front().snap;
            want.checkedPattern = want.snap.NoteValue;
            ASSERT_EQ(now, want) << now.diff(want) << " undo all after " << what << " at command " << i;
            ASSERT_FALSE(form->IsModified());
            while (history().canRedo()) form->Redo();
            ASSERT_EQ(pageDiff(ed().page, final), "") << "redo all after " << what << " at command " << i << ", seed " << seed;
            // Every change of the document is in a step: redone, the window is as it was,
            // but for the caret moves and mode keys since the last step.
            now = State();
            want = live;
            want.snap = afters.back().snap;
            want.checkedPattern = want.snap.NoteValue;
            ASSERT_EQ(now, want) << now.diff(want) << " redo all after " << what << " at command " << i;
            ASSERT_TRUE(form->IsModified());
            ed().st = liveState;
            ed().caret = liveCaret;
        }
        EXPECT_GT(history().count(), 60);
    }
}

TEST_F(Form1Undo, UndoingBackToTheSavedStateMakesTheDocumentClean) {
    Type({49, 50});
    SaveAs("song.bmp");
    ASSERT_FALSE(form->IsModified());
    Type({51});
    EXPECT_TRUE(form->IsModified());
    form->Undo();
    EXPECT_FALSE(form->IsModified());
    form->Undo();
    EXPECT_TRUE(form->IsModified());
    form->Redo();
    EXPECT_FALSE(form->IsModified());
    // A change after undoing below the save leaves no way back to it.
    form->Undo();
    Type({53});
    EXPECT_TRUE(form->IsModified());
    EXPECT_FALSE(history().canRedo());

    // "打开" and "新建" start a fresh history.
    dialogs.saveChangesAnswers.push_back(SaveChangesAnswer::No);
    dialogs.fileAnswers.push_back(Path("song.bmp"));
    form->Command1_Click(0);
    EXPECT_FALSE(history().canUndo());
    EXPECT_FALSE(form->IsModified());
    Type({52});
    dialogs.saveChangesAnswers.push_back(SaveChangesAnswer::No);
    form->Command1_Click(6);
    EXPECT_FALSE(history().canUndo());
    EXPECT_FALSE(form->IsModified());
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(Form1Undo, OverlaysAreUndoneAndARunOfMovesIsOneStep) {
    OverlaySlots& o = form->overlays();
    ed().caret.Left = 140;
    ed().caret.Top = 156;
    AddText(1);
    ASSERT_EQ(o.Label7[0]->pos(), QPoint(140, 144));
    form->Label7_Click(0);
    for (Integer shift : {0, 0, 2}) form->Picture1_KeyDown(39, shift);  // right 6, 6, 60
    form->Picture1_KeyDown(40, 0);                                     // down 6
    ASSERT_EQ(o.Label7[0]->pos(), QPoint(212, 150));
    EXPECT_EQ(history().count(), 2);
    form->Picture1_KeyDown(46, 0);  // Delete hides it
    EXPECT_TRUE(o.Label7[0]->isHidden());
    EXPECT_EQ(history().count(), 3);

    form->Undo();
    EXPECT_FALSE(o.Label7[0]->isHidden());
    EXPECT_EQ(o.Label7[0]->pos(), QPoint(212, 150));
    form->Undo();
    EXPECT_EQ(o.Label7[0]->pos(), QPoint(140, 144));
    form->Undo();
    EXPECT_TRUE(o.Label7[0]->isHidden());
    EXPECT_EQ(ed().st.TextOverlayCount, 0);
    EXPECT_TRUE(form->CurrentDocument().textOverlays.empty());
    form->Redo();
    EXPECT_EQ(ed().st.TextOverlayCount, 1);
    EXPECT_EQ(o.Label7[0]->text(), "a tempo");
    EXPECT_EQ(o.Label7[0]->pos(), QPoint(140, 144));
    form->Redo();
    EXPECT_EQ(o.Label7[0]->pos(), QPoint(212, 150));

    // A picture overlay, and a move back to where its run started leaves no step.
    AddPicture(2);
    const int steps = history().count();
    form->Ima_Click(0);
    form->Picture1_KeyDown(37, 0);
    form->Picture1_KeyDown(39, 0);
    EXPECT_EQ(history().count(), steps);
    form->Undo();
    EXPECT_TRUE(o.Ima[0]->isHidden());
    EXPECT_EQ(ed().st.PictureOverlayCount, 0);
}

TEST_F(Form1Undo, HeaderTextsTimeSignatureAndPageNumberComeBack) {
    Form1::Controls& c = ui();
    dialogs.inputAnswers = {QStringLiteral("小星星"), QStringLiteral("12"), QStringLiteral("很长的备注文字")};
    form->Label1_DblClick();
    c.Combo1[0]->setCurrentIndex(1);  // "3"
    form->Combo1_Click(0);
    form->Label16_Click();
    const QRect credits = c.Label2[5]->geometry();
    form->Label2_MouseDown(5, Qt::LeftButton);
    ASSERT_EQ(c.Label2[5]->geometry().right() + 1, 668 - 32);
    ASSERT_NE(c.Label2[5]->geometry(), credits);
    EXPECT_EQ(history().count(), 4);

    form->Undo();
    EXPECT_EQ(c.Label2[5]->geometry(), credits);
    form->Undo();
    EXPECT_EQ(ed().st.PageNumber, 0);
    EXPECT_EQ(c.Label16->text(), "< 1 >");
    form->Undo();
    EXPECT_EQ(c.Label2[0]->text(), "4");
    EXPECT_EQ(c.Label2[7]->text(), "4");
    EXPECT_EQ(ed().st.BeatsPerBar, 4);
    form->Undo();
    EXPECT_EQ(c.Label1->text(), "标题");
    EXPECT_FALSE(form->IsModified());

    form->Redo();
    form->Redo();
    EXPECT_EQ(c.Label2[7]->text(), "3");
    EXPECT_EQ(ed().st.BeatsPerBar, 3);
    form->Redo();
    EXPECT_EQ(c.Label16->text(), "< 12 >");
    EXPECT_EQ(c.Label16->x(), (668 - c.Label16->width()) / 2);
}

TEST_F(Form1Undo, ALayoutThatCutsThePageOffIsUndone) {
    Form1::Controls& c = ui();
    ed().caret.Left = 580;
    Type({49});
    int ink = 0;
    for (int y = 96; y < 136; ++y)
        for (int x = 580; x < 592; ++x) ink += ed().page.isInk(x, y) ? 1 : 0;
    ASSERT_GT(ink, 0) << "a note beyond the narrower page";
    const QImage written = ed().page.image();
    c.HScroll2[0]->setValue(60);  // 60 * 8 + 28 = 508 pixels wide
    ASSERT_EQ(ed().page.width(), 508);
    form->Undo();
    EXPECT_EQ(c.HScroll2[0]->value(), 80);
    EXPECT_EQ(c.Label4[0]->text(), "小节宽度 80");
    EXPECT_EQ(ui().Picture1->width(), 668);
    EXPECT_EQ(pageDiff(ed().page, written), "");
    form->Redo();
    EXPECT_EQ(c.HScroll2[0]->value(), 60);
    EXPECT_EQ(ed().page.width(), 508);
    EXPECT_EQ(history().count(), 2);
}

TEST_F(Form1Undo, TheNoteValueAndCaretPictureComeBack) {
    Form1::Controls& c = ui();
    form->Picture1_KeyDown(97, 0);  // keypad 1: eighth notes
    Type({49});
    form->Picture1_KeyDown(96, 0);  // keypad 0: quarter notes, no step
    ASSERT_TRUE(c.Option1[0]->isChecked());
    form->Undo();
    EXPECT_EQ(ed().st.NoteValue, 1);
    EXPECT_EQ(ed().caret.Picture, 1);
    EXPECT_TRUE(c.Option1[1]->isChecked());
    EXPECT_EQ(ed().caret.Left, 20);
}

}  // namespace
}  // namespace qn
