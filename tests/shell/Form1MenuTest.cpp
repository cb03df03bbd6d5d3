// The menu button "≡": each entry runs its command, the shortcuts are the
// menu's and take no key the page uses, and the button sits beside "最小化".
#include <gtest/gtest.h>

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QTest>
#include <functional>

#include "KeyChart.h"
#include "KeyTable.h"
#include "VirtualKey.h"
#include "WindowFixture.h"

namespace qn {
namespace {

class Form1Menu : public test::WindowFixture {
protected:
    void SetUp() override {
        WriteListsAndLibrary();
        Make();
    }
    void Make() {
        form.reset();
        dialogs = FakeDialogs();
        form = std::make_unique<Form1>(dir.path(), &dialogs);
    }
    QAction* Action(const QString& caption) {
        for (QAction* a : form->MenuActions())
            if (a->text() == caption) return a;
        return nullptr;
    }
    static bool HasInk(const QImage& page) {
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                if ((page.pixel(x, y) & 0xFFFFFFu) == 0) return true;
        return false;
    }
    bool HasPlayer() const {
        for (QObject* o : form->findChildren<QObject*>())
            if (QLatin1String(o->metaObject()->className()) == QLatin1String("qn::score::ScorePlayer")) return true;
        return false;
    }
};

TEST_F(Form1Menu, EachEntryRunsItsCommand) {
    const QString question = QStringLiteral("是否保存对当前乐谱的修改？");
    struct Case {
        const char* caption;
        const char* keys;  // the shortcuts, portable text
        std::function<void()> before;
        std::function<void()> check;
    };
    QImage blank;
    const Case cases[] = {
        {"新建", "", [&] { Type({49}); dialogs.saveChangesAnswers = {SaveChangesAnswer::No}; },
         [&] {
             EXPECT_TRUE(dialogs.asked.contains(question));
             EXPECT_FALSE(HasInk(form->editor().page.image())) << "a new, empty page";
             EXPECT_FALSE(form->IsModified());
         }},
        {"打开", "Ctrl+O", [] {}, [&] { EXPECT_EQ(dialogs.asked, QStringList{"打开 位图(*.bmp)"}); }},
        {"保存", "Ctrl+S", [&] { dialogs.fileAnswers = {Path("a.bmp")}; },
         [&] { EXPECT_TRUE(QFileInfo::exists(Path("a.bmp"))); }},
        {"另存为", "Ctrl+Shift+S", [&] { dialogs.fileAnswers = {Path("b.bmp")}; },
         [&] { EXPECT_TRUE(QFileInfo::exists(Path("b.bmp"))); }},
        {"导入", "Ctrl+I", [] {}, [&] { EXPECT_EQ(dialogs.asked, QStringList{"导入 MusicXML (*.musicxml *.xml *.mxl)"}); }},
        {"导出", "Ctrl+E", [&] { dialogs.exportAnswers = {{Path("c.png"), "PNG (*.png)"}}; },
         [&] { EXPECT_TRUE(QImage(Path("c.png")).width() > 0); }},
        {"批量导出图片", "", [] {}, [&] { EXPECT_EQ(dialogs.asked, QStringList{"定位文件夹 位图(*.bmp)"}); }},
        {"打印", "Ctrl+P", [] {}, [&] { EXPECT_EQ(dialogs.printersAsked, 1); }},
        {"撤销", "Ctrl+Z", [&] { Type({49}); }, [&] { EXPECT_EQ(form->editor().page.image(), blank); }},
        {"重做", "Ctrl+Y, Ctrl+Shift+Z", [&] { Type({49}); form->Undo(); },
         [&] { EXPECT_NE(form->editor().page.image(), blank); }},
        {"播放", "Ctrl+R", [&] { Type({49, 50, 51}); }, [&] { EXPECT_TRUE(HasPlayer()); }},
        {"从光标行播放", "Ctrl+Shift+R", [&] { Type({49, 50, 51}); }, [&] { EXPECT_TRUE(HasPlayer()); }},
        {"键盘速查", "Ctrl+F1", [] {},
         [&] { ASSERT_NE(form->keyChart(), nullptr); EXPECT_TRUE(form->keyChart()->isVisible()); }},
        {"关于", "", [] {},
         [&] {
             ASSERT_EQ(dialogs.abouts.size(), 1);
             EXPECT_TRUE(dialogs.abouts[0].contains(QStringLiteral("Quillnote " QUILLNOTE_VERSION)));
             EXPECT_TRUE(dialogs.abouts[0].contains(QStringLiteral("LGPL")));
         }},
        {"退出", "", [&] { Type({49}); dialogs.saveChangesAnswers = {SaveChangesAnswer::Cancel}; },
         [&] {
             EXPECT_EQ(dialogs.asked, QStringList{question});
             EXPECT_NE(form->editor().page.image(), blank) << "cancelled: the page stays";
         }},
    };
    QStringList captions;
    for (const Case& c : cases) captions << QString::fromUtf8(c.caption);
    QStringList shown;
    for (QAction* a : form->MenuActions()) shown << a->text();
    EXPECT_EQ(shown, captions) << "the menu's entries, in order";

    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        Make();
        blank = form->editor().page.image();
        QAction* action = Action(QString::fromUtf8(c.caption));
        ASSERT_NE(action, nullptr);
        QStringList keys;
        for (const QKeySequence& k : action->shortcuts()) keys << k.toString(QKeySequence::PortableText);
        EXPECT_EQ(keys.join(", "), QString::fromUtf8(c.keys));
        c.before();
        action->trigger();
        c.check();
        form->StopPlayback();
    }
}

TEST_F(Form1Menu, NoShortcutTakesAKeyThePageUses) {
    for (QAction* a : form->MenuActions())
        for (const QKeySequence& seq : a->shortcuts()) {
            SCOPED_TRACE((a->text() + " " + seq.toString()).toStdString());
            ASSERT_EQ(seq.count(), 1);
            const QKeyCombination k = seq[0];
            const Integer key = VirtualKeyFromQt(k.key(), k.keyboardModifiers());
            // Alt stays the page's (Alt with a staff click adds a dot).
            EXPECT_FALSE(k.keyboardModifiers() & Qt::AltModifier);
            if (k.keyboardModifiers() & Qt::ControlModifier)
                EXPECT_FALSE(KeyReadsShiftState(key)) << "the page reads Ctrl with this key";
            else
                EXPECT_EQ(FindPageKey(key), nullptr) << "a key of the page";
        }
}

TEST_F(Form1Menu, ShortcutsPressedOnThePageStampNothing) {
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    ui().Picture1->setFocus();
    const QImage blank = form->editor().page.image();
    const float caretLeft = form->editor().caret.Left;
    int pressed = 0;
    for (QAction* a : form->MenuActions())
        for (const QKeySequence& seq : a->shortcuts()) {
            const QKeyCombination k = seq[0];
            QTest::keyClick(ui().Picture1, k.key(), k.keyboardModifiers());
            ++pressed;
            if (form->keyChart()) form->keyChart()->hide();
            ui().Picture1->setFocus();
        }
    ASSERT_GT(pressed, 10);
    EXPECT_EQ(form->editor().page.image(), blank);
    EXPECT_EQ(form->editor().caret.Left, caretLeft);
    EXPECT_NE(form->keyChart(), nullptr) << "Ctrl+F1 opened the chart";
    EXPECT_GE(dialogs.printersAsked, 1) << "Ctrl+P asked for a printer";
    QTest::keyClick(ui().Picture1, Qt::Key_F1);
    EXPECT_NE(form->editor().page.image(), blank) << "F1 alone still writes a note";
    form->close();
}

TEST_F(Form1Menu, ButtonSitsLeftOfMinimizeTakesNoFocusAndOpensTheMenu) {
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    const QRect menu = ui().MenuButton->geometry(), minimize = ui().Command16->geometry();
    EXPECT_EQ(ui().MenuButton->text(), QStringLiteral("≡"));
    EXPECT_EQ(menu.top(), minimize.top());
    EXPECT_EQ(menu.right() + 3, minimize.left());
    EXPECT_EQ(minimize.topLeft(), QPoint(668 + 88, 8)) << "最小化 stays where it was";
    // A relayout moves both.
    ui().HScroll2[0]->setValue(100);
    form->HScroll2_Change(0);
    EXPECT_EQ(ui().MenuButton->geometry().right() + 3, ui().Command16->x());
    EXPECT_EQ(ui().MenuButton->focusPolicy(), Qt::NoFocus);

    ui().Picture1->setFocus();
    QTest::mouseClick(ui().MenuButton, Qt::LeftButton);
    EXPECT_TRUE(form->CommandMenu()->isVisible());
    form->CommandMenu()->hide();
    form->close();
}

}  // namespace
}  // namespace qn
