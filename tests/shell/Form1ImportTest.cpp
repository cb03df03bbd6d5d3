// "导入" in the window: Ctrl+I asks about unsaved work, then for the file; the
// song appears as the page in one undo step, with its header; a long song's
// further pages are saved beside the chosen name; a refused file changes nothing.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTest>

#include "Form1_Controls.h"
#include "PageReader.h"
#include "WindowFixture.h"

namespace qn {
namespace {

QString note(const char* step, int octave, int duration) {
    return QStringLiteral("<note><pitch><step>%1</step><octave>%2</octave></pitch><duration>%3</duration><voice>1</voice></note>")
        .arg(QLatin1String(step)).arg(octave).arg(duration);
}

QByteArray song(int bars) {
    QString xml = QStringLiteral(
        "<?xml version=\"1.0\"?><score-partwise version=\"4.0\"><work><work-title>小星星</work-title></work>"
        "<identification><creator type=\"composer\">Anon</creator></identification>"
        "<part-list><score-part id=\"P1\"><part-name>V</part-name></score-part></part-list><part id=\"P1\">");
    for (int i = 0; i < bars; ++i) {
        xml += QStringLiteral("<measure number=\"%1\">").arg(i + 1);
        if (i == 0)
            xml += QStringLiteral("<attributes><divisions>2</divisions><key><fifths>1</fifths></key>"
                                  "<time><beats>3</beats><beat-type>4</beat-type></time></attributes>");
        xml += note("G", 4, 2) + note("A", 4, 1) + note("B", 4, 1) + note("D", 5, 2) + QStringLiteral("</measure>");
    }
    return (xml + QStringLiteral("</part></score-partwise>")).toUtf8();
}

class Form1Import : public test::WindowFixture {
protected:
    void SetUp() override {
        WriteListsAndLibrary();
        form = std::make_unique<Form1>(dir.path(), &dialogs);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        ui().Picture1->setFocus();
    }
    void CtrlI() { QTest::keyClick(ui().Picture1, Qt::Key_I, Qt::ControlModifier); }
    score::Score Read() { return score::ReadPage(form->editor().page, ui().HScroll2[2]->value()); }
};

TEST_F(Form1Import, CtrlIPutsTheSongOnThePageAsOneStep) {
    Write("song.musicxml", song(2));
    Type({49});  // unsaved work: the question comes first
    dialogs.saveChangesAnswers = {SaveChangesAnswer::No};
    dialogs.fileAnswers = {Path("song.musicxml")};
    CtrlI();
    EXPECT_EQ(dialogs.asked, (QStringList{"是否保存对当前乐谱的修改？", "导入 MusicXML (*.musicxml *.xml *.mxl)"}));
    EXPECT_EQ(score::ScoreText(Read()), QStringLiteral("1:8 2:4 3:4 5:8 | 1:8 2:4 3:4 5:8 |"));
    EXPECT_EQ(ui().Label1->text(), QStringLiteral("小星星"));
    EXPECT_EQ(ui().Label2[5]->text(), QStringLiteral("Anon"));
    EXPECT_EQ(ui().Combo1[2]->currentText(), QStringLiteral("G"));
    EXPECT_EQ(ui().Combo1[0]->currentText(), QStringLiteral("3"));
    EXPECT_EQ(form->editor().st.BeatsPerBar, 3);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].contains(QStringLiteral("读回检查：2 小节的音高与时值与导入的一致。"))) << dialogs.messages[0].toStdString();
    EXPECT_TRUE(form->IsModified());

    // One undo: the empty page, the placeholder title; nothing further to undo.
    form->Undo();
    EXPECT_TRUE(Read().empty());
    EXPECT_EQ(ui().Label1->text(), QStringLiteral("标题"));
    EXPECT_FALSE(form->editor().history.canUndo());
    form->Redo();
    EXPECT_EQ(Read().measures.size(), 2u);
}

TEST_F(Form1Import, ALongSongSavesItsFurtherPagesBesideTheChosenName) {
    Write("long.musicxml", song(260));
    dialogs.fileAnswers = {Path("long.musicxml"), Path("歌.bmp")};
    CtrlI();
    ASSERT_EQ(dialogs.messages.size(), 2);
    EXPECT_TRUE(dialogs.messages[0].contains(QStringLiteral("这首歌共 3 页"))) << dialogs.messages[0].toStdString();
    EXPECT_TRUE(QFileInfo::exists(Path("歌 2.bmp")));
    EXPECT_TRUE(QFileInfo::exists(Path("歌 3.bmp")));
    EXPECT_FALSE(QFileInfo::exists(Path("歌 4.bmp")));
    EXPECT_FALSE(QFileInfo::exists(Path("歌.bmp"))) << "the first page is the window's, unsaved";
    EXPECT_EQ(form->editor().st.DocumentPath, Path("歌.bmp"));
    EXPECT_EQ(form->editor().st.PageNumber, 1);
    EXPECT_TRUE(dialogs.messages[1].contains(QStringLiteral("读回检查：260 小节的音高与时值与导入的一致。"))) << dialogs.messages[1].toStdString();

    // Again onto the same names: replacing them is asked first; No changes nothing.
    const QImage shown = form->editor().page.image();
    dialogs.messages.clear();
    dialogs.asked.clear();
    dialogs.saveChangesAnswers = {SaveChangesAnswer::No};
    dialogs.fileAnswers = {Path("long.musicxml"), Path("歌.bmp")};
    dialogs.yesNoAnswers = {false};
    CtrlI();
    EXPECT_TRUE(dialogs.asked.contains(QStringLiteral("已经存在的图片，是否替换原来的？")));
    EXPECT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(form->editor().page.image(), shown);
}

TEST_F(Form1Import, ARefusedFileChangesNothing) {
    Write("bad.musicxml", "<html><body>no song</body></html>");
    Type({49, 50});
    const QImage before = form->editor().page.image();
    dialogs.saveChangesAnswers = {SaveChangesAnswer::No};
    dialogs.fileAnswers = {Path("bad.musicxml")};
    CtrlI();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].startsWith(QStringLiteral("无法导入乐谱。"))) << dialogs.messages[0].toStdString();
    EXPECT_TRUE(dialogs.messages[0].contains(QStringLiteral("not MusicXML")));
    EXPECT_EQ(form->editor().page.image(), before);
    EXPECT_TRUE(form->IsModified());
}

}  // namespace
}  // namespace qn
