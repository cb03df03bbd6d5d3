// Autosave and recovery in the window, offscreen: the copy is written only
// while the document is unsaved and only into the recovery folder, a copy left
// by a window that is gone is offered back ("Yes" reopens it unsaved with its
// path, "No" moves it to "discarded"), and two windows keep two copies.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTest>

#include "Recovery.h"
#include "ScoreDocument.h"

#include "WindowFixture.h"

namespace qn {
namespace {

class Form1Recovery : public test::WindowFixture {
public:
    void SetUp() override {
        ASSERT_TRUE(state.isValid());
        qputenv("XDG_STATE_HOME", QFile::encodeName(state.path()));
        WriteListsAndLibrary();
    }
    void TearDown() override {
        form.reset();
        qunsetenv("QUILLNOTE_AUTOSAVE_SECONDS");
    }
    void Start() { form = std::make_unique<Form1>(dir.path(), &dialogs); }
    QString Folder() const { return RecoveryFolder(); }
    QStringList Copies(const QString& sub = QString()) const {
        return QDir(QDir(Folder()).filePath(sub)).entryList({"*.qnr"}, QDir::Files);
    }
    // Writes the copy a window that was killed leaves behind.
    void LeaveOrphan(const RecoverySnapshot& s, const QString& name = QStringLiteral("gone.qnr")) {
        ASSERT_EQ(WriteRecoveryFile(QDir(Folder()).filePath(name), s), QString());
    }
    QTemporaryDir state;
};

TEST_F(Form1Recovery, TheCopyIsWrittenWhileUnsavedOnlyAndOnlyIntoTheRecoveryFolder) {
    EXPECT_EQ(Folder(), QDir(state.path()).filePath("quillnote/recovery"));
    Start();
    form->AutosaveTimer_Timer();
    form->recoveryWriter()->wait();
    EXPECT_TRUE(Copies().isEmpty()) << "nothing to recover yet";

    Type({49, 50, 51});
    SaveAs("song.bmp");
    Type({52, 53});
    const QStringList documentFolder = QDir(dir.path()).entryList(QDir::Files);
    form->AutosaveTimer_Timer();
    form->recoveryWriter()->wait();
    EXPECT_EQ(form->recoveryWriter()->lastError(), QString());
    ASSERT_EQ(Copies().size(), 1);
    RecoverySnapshot copy;
    ASSERT_EQ(ReadRecoveryFile(form->recoveryWriter()->path(), copy), QString());
    EXPECT_EQ(copy.page, form->editor().page.image());
    EXPECT_EQ(copy.documentPath, Path("song.bmp"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), documentFolder) << "the document's folder is untouched";

    form->Command1_Click(1);  // a save removes it
    form->recoveryWriter()->wait();
    EXPECT_TRUE(Copies().isEmpty());
}

TEST_F(Form1Recovery, YesReopensTheCopyUnsavedWithItsPath) {
    // The document as a killed window had it: saved once, then typed on.
    Start();
    Type({49, 50, 51});
    dialogs.inputAnswers = {QStringLiteral("小星星")};
    form->Label1_DblClick();
    SaveAs("song.bmp");
    Type({52, 53, 54});
    ui().Label2[5]->setText(QStringLiteral("某人 制谱"));
    const RecoverySnapshot before = form->RecoveryState();
    const QImage page = form->editor().page.image();
    form.reset();
    LeaveOrphan(before);

    dialogs.asked.clear();
    dialogs.yesNoAnswers = {true};
    Start();
    ASSERT_EQ(dialogs.asked.size(), 1);
    const QString when = before.time.toString("yyyy-MM-dd HH:mm:ss");
    EXPECT_EQ(dialogs.asked[0], QStringLiteral("发现未保存的乐谱（%1），是否恢复？").arg(when));
    EXPECT_EQ(form->editor().page.image(), page);
    EXPECT_EQ(ui().Label1->text(), QStringLiteral("小星星"));
    EXPECT_EQ(ui().Label2[5]->text(), QStringLiteral("某人 制谱"));
    EXPECT_EQ(form->editor().st.DocumentPath, Path("song.bmp"));
    EXPECT_TRUE(form->IsModified());
    EXPECT_FALSE(QFile::exists(QDir(Folder()).filePath("gone.qnr")));
    form->recoveryWriter()->wait();
    EXPECT_EQ(Copies(), QStringList({QFileInfo(form->recoveryWriter()->path()).fileName()}))
        << "the recovered document has its own copy at once";

    // Ctrl+S saves it where it belongs, with no dialog.
    const int filesAsked = int(dialogs.fileAnswers.size());
    form->Command1_Click(1);
    EXPECT_EQ(int(dialogs.fileAnswers.size()), filesAsked);
    QImage saved;
    ASSERT_EQ(LoadPageBitmap(Path("song.bmp"), saved), QString());
    EXPECT_EQ(saved, page);
    form->recoveryWriter()->wait();
    EXPECT_TRUE(Copies().isEmpty());
}

TEST_F(Form1Recovery, NoMovesTheCopyToDiscardedWhereItIsKeptSevenDays) {
    Start();
    Type({49});
    const RecoverySnapshot copy = form->RecoveryState();
    form.reset();
    LeaveOrphan(copy);
    QDir(Folder()).mkpath("discarded");
    for (const char* name : {"old.qnr", "recent.qnr"})
        ASSERT_EQ(WriteRecoveryFile(QDir(Folder()).filePath(QStringLiteral("discarded/") + name), copy), QString());
    auto age = [&](const char* name, int days) {
        QFile f(QDir(Folder()).filePath(QStringLiteral("discarded/") + name));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.setFileTime(QDateTime::currentDateTime().addDays(-days), QFileDevice::FileModificationTime);
    };
    age("old.qnr", 8);
    age("recent.qnr", 6);

    dialogs.yesNoAnswers = {false};
    Start();
    EXPECT_EQ(dialogs.asked.size(), 1);
    EXPECT_FALSE(form->IsModified()) << "the window starts empty";
    EXPECT_TRUE(Copies().isEmpty());
    EXPECT_EQ(Copies("discarded"), QStringList({"gone.qnr", "recent.qnr"}));
    RecoverySnapshot kept;
    EXPECT_EQ(ReadRecoveryFile(QDir(Folder()).filePath("discarded/gone.qnr"), kept), QString());
    EXPECT_EQ(kept.page, copy.page);
}

TEST_F(Form1Recovery, TwoWindowsKeepTwoCopiesAndNeitherIsOfferedWhileTheyRun) {
    Start();
    FakeDialogs otherDialogs;
    Form1 other(dir.path(), &otherDialogs);
    Type({49, 50});
    other.Picture1_KeyDown(51, 0);
    form->AutosaveTimer_Timer();
    other.AutosaveTimer_Timer();
    form->recoveryWriter()->wait();
    other.recoveryWriter()->wait();
    EXPECT_EQ(Copies().size(), 2);
    EXPECT_NE(form->recoveryWriter()->path(), other.recoveryWriter()->path());
    FakeDialogs thirdDialogs;
    Form1 third(dir.path(), &thirdDialogs);
    EXPECT_TRUE(thirdDialogs.asked.isEmpty()) << "a running window's copy is not an orphan";
    EXPECT_EQ(Copies().size(), 2);
}

TEST_F(Form1Recovery, TheIntervalComesFromTheEnvironmentOrTheSetting) {
    qputenv("QUILLNOTE_AUTOSAVE_SECONDS", "2");
    EXPECT_EQ(Form1::AutosaveSeconds(), 2);
    qputenv("QUILLNOTE_AUTOSAVE_SECONDS", "0");
    EXPECT_EQ(Form1::AutosaveSeconds(), 0);
    // The timer itself: a copy appears within the interval of the first change.
    qputenv("QUILLNOTE_AUTOSAVE_SECONDS", "1");
    Start();
    Type({49, 50});
    EXPECT_TRUE(QTest::qWaitFor([&] { return Copies().size() == 1; }, 3000));
}

}  // namespace
}  // namespace qn
