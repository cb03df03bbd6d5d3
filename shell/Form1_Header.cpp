// Form1: the header labels' list editors. Opening them from the labels comes later;
// start-up's list choices already run through Combo1_Click.
#include "Form1_Controls.h"

namespace qn {

void Form1::HideInlineEditors() {
    Controls& c = *ui;
    QWidget* const editors[] = {c.Combo1[0], c.Combo1[1], c.Combo1[2],  c.HScroll1,  c.Combo1[6],
                                c.Combo1[7], c.Combo1[3], c.Combo1[13], c.Combo1[12], c.List2};
    for (QWidget* w : editors) w->move(w->x(), -5000);
}

void Form1::SelectCombo1Entry(int index, int entry) {
    ui->Combo1[index]->setCurrentIndex(entry);
    Combo1_Click(index);
}

void Form1::Combo1_Click(int index) {
    Controls& c = *ui;
    QComboBox* list = c.Combo1[index];
    if (!list) return;
    const int entry = list->currentIndex();
    // The toolbar's time signature follows the page's, never the other way.
    if (index == 0) SelectCombo1Entry(7, entry);
    if (index == 1) SelectCombo1Entry(6, entry);
    if (index == 6) editor_.st.BeatUnit = Integer(list->currentText().toInt());
    if (index == 7) editor_.st.BeatsPerBar = Integer(list->currentText().toInt());
    if (c.Label2[index]) {
        c.Label2[index]->setText(list->currentText());
        c.Label2[index]->adjustSize();
    }
    HideInlineEditors();
    FocusPage();
}

}  // namespace qn
