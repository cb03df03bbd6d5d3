// Form1: construction and start-up (`Form_Load`).
#include <QCoreApplication>

#include "Form1_Controls.h"
#include "HeaderText.h"
#include "InsertPanels.h"
#include "ListFile.h"
#include "OutlineWindow.h"
#include "ProgramFolder.h"
#include "Recovery.h"
#include "SoundPlayer.h"
#include "Dialogs.h"
#include "SongFont.h"

namespace qn {

Form1::Form1(const QString& programFolder, Dialogs* dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      programFolder_(programFolder),
      ownDialogs_(dialogs ? nullptr : std::make_unique<StandardDialogs>()),
      dialogs_(dialogs ? dialogs : ownDialogs_.get()),
      editor_(*this),
      keys_(editor_, *this),
      ui(std::make_unique<Controls>()) {
    setWindowTitle(QStringLiteral("Quillnote"));
    setFont(SongFont(12));
    editor_.pageFont = SongFont(24, true);  // the canvas font: chord symbols, printed heads
    sound_ = new SoundPlayer(ProgramPath(programFolder_, QStringLiteral("sound")), this);
    CreateControls();
    ConnectHandlers();
    Form_Load();
    StartRecovery();
}

Form1::~Form1() {
    // A window that closes leaves no recovery copy: the user saved or let it go.
    if (recovery_) recovery_->remove();
}

QStringList Form1::ReadListOrWarn(const QString& name) {
    const ListReadResult r = ReadListFile(ProgramPath(programFolder_, name));
    // The program works without its lists: say so and go on with an empty one.
    if (!r.error.isEmpty())
        dialogs_->Message(this, QStringLiteral("无法读取列表文件 %1，列表将为空。\n%2").arg(name, r.error));
    return r.error.isEmpty() ? r.entries : QStringList();
}

void Form1::Form_Load() {
    Controls& c = *ui;
    EditorState& st = editor_.st;

    LoadOptions();

    const QStringList tempoWords = ReadListOrWarn(QStringLiteral("speed.txt"));
    c.List2->addItems(tempoWords);
    c.Combo4->addItems(tempoWords);

    move(0, 0);

    c.Combo3->addItem(QStringLiteral("不清除"));
    for (int i = 1; i <= 50; ++i) c.Combo3->addItem(QStringLiteral("清除%1X%1").arg(i));
    c.Combo3->setCurrentIndex(0);
    Combo3_Click();

    st.SelectedOverlay = -1;

    st.NoteInputMode = 1;
    st.InsertMode = 1;
    st.NoteValue = 0;
    st.SpacingValues[0] = 0.5f;
    st.SpacingValues[1] = 0.5f;
    st.SpacingValues[2] = 0;
    st.SpacingValues[3] = 0;
    st.SpacingClass = 5;
    st.BandHeight[0] = 40;
    st.BandHeight[1] = 5;
    st.BandHeight[2] = 22;
    st.BandTop[1] = 26;
    st.BandTop[2] = 3;
    for (int i = 0; i < 4; ++i) c.Label6s[i]->setText(QString::number(double(st.SpacingValues[i])));

    editor_.caret.Left = 20;
    editor_.caret.Top = 96;
    c.Picture1->setCaretPicture(QPixmap(QStringLiteral(":/pictures/caret_builtin.png")));
    c.Picture1->move(kPageLeft, 0);
    c.Picture2->move(kPageLeft, 0);

    HideInlineEditors();

    for (int list : {0, 7, 13}) c.Combo1[list]->addItems(NumeratorList());
    for (int list : {0, 7, 13}) SelectCombo1Entry(list, 2);
    for (int list : {12, 6, 1}) {
        c.Combo1[list]->addItems(DenominatorList());
        SelectCombo1Entry(list, 0);
    }
    for (int list : {2, 3}) {
        c.Combo1[list]->addItems(KeyList());
        SelectCombo1Entry(list, 0);
    }

    c.Combo2->addItems({QStringLiteral("C or #C [无升降号 或 7#]"), QStringLiteral("D or bD [2# 或 5b]"),
                        QStringLiteral("E or bE [4# 或 3b]"), QStringLiteral("F or #F [1b 或 6#]"),
                        QStringLiteral("G or bG [1# 或 6b]"), QStringLiteral("A or bA [3# 或 4b]"),
                        QStringLiteral("B or bB [5# 或 2b]")});
    c.Combo2->setCurrentIndex(0);
    Combo2_Click();

    LayoutPage();

    c.List1->addItems(ReadListOrWarn(QStringLiteral("explin.txt")));
    c.File1->addItems(PictureLibraryFiles(PictureLibraryFolder()));
    editor_.history.clear();
    MarkClean();

    c.Timer1->start();
}

}  // namespace qn
