// Form1: sound effects, caret blink, the mode toggles, the minimize button,
// the rhythm palette and the chord colour.
#include "Form1_Controls.h"
#include "SoundPlayer.h"
#include "Dialogs.h"

namespace qn {

void Form1::PlaySoundEffect(const QString& name) {
    if (!ui->Check9->isChecked()) return;
    sound_->play(name);
}

void Form1::Timer1_Timer() {
    editor_.caret.Visible = !editor_.caret.Visible;
    ui->Picture1->updateCaret();
}

void Form1::Command2_Click() {
    const Integer mode = editor_.ToggleHalfWidthMode();
    ui->Command2->setText(mode == 0 ? QStringLiteral("全字符") : QStringLiteral("半字符"));
    FocusPage();
}

void Form1::Command4_Click() {
    const Integer mode = editor_.ToggleInsertMode();
    ui->Command4->setText(mode == 1 ? QStringLiteral("插入") : QStringLiteral("改写"));
    FocusPage();
}

void Form1::Command10_Click() {
    EditorState& st = editor_.st;
    st.NoteInputMode = Integer(1 - st.NoteInputMode);
    // The clef follows the input mode: chords are entered on the bass staff.
    const bool chords = st.NoteInputMode == 0;
    ui->Command10->setText(chords ? QStringLiteral("和弦") : QStringLiteral("音符"));
    ui->Label3->setText(chords ? QStringLiteral("低音谱号") : QStringLiteral("高音谱号"));
    ShowClef(!chords);
    FocusPage();
}

void Form1::Command16_Click() {
    FocusPage();
    showMinimized();
}

void Form1::Option1_Click(Integer index) {
    if (index < 0 || index > 3) return;
    editor_.SelectPattern(index);
    RestartBlink();
    LoadCaretPicture(index);
    FocusPage();
}

void Form1::Check5_Click(int index) {
    // The Esc cycle needs at least one pattern.
    int ticked = 0;
    for (QCheckBox* box : ui->Check5) ticked += box->isChecked() ? 1 : 0;
    if (ticked == 0) ui->Check5[index]->setChecked(true);
    FocusPage();
}

void Form1::Label5_Click() {
    QColor colour = ChordColour();
    if (dialogs_->ChooseColour(this, colour)) {
        QPalette p = ui->Label5->palette();
        p.setColor(QPalette::WindowText, colour);
        ui->Label5->setPalette(p);
    }
    FocusPage();
}

QColor Form1::ChordColour() const { return ui->Label5->palette().color(QPalette::WindowText); }

}  // namespace qn
