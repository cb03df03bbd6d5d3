// Undo and redo of the actions that reach the page besides typing: paste,
// clear, an eraser stroke, a lyrics line, a slur, grace notes, a chord, a
// staff click and a new-score head. Each is one step: one undo gives back the
// page and the editing state from before it, one redo the ones after it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "History.h"
#include "OverlaySlots.h"
#include "StaffPanel.h"

#include "WindowFixture.h"

namespace qn {
namespace {

class Form1UndoActions : public test::WindowFixture {
public:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        Write("speed.txt", "Largo\r\n");
        Write("explin.txt", "rit.\r\n");
        QDir(dir.path()).mkpath("s/sik");
        QStringList pictures = {"1.bmp", "2.bmp", QStringLiteral("装饰音2.bmp")};
        for (const QString& name : pictures) {
            QImage pic(8, 10, QImage::Format_RGB32);
            pic.fill(QColor(0, 0, 120));
            pic.save(Path("s/sik/" + name), "BMP");
        }
    }
    void Start() {
        form = std::make_unique<Form1>(dir.path(), &dialogs);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        // A typed bar to act on.
        for (Integer k : {49, 50, 51, 52, 53}) form->Picture1_KeyDown(k, 0);
    }
    void Drag(Integer button, QPoint from, QPoint to) {
        form->Picture1_MouseDown(button, 0, Single(from.x()), Single(from.y()));
        for (int i = 1; i <= 4; ++i) {
            const QPoint p = from + (to - from) * i / 4;
            form->Picture1_MouseMove(button, 0, Single(p.x()), Single(p.y()));
        }
        form->Picture1_MouseUp(button, 0, Single(to.x()), Single(to.y()));
    }
    void Click(QPoint at) { Drag(1, at, at); }

};

TEST_F(Form1UndoActions, EachActionIsOneStepThatComesBackWhole) {
    struct Case {
        const char* name;
        std::function<void(Form1UndoActions&)> prepare;  // not part of the step
        std::function<void(Form1UndoActions&)> act;      // the step
    } cases[] = {
        {"paste",
         [](Form1UndoActions& t) {
             t.Drag(1, QPoint(20, 100), QPoint(90, 130));
             t.Click(QPoint(300, 220));
         },
         [](Form1UndoActions& t) { t.form->Command14_Click(); }},
        {"clear",
         [](Form1UndoActions& t) {
             t.Drag(1, QPoint(20, 100), QPoint(90, 130));
             t.Click(QPoint(20, 100));
         },
         [](Form1UndoActions& t) { t.form->Command15_Click(); }},
        {"eraser stroke",
         [](Form1UndoActions& t) {
             t.ui().Combo3->setCurrentIndex(12);
             t.form->Combo3_Click();
         },
         [](Form1UndoActions& t) { t.Drag(1, QPoint(22, 110), QPoint(80, 118)); }},
        {"lyrics line",
         [](Form1UndoActions& t) {
             t.form->Picture1_MouseDown(2, 0, 100, 200);
             t.form->Picture1_MouseUp(2, 0, 100, 200);
             t.ui().Textgc->setText(QStringLiteral("la la la"));
         },
         [](Form1UndoActions& t) { QTest::keyClick(t.ui().Textgc, Qt::Key_Return); }},
        {"slur",
         [](Form1UndoActions& t) {
             t.form->editor().caret.Left = 20;
             t.form->Picture1_KeyDown(76, 0);  // L marks the start
             t.form->editor().caret.Left = 80;
         },
         [](Form1UndoActions& t) { t.form->Picture1_KeyDown(76, 0); }},
        {"grace notes",
         [](Form1UndoActions& t) { t.dialogs.inputAnswers = {QStringLiteral("12")}; },
         [](Form1UndoActions& t) { t.form->Picture1_KeyDown(79, 0); }},
        {"chord",
         [](Form1UndoActions& t) { t.form->Picture1_KeyDown(75, 0); },  // K: chord input
         [](Form1UndoActions& t) { t.form->Picture1_KeyDown(49, 0); }},
        {"staff click",
         [](Form1UndoActions& t) { t.ui().Check1->click(); },
         [](Form1UndoActions& t) {
             QWidget* area = t.ui().Label10;
             const QPointF at(150, 120);
             QMouseEvent move(QEvent::MouseMove, at, area->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                              Qt::NoModifier);
             QApplication::sendEvent(area, &move);
             QTest::mousePress(area, Qt::LeftButton, Qt::NoModifier, QPoint(150, 120));
             QTest::mouseRelease(area, Qt::LeftButton, Qt::NoModifier, QPoint(150, 120));
         }},
        {"new-score head",
         [](Form1UndoActions& t) {
             t.form->editor().caret.Top = 336;
             t.form->ShowNewScoreDialog();
         },
         [](Form1UndoActions& t) { t.ui().Command11->click(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Start();
        c.prepare(*this);
        Editor& ed = form->editor();
        const QImage before = ed.page.image();
        const EditSnapshot stateBefore = EditSnapshot::Take(ed.st, ed.caret);
        const int steps = ed.history.stack().count();
        c.act(*this);
        const QImage after = ed.page.image();
        const EditSnapshot stateAfter = EditSnapshot::Take(ed.st, ed.caret);
        ASSERT_TRUE(after != before || !(stateAfter == stateBefore)) << "the action changed nothing";
        EXPECT_EQ(ed.history.stack().count(), steps + 1) << "one step";

        form->Undo();
        EXPECT_EQ(ed.page.image(), before);
        EXPECT_TRUE(EditSnapshot::Take(ed.st, ed.caret) == stateBefore);
        form->Redo();
        EXPECT_EQ(ed.page.image(), after);
        EXPECT_TRUE(EditSnapshot::Take(ed.st, ed.caret) == stateAfter);
        form->close();
    }
}

}  // namespace
}  // namespace qn
