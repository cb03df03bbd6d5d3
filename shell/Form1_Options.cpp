// Form1: the options panel `Picture2`, its click cycles and "set.ini".
#include "Form1_Controls.h"
#include "ProgramFolder.h"
#include "RegularFile.h"
#include "SettingsFile.h"
#include "Dialogs.h"

namespace qn {

namespace {
// Shortest decimal form: 0, 0.5, 1.
QString SpacingText(Single v) { return QString::number(double(v)); }
}  // namespace

void Form1::LoadOptions() {
    // An unreadable file leaves every value at zero. A missing one that cannot
    // be created (a read-only folder) is no news; a file that is there but
    // refused (a FIFO, a device, too large) is named.
    const QString path = ProgramPath(programFolder_, QStringLiteral("set.ini"));
    const OptionsReadResult read = ReadOptionsFile(path);
    if (!read.error.isEmpty() && EntryExists(path))
        dialogs_->Message(this, QStringLiteral("无法读取选项文件 set.ini，选项从零开始。\n%1").arg(read.error));
    const OptionsValues& v = read.values;
    editor_.st.ExportScale = v.ExportScale;
    ui->Label6s[5]->setText(QString::number(v.ExportScale));
    editor_.st.SpacingValues[4] = v.BeatSpacing;
    ui->Label6s[4]->setText(SpacingText(v.BeatSpacing));
    ui->Check8->setChecked(v.Check8 != 0);
    ui->Check10->setChecked(v.Check10 != 0);
    ui->Check11->setChecked(v.Check11 != 0);
    ui->Check12->setChecked(v.Check12 != 0);
}

QString Form1::SaveOptions() {
    OptionsValues v;
    v.ExportScale = editor_.st.ExportScale;
    v.BeatSpacing = editor_.st.SpacingValues[4];
    v.Check8 = ui->Check8->isChecked() ? 1 : 0;
    v.Check10 = ui->Check10->isChecked() ? 1 : 0;
    v.Check11 = ui->Check11->isChecked() ? 1 : 0;
    v.Check12 = ui->Check12->isChecked() ? 1 : 0;
    return WriteOptionsFile(ProgramPath(programFolder_, QStringLiteral("set.ini")), v);
}

void Form1::Label6_MouseDown(int index, Qt::MouseButton button) {
    if (index < 0 || index > 5) return;
    const int d = button == Qt::LeftButton ? 1 : button == Qt::RightButton ? -1 : 0;
    EditorState& st = editor_.st;
    if (index == 4 || index == 5) st.OptionsChanged = -1;
    if (index <= 4) {
        Single v = st.SpacingValues[index] + Single(d) * 0.5f;
        if (v < 0) v = 1;
        if (v > 1) v = 0;
        st.SpacingValues[index] = v;
        ui->Label6s[index]->setText(SpacingText(v));
    } else {
        int r = int(st.ExportScale) + d * 10;
        if (r > 200) r = 50;
        if (r < 50) r = 200;
        st.ExportScale = Byte(r);
        ui->Label6s[5]->setText(QString::number(r));
    }
}

void Form1::Label6s_MouseDown(int index, Qt::MouseButton button) { Label6_MouseDown(index, button); }

void Form1::Check8_Click() { editor_.st.OptionsChanged = -1; }
void Form1::Check10_Click() { editor_.st.OptionsChanged = -1; }
void Form1::Check11_Click() { editor_.st.OptionsChanged = -1; }
void Form1::Check12_Click() { editor_.st.OptionsChanged = -1; }

void Form1::Command3_Click() {
    ui->Picture2->hide();
    FocusPage();
    if (editor_.st.OptionsChanged != -1) return;
    const QString error = SaveOptions();
    // The flag stays set on failure, so the next close tries again.
    if (!error.isEmpty()) {
        dialogs_->Message(this, QStringLiteral("选项没有保存。\n%1").arg(error));
        return;
    }
    editor_.st.OptionsChanged = 0;
}

}  // namespace qn
