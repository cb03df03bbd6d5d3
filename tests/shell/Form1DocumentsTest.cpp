// The window's documents, header and overlays, offscreen: saving and opening
// through the toolbar commands, the header editors, the insert panels and the
// overlays' selection, and the question before unsaved work is dropped.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <functional>
#include <sys/stat.h>

#include "OutlineWindow.h"
#include "OverlaySlots.h"
#include "ScoreDocument.h"

#include "WindowFixture.h"

namespace qn {
namespace {

class Form1Documents : public test::WindowFixture {
public:
    void SetUp() override {
        WriteListsAndLibrary();
        form = std::make_unique<Form1>(dir.path(), &dialogs);
    }

    EditorState& st() { return form->editor().st; }

};

TEST_F(Form1Documents, SaveNewOpenGivesBackEverything) {
    Form1::Controls& c = ui();
    Type({49, 50, 51, 52, 53});
    dialogs.inputAnswers = {QStringLiteral("小星星"), QStringLiteral("12abc")};
    form->Label1_DblClick();
    form->Label16_Click();
    form->editor().caret.Left = 140;
    form->editor().caret.Top = 156;
    AddText(0);
    AddText(1);
    AddText(2);
    form->Label7_Click(1);
    form->Picture1_KeyDown(46, 0);  // Delete hides the second phrase
    AddPicture(2);
    c.HScroll1->setValue(96);       // tempo
    c.Combo1[2]->setCurrentIndex(3);  // key bE
    form->Combo1_Click(2);
    c.HScroll2[0]->setValue(100);
    st().SpacingValues[1] = 0.75f;
    c.Check4->setChecked(false);
    const QImage page = form->editor().page.image();

    const int beeps = dialogs.beeps;  // Delete beeps too
    SaveAs("song.bmp");
    ASSERT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('\n').toStdString();
    EXPECT_EQ(st().DocumentPath, Path("song.bmp"));
    EXPECT_EQ(dialogs.beeps, beeps + 1);
    EXPECT_FALSE(form->IsModified());
    QFile sidecar(Path("song.dat"));
    ASSERT_TRUE(sidecar.open(QIODevice::ReadOnly));
    const QByteArray bytes = sidecar.readAll();
    // Three phrases with the second deleted: two records, packed.
    EXPECT_EQ(qFromLittleEndian<qint16>(bytes.constData() + 149), 2);
    EXPECT_EQ(qFromLittleEndian<qint16>(bytes.constData() + 204), 0);
    EXPECT_EQ(qFromLittleEndian<qint16>(bytes.constData() + 210), 2);

    form->Command1_Click(6);  // new
    EXPECT_EQ(c.Label1->text(), "标题");
    EXPECT_EQ(st().TextOverlayCount, 0);
    EXPECT_TRUE(form->overlays().Label7[0]->isHidden());
    EXPECT_NE(form->editor().page.image(), page);

    dialogs.fileAnswers.push_back(Path("song.bmp"));
    form->Command1_Click(0);
    EXPECT_EQ(form->editor().page.image(), page);
    EXPECT_EQ(st().DocumentPath, Path("song.bmp"));
    EXPECT_EQ(c.Label1->text(), "小星星");
    EXPECT_EQ(c.Label16->text(), "< 12 >");
    EXPECT_EQ(st().PageNumber, 12);
    EXPECT_EQ(c.Label2[4]->text(), "每分钟96拍");
    EXPECT_EQ(c.Label2[2]->text(), "bE");
    EXPECT_EQ(c.HScroll2[0]->value(), 100);
    EXPECT_EQ(c.HScroll2[1]->value(), 8);  // new had set 12; the file holds 8
    EXPECT_FALSE(c.HScroll2[2]->isEnabled());
    EXPECT_FALSE(c.Check4->isChecked());
    EXPECT_EQ(c.Label6s[1]->text(), "0.75");
    EXPECT_EQ(st().TextOverlayCount, 2);
    EXPECT_EQ(form->overlays().Label7[0]->text(), "rit.");
    EXPECT_EQ(form->overlays().Label7[1]->text(), "D.C.");
    EXPECT_EQ(form->overlays().Label7[1]->pos(), QPoint(140, 144));
    EXPECT_FALSE(form->overlays().Label7[1]->isHidden());
    EXPECT_TRUE(form->overlays().Label7[2]->isHidden());
    EXPECT_EQ(st().PictureOverlayCount, 1);
    EXPECT_EQ(form->overlays().Ima[0]->pixmap().size(), QSize(11, 10));  // "3.bmp"
    EXPECT_FALSE(form->IsModified());
}

TEST_F(Form1Documents, SaveAsksForANameOnceAndReplaceOnlyOnAnExistingBitmap) {
    Type({49});
    dialogs.fileAnswers.push_back(Path("a.bmp"));
    form->Command1_Click(1);
    EXPECT_EQ(dialogs.asked, QStringList({"保存 位图(*.bmp)"}));
    Type({50});
    form->Command1_Click(1);  // has a path: no dialog, no question
    EXPECT_EQ(dialogs.asked.size(), 1);
    EXPECT_EQ(dialogs.beeps, 2);

    // Save as to the same name asks; No leaves everything.
    dialogs.fileAnswers.push_back(Path("a.bmp"));
    dialogs.yesNoAnswers.push_back(false);
    form->Command1_Click(2);
    EXPECT_EQ(dialogs.asked.last(), "已经存在的图片，是否替换原来的？");
    EXPECT_EQ(dialogs.beeps, 2);

    // A new name whose sidecar alone exists: no question, the sidecar is patched.
    Write("b.dat", QByteArray(900, '\x11'));
    dialogs.fileAnswers.push_back(Path("b.bmp"));
    form->Command1_Click(2);
    EXPECT_EQ(dialogs.asked.size(), 4);  // the dialog only
    EXPECT_EQ(st().DocumentPath, Path("b.bmp"));
    QFile side(Path("b.dat"));
    ASSERT_TRUE(side.open(QIODevice::ReadOnly));
    EXPECT_EQ(side.readAll().mid(800), QByteArray(100, '\x11'));

    // Cancelled dialog: nothing.
    form->Command1_Click(2);
    EXPECT_EQ(st().DocumentPath, Path("b.bmp"));
    EXPECT_TRUE(ui().Picture1->hasFocus() || !form->isVisible());
}

TEST_F(Form1Documents, FailedSaveSaysSoAndKeepsThePath) {
    Type({49});
    SaveAs("good.bmp");
    ASSERT_EQ(dialogs.beeps, 1);
    QDir(dir.path()).mkdir("blocked.dat");  // the sidecar cannot be written
    SaveAs("blocked.bmp");
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].contains(Path("blocked.dat")));
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_EQ(st().DocumentPath, Path("good.bmp"));
    EXPECT_FALSE(QFile::exists(Path("blocked.bmp")));
}

TEST_F(Form1Documents, BitmapThatCannotBeLoadedChangesNothing) {
    Type({49, 50});
    SaveAs("kept.bmp");
    const QImage page = form->editor().page.image();
    Write("broken.bmp", QByteArray("BM\x10\x00", 4));
    dialogs.fileAnswers.push_back(Path("broken.bmp"));
    form->Command1_Click(0);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].contains(Path("broken.bmp")));
    EXPECT_EQ(st().DocumentPath, Path("kept.bmp"));
    EXPECT_EQ(form->editor().page.image(), page);
    EXPECT_TRUE(ui().HScroll2[2]->isEnabled());
    EXPECT_FALSE(QFile::exists(Path("broken.dat")));
}

TEST_F(Form1Documents, OpeningABitmapWithoutSidecarKeepsTheSettingsAndMakesTheSidecar) {
    QImage foreign(668, 945, QImage::Format_RGB32);
    foreign.fill(Qt::white);
    foreign.setPixel(30, 100, qRgb(0, 0, 0));
    foreign.save(Path("foreign.bmp"), "BMP");
    dialogs.inputAnswers = {QStringLiteral("Mine")};
    form->Label1_DblClick();
    dialogs.saveChangesAnswers.push_back(SaveChangesAnswer::No);
    dialogs.fileAnswers.push_back(Path("foreign.bmp"));
    form->Command1_Click(0);
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(QFile::exists(Path("foreign.dat")));
    EXPECT_TRUE(form->editor().page.isInk(30, 100));
    EXPECT_EQ(ui().Label1->text(), "Mine");
    EXPECT_EQ(ui().Label16->text(), "< 1 >");
}

TEST_F(Form1Documents, AMixedPairOrAnUnreadableSidecarIsSaidOnOpen) {
    Type({49, 50});
    SaveAs("one.bmp");
    const QByteArray firstBitmap = [&] {
        QFile f(Path("one.bmp"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    Type({51, 52});
    form->Command1_Click(1);  // the second save: new page, new sidecar
    Write("one.bmp", firstBitmap);  // as a kill between the two renames leaves it
    dialogs.messages.clear();
    dialogs.fileAnswers.push_back(Path("one.bmp"));
    form->Command1_Click(0);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].contains(QStringLiteral("不是同一次保存的")));
    EXPECT_TRUE(dialogs.messages[0].contains(Path("one.bmp")));
    EXPECT_EQ(st().DocumentPath, Path("one.bmp")) << "the page still opens";

    // A pair of one save opens without a word.
    form->Command1_Click(1);
    dialogs.messages.clear();
    dialogs.fileAnswers.push_back(Path("one.bmp"));
    form->Command1_Click(0);
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join('\n').toStdString();

    // A FIFO for a sidecar: the page opens, the settings stay, and it is said.
    QFile::copy(Path("one.bmp"), Path("two.bmp"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path("two.dat")).constData(), 0644), 0);
    dialogs.fileAnswers.push_back(Path("two.bmp"));
    form->Command1_Click(0);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].contains(QStringLiteral("管道")));
    EXPECT_EQ(st().DocumentPath, Path("two.bmp"));
}

TEST_F(Form1Documents, UnsavedChangesAreAskedAbout) {
    struct Case {
        const char* name;
        std::function<void(Form1Documents&)> change;  // null: nothing changed
        std::optional<SaveChangesAnswer> answer;       // none: no question expected
        bool newRuns;
    } cases[] = {
        {"unchanged", nullptr, std::nullopt, true},
        {"typed, cancel", [](Form1Documents& t) { t.Type({49}); }, SaveChangesAnswer::Cancel, false},
        {"typed, no", [](Form1Documents& t) { t.Type({49}); }, SaveChangesAnswer::No, true},
        {"overlay, no", [](Form1Documents& t) { t.AddText(0); }, SaveChangesAnswer::No, true},
        {"title, cancel",
         [](Form1Documents& t) {
             t.dialogs.inputAnswers = {QStringLiteral("x")};
             t.form->Label1_DblClick();
         },
         SaveChangesAnswer::Cancel, false},
        {"arrow keys only", [](Form1Documents& t) { t.Type({39, 39}); }, std::nullopt, true},
    };
    for (const Case& c : cases) {
        form = std::make_unique<Form1>(dir.path(), &dialogs);
        dialogs.asked.clear();
        if (c.change) c.change(*this);
        form->editor().caret.Left = 200;
        if (c.answer) dialogs.saveChangesAnswers.push_back(*c.answer);
        form->Command1_Click(6);
        EXPECT_EQ(dialogs.asked.contains("是否保存对当前乐谱的修改？"), c.answer.has_value()) << c.name;
        EXPECT_EQ(form->editor().caret.Left == 20, c.newRuns) << c.name;
    }
}

TEST_F(Form1Documents, YesSavesFirstAndAFailedSaveStopsTheCommand) {
    Type({49});
    dialogs.saveChangesAnswers.push_back(SaveChangesAnswer::Yes);
    dialogs.fileAnswers.push_back(Path("first.bmp"));
    form->Command1_Click(6);
    EXPECT_TRUE(QFile::exists(Path("first.bmp")));
    EXPECT_EQ(ui().Label1->text(), "标题");
    EXPECT_TRUE(st().DocumentPath.isEmpty());

    Type({50});
    dialogs.saveChangesAnswers.push_back(SaveChangesAnswer::Yes);
    form->Command1_Click(6);  // the save dialog is cancelled: no new page
    EXPECT_TRUE(form->IsModified());
    EXPECT_NE(form->editor().caret.Left, 20);
}

TEST_F(Form1Documents, ShortcutsSaveAndStampNothing) {
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    ui().Picture1->setFocus();
    QTest::keyClick(ui().Picture1, Qt::Key_1);
    const QImage before = form->editor().page.image();
    const float caretBefore = form->editor().caret.Left;
    dialogs.fileAnswers.push_back(Path("k.bmp"));
    QTest::keyClick(ui().Picture1, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(QFile::exists(Path("k.bmp")));
    EXPECT_EQ(form->editor().page.image(), before);
    EXPECT_EQ(form->editor().caret.Left, caretBefore);
    QTest::keyClick(ui().Picture1, Qt::Key_O, Qt::ControlModifier);   // cancelled open
    QTest::keyClick(ui().Picture1, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);  // cancelled
    EXPECT_EQ(dialogs.asked, QStringList({"保存 位图(*.bmp)", "打开 位图(*.bmp)", "保存 位图(*.bmp)"}));
    EXPECT_EQ(form->editor().page.image(), before);
    form->close();
}

TEST_F(Form1Documents, OverlaysAreCreatedSelectedMovedAndHidden) {
    OverlaySlots& o = form->overlays();
    form->editor().caret.Left = 140;
    form->editor().caret.Top = 156;
    form->Picture1_KeyDown(68, 0);
    EXPECT_EQ(ui().Frame2->pos(), QPoint(140, 168));
    form->Command5_Click();  // no phrase chosen: the panel stays
    EXPECT_FALSE(ui().Frame2->isHidden());
    ui().List1->setCurrentRow(1);
    form->List1_DblClick();
    EXPECT_TRUE(ui().Frame2->isHidden());
    EXPECT_EQ(o.Label7[0]->pos(), QPoint(140, 144));
    EXPECT_EQ(o.Label7[0]->text(), "a tempo");
    AddPicture(0);
    EXPECT_EQ(o.Ima[0]->pos(), QPoint(140, 144));

    form->Label7_Click(0);
    EXPECT_EQ(o.Label7[0]->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    form->Ima_Click(0);
    EXPECT_EQ(st().SelectedOverlay, 50);
    EXPECT_EQ(o.Label7[0]->palette().color(QPalette::WindowText), QColor(0, 0, 0));

    const std::pair<Integer, QPoint> moves[] = {
        {0, QPoint(146, 144)}, {1, QPoint(147, 144)}, {2, QPoint(207, 144)}};
    for (auto [shift, want] : moves) {
        form->Picture1_KeyDown(39, shift);
        EXPECT_EQ(o.Ima[0]->pos(), want) << "shift " << shift;
    }
    form->Picture1_KeyDown(46, 0);
    EXPECT_TRUE(o.Ima[0]->isHidden());

    // Fifty phrases fill the sidecar's text area: the key refuses the 51st.
    for (int i = 1; i < 50; ++i) AddText(0);
    EXPECT_EQ(st().TextOverlayCount, 50);
    form->Picture1_KeyDown(68, 0);
    EXPECT_TRUE(ui().Frame2->isHidden());
}

TEST_F(Form1Documents, HeaderEditorsOpenAtTheirLabelsAndCommit) {
    Form1::Controls& c = ui();
    form->Label2_MouseDown(0, Qt::LeftButton);
    EXPECT_EQ(c.Combo1[0]->y(), c.Label2[0]->y());
    EXPECT_EQ(c.Combo1[0]->currentText(), "4");
    c.Combo1[0]->setCurrentIndex(1);  // "3"
    form->Combo1_Click(0);
    EXPECT_EQ(c.Label2[0]->text(), "3");
    EXPECT_EQ(c.Label2[7]->text(), "3");
    EXPECT_EQ(st().BeatsPerBar, 3);
    EXPECT_EQ(c.Combo1[0]->y(), -5000);
    c.Combo1[7]->setCurrentIndex(4);  // the toolbar list does not change the page
    form->Combo1_Click(7);
    EXPECT_EQ(c.Label2[0]->text(), "3");
    EXPECT_EQ(st().BeatsPerBar, 6);

    // Tempo: the slider opens at the label's value, a word keeps the slider's.
    form->Label2_MouseDown(4, Qt::LeftButton);
    EXPECT_EQ(c.HScroll1->y(), 72);
    EXPECT_EQ(c.HScroll1->value(), 72);
    c.List2->setCurrentRow(1);
    form->List2_DblClick();
    EXPECT_EQ(c.Label2[4]->text(), "Adagio");
    form->Label2_MouseDown(4, Qt::LeftButton);
    EXPECT_EQ(c.HScroll1->value(), 72);
    c.HScroll1->setValue(96);
    EXPECT_EQ(c.Label2[4]->text(), "每分钟96拍");
    form->Label2_MouseDown(4, Qt::RightButton);  // no such word: the selection stays
    EXPECT_EQ(c.List2->y(), 64);
    EXPECT_EQ(c.HScroll1->y(), -5000);
    EXPECT_EQ(c.List2->currentRow(), 1);

    // Credits, page number and its style.
    dialogs.inputAnswers = {QString(), QString(), QStringLiteral("第p页"), QStringLiteral("40000"),
                            std::nullopt};
    form->Label2_MouseDown(5, Qt::LeftButton);
    EXPECT_EQ(c.Label2[5]->text(), "编曲");
    EXPECT_EQ(c.Label2[5]->geometry().right() + 1, 668 - 32);
    form->Label16_Click();
    EXPECT_EQ(c.Label16->text(), "< 0 >");
    form->Label18_Click();
    form->Label16_Click();
    EXPECT_EQ(st().PageNumber, 32767);
    EXPECT_EQ(c.Label16->text(), "第32767页");
    form->Label1_DblClick();  // cancelled
    EXPECT_EQ(c.Label1->text(), "标题");
}

TEST_F(Form1Documents, TitleDragMovesTheWindowAndRightClickPlacesTheMarginLine) {
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    const QPoint start = form->pos();
    form->Label1_MouseDown(Qt::LeftButton, QPoint(300, 10));
    EXPECT_TRUE(form->Form2().isVisible());
    form->Label1_MouseMove(Qt::LeftButton, QPoint(500, 110));
    EXPECT_EQ(form->Form2().pos(), start + QPoint(200, 100));
    EXPECT_EQ(form->pos(), start);
    form->Label1_MouseUp(Qt::LeftButton, QPoint(500, 110));
    EXPECT_FALSE(form->Form2().isVisible());
    EXPECT_EQ(form->pos(), start + QPoint(200, 100));

    form->Label1_MouseDown(Qt::RightButton, QPoint(200, 5));
    EXPECT_EQ(form->Line3X1(), 200);
    form->close();
}

// The preview follows the current file however it is chosen, and the overlay
// placed carries the number of the picture shown, also after reopening.
TEST_F(Form1Documents, PictureChosenWithTheKeyboardIsTheOnePlacedAndSaved) {
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    form->Picture1_KeyDown(70, 0);  // F opens the picture panel
    QListWidget* files = ui().File1;
    ASSERT_EQ(files->count(), 3);
    // A click on "1.bmp", then two steps down with the arrow key, then
    // type-ahead back to "2.bmp": never a click after the first.
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(files->item(0)).center());
    EXPECT_EQ(ui().Image2->pixmap().width(), 9);
    files->setFocus();
    QTest::keyClick(files, Qt::Key_Down);
    QTest::keyClick(files, Qt::Key_Down);
    ASSERT_EQ(files->currentRow(), 2);
    EXPECT_EQ(ui().Image2->pixmap().width(), 11);  // "3.bmp"
    QTest::keyClick(files, Qt::Key_Up);
    EXPECT_EQ(ui().Image2->pixmap().width(), 10);  // "2.bmp"
    form->Command8_Click();
    ASSERT_EQ(st().PictureOverlayCount, 1);
    EXPECT_EQ(form->overlays().Ima[0]->pixmap().width(), 10);

    SaveAs("pic.bmp");
    QFile sidecar(Path("pic.dat"));
    ASSERT_TRUE(sidecar.open(QIODevice::ReadOnly));
    const QByteArray bytes = sidecar.readAll();
    sidecar.close();
    EXPECT_EQ(qFromLittleEndian<qint16>(bytes.constData() + 504), 1);  // picture record 0: its file index
    form->Command1_Click(6);  // new
    dialogs.fileAnswers.push_back(Path("pic.bmp"));
    form->Command1_Click(0);
    ASSERT_EQ(st().PictureOverlayCount, 1);
    EXPECT_EQ(form->overlays().Ima[0]->pixmap().width(), 10);
    form->close();
}

}  // namespace
}  // namespace qn
