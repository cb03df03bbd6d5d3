// Form1: the toolbar's staff-input switch, clef, eraser size and region
// buttons, and the close button of the new-score dialog.
// Commands that belong to later work only give the focus back to the page; the
// eraser size and the region buttons are the mouse handler's.
#include "Form1_Controls.h"

namespace qn {

void Form1::Check1_Click() {
    ui->Combo2->setEnabled(ui->Check1->isChecked());
    ShowStaffPanel(ui->Combo2->isEnabled());
    FocusPage();
}

void Form1::Combo2_Click() { FocusPage(); }

void Form1::Combo3_Click() { mouse_.Combo3_Click(); }

void Form1::Label3_Click() {
    const bool treble = ui->Label3->text() == QStringLiteral("高音谱号");
    ui->Label3->setText(treble ? QStringLiteral("低音谱号") : QStringLiteral("高音谱号"));
    ShowClef(!treble);
}

void Form1::Command14_Click() {
    History::Step step(editor_.history);
    mouse_.Command14_Click();
}

void Form1::Command15_Click() {
    History::Step step(editor_.history);
    mouse_.Command15_Click();
}

void Form1::Command12_Click() { ui->Picture8->hide(); }

}  // namespace qn
