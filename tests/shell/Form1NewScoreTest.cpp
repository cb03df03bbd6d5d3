// The new-score dialog in the window, offscreen: its labels and editors, the
// head printed at the caret's line, and what 确定 sets (typing time signature,
// staff key) or leaves alone (the page's header labels).
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>

#include "FakeDialogs.h"
#include "Form1.h"
#include "Form1_Controls.h"

namespace qn {
namespace {

class Form1NewScore : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        form = std::make_unique<Form1>(dir.path(), &dialogs);
        form->controls().Check9->setChecked(false);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    Form1::Controls& ui() { return form->controls(); }
    EditorState& st() { return form->editor().st; }
    const Page& page() { return form->editor().page; }

    // A choice in one of the dialog's lists, as the user makes it.
    void Choose(int index, const QString& item) {
        QTest::mouseClick(ui().Label2[index], Qt::LeftButton);
        QComboBox* list = ui().Combo1[index];
        EXPECT_EQ(list->y(), ui().Label2[index]->y()) << "the list opens at its label";
        list->setCurrentIndex(list->findText(item));
        emit list->activated(list->currentIndex());
    }

    int InkIn(const QRect& r) {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) n += page().isInk(x, y) ? 1 : 0;
        return n;
    }

    QTemporaryDir dir;
    FakeDialogs dialogs;
    std::unique_ptr<Form1> form;
};

TEST_F(Form1NewScore, OpensWithPAndShowsItsStartTexts) {
    Form1::Controls& c = ui();
    EXPECT_FALSE(c.Picture8->isVisible());
    QTest::keyClick(c.Picture1, Qt::Key_P);
    EXPECT_TRUE(c.Picture8->isVisible());
    EXPECT_EQ(c.Picture8->geometry(), QRect(224, 528, 321, 161));
    const std::pair<int, const char*> texts[] = {
        {14, "新加标题:"}, {11, "1="}, {3, "C"}, {13, "4"}, {12, "4"}, {10, "Lumora 制谱"}, {8, "每分钟72拍"},
    };
    for (auto [i, text] : texts) {
        EXPECT_EQ(c.Label2[i]->text(), QString::fromUtf8(text)) << i;
        EXPECT_EQ(c.Label2[i]->parentWidget(), c.Picture8) << i;
    }
    EXPECT_EQ(c.Label14->text(), "标题");
    EXPECT_EQ(c.Label14->pos(), QPoint(24, 40));
    EXPECT_EQ(c.Command11->text(), "确定");
    EXPECT_EQ(c.HScroll3->value(), 72);
}

TEST_F(Form1NewScore, LabelsAreEditedInPlaceAndStayOutOfTheDocument) {
    Form1::Controls& c = ui();
    QTest::keyClick(c.Picture1, Qt::Key_P);

    dialogs.inputAnswers = {QStringLiteral("茉莉花"), QString(), std::nullopt};
    QTest::mouseClick(c.Label14, Qt::LeftButton);
    EXPECT_EQ(c.Label14->text(), "茉莉花");
    QTest::mouseClick(c.Label14, Qt::LeftButton);  // empty answer
    EXPECT_EQ(c.Label14->text(), "标题");
    QTest::mouseClick(c.Label14, Qt::LeftButton);  // cancelled
    EXPECT_EQ(c.Label14->text(), "标题");
    EXPECT_EQ(dialogs.asked.first(), "请输入标题 [标题]");

    dialogs.inputAnswers = {QString()};
    QTest::mouseClick(c.Label2[10], Qt::LeftButton);
    EXPECT_EQ(c.Label2[10]->text(), "编曲");

    Choose(3, "bE");
    EXPECT_EQ(c.Label2[3]->text(), "bE");
    EXPECT_EQ(c.Combo1[3]->y(), -5000);
    Choose(13, "3");
    Choose(12, "8");
    EXPECT_EQ(c.Label2[13]->text(), "3");
    EXPECT_EQ(c.Label2[12]->text(), "8");

    c.HScroll3->setValue(96);
    EXPECT_EQ(c.Label2[8]->text(), "每分钟96拍");
    c.Combo4->addItem(QStringLiteral("慢板"));
    c.Combo4->setCurrentIndex(c.Combo4->count() - 1);
    emit c.Combo4->activated(c.Combo4->currentIndex());
    EXPECT_EQ(c.Label2[8]->text(), "慢板");

    // Nothing of this is in the document, and the page's head is untouched.
    EXPECT_FALSE(form->IsModified());
    EXPECT_EQ(c.Label2[2]->text(), "C");
    EXPECT_EQ(c.Label2[0]->text(), "4");
    EXPECT_EQ(st().BeatsPerBar, 4);

    // 取消 closes and keeps what was chosen.
    c.Command12->click();
    EXPECT_FALSE(c.Picture8->isVisible());
    EXPECT_EQ(c.Label2[13]->text(), "3");
    EXPECT_EQ(InkIn(QRect(0, 0, page().width(), page().height())), 0);
}

TEST_F(Form1NewScore, OkPrintsTheHeadAtTheCaretsLineAndSetsTypingAndStaffKey) {
    Form1::Controls& c = ui();
    form->editor().caret.Top = 216;  // the third line
    QTest::keyClick(c.Picture1, Qt::Key_P);
    Choose(3, "bE");
    Choose(13, "3");
    Choose(12, "8");
    c.Command11->click();

    EXPECT_FALSE(c.Picture8->isVisible());
    EXPECT_EQ(c.Label2[7]->text(), "3");
    EXPECT_EQ(c.Label2[6]->text(), "8");
    EXPECT_EQ(st().BeatsPerBar, 3);
    EXPECT_EQ(st().BeatUnit, 8);
    EXPECT_EQ(c.Label2[0]->text(), "4");  // the page's labels keep theirs
    EXPECT_EQ(c.Label2[1]->text(), "4");
    EXPECT_EQ(c.Combo2->currentIndex(), 2);  // "E or bE [4# 或 3b]"
    EXPECT_TRUE(form->IsModified());
    EXPECT_FLOAT_EQ(form->editor().caret.Top, 216);
    EXPECT_TRUE(c.Picture1->hasFocus());

    // Title around y 236, centred; the key line at 276 (line spacing 60): "1=bE"
    // from 16, the fraction from 48 to 64, the tempo from 96, the credits ending
    // 40 pixels from the right edge. Nothing above the caret's line.
    const int W = page().width();
    const int titleX = (W - c.Label14->width()) / 2;
    EXPECT_GT(InkIn(QRect(titleX, 236, c.Label14->width(), 22)), 0);
    EXPECT_EQ(InkIn(QRect(0, 236, titleX - 1, 22)), 0);
    EXPECT_GT(InkIn(QRect(16, 276, 30, 15)), 0);
    EXPECT_GT(InkIn(QRect(48, 269, 18, 30)), 0);
    EXPECT_GT(InkIn(QRect(96, 276, 70, 15)), 0);
    const int creditsEnd = W - 40;
    EXPECT_GT(InkIn(QRect(creditsEnd - 20, 276, 20, 15)), 0);
    EXPECT_EQ(InkIn(QRect(creditsEnd + 2, 200, 40, 120)), 0);
    EXPECT_EQ(InkIn(QRect(0, 0, W, 216)), 0);
}

TEST_F(Form1NewScore, EveryKeySelectsItsStaffKey) {
    Form1::Controls& c = ui();
    const std::pair<const char*, int> keys[] = {{"C", 0}, {"D", 1}, {"bG", 4}, {"A", 5}, {"bB", 6}};
    for (auto [key, staffKey] : keys) {
        SCOPED_TRACE(key);
        QTest::keyClick(c.Picture1, Qt::Key_P);
        Choose(3, QString::fromUtf8(key));
        c.Command11->click();
        EXPECT_EQ(c.Combo2->currentIndex(), staffKey);
    }
}

}  // namespace
}  // namespace qn
