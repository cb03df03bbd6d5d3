// Form1: the new-score dialog `Picture8`. Its key and time-signature labels
// are edited by the header's list editors (Form1_Header.cpp); the printed head
// is laid out and printed by NewScoreHead (header/).
#include "Form1_Controls.h"
#include "HeaderText.h"
#include "NewScoreDialog.h"
#include "NewScoreHead.h"
#include "Dialogs.h"

namespace qn {

void Form1::CreateNewScoreDialog() {
    Controls& c = *ui;
    const NewScoreDialog d = BuildNewScoreDialog(c.Picture8);
    c.Label2[14] = d.Label2_14;
    c.Label14 = d.Label14;
    c.Label2[11] = d.Label2_11;
    c.Label2[3] = d.Label2_3;
    c.Label2[13] = d.Label2_13;
    c.Label2[12] = d.Label2_12;
    c.Label2[10] = d.Label2_10;
    c.Label2[8] = d.Label2_8;
    c.Line1[2] = d.Line1_2;
    c.HScroll3 = d.HScroll3;
    c.Command11 = d.Command11;
}

void Form1::ConnectNewScoreHandlers() {
    Controls& c = *ui;
    connect(c.Label14, &ClickLabel::clicked, this, &Form1::Label14_Click);
    connect(c.HScroll3, &QScrollBar::valueChanged, this, &Form1::HScroll3_Change);
    connect(c.Combo4, &QComboBox::activated, this, &Form1::Combo4_Click);
    connect(c.Command11, &QPushButton::clicked, this, &Form1::Command11_Click);
}

void Form1::Label14_Click() {
    QString answer;
    if (!dialogs_->InputBox(this, QStringLiteral("请输入标题"), ui->Label14->text(), answer)) return;
    SetHeaderText(ui->Label14, TitleAnswer(answer));
}

void Form1::HScroll3_Change() { SetHeaderText(ui->Label2[8], TempoCaption(ui->HScroll3->value())); }

void Form1::Combo4_Click() { SetHeaderText(ui->Label2[8], ui->Combo4->currentText()); }

void Form1::Command11_Click() {
    Controls& c = *ui;
    History::Step step(editor_.history);  // the printed head is one undo step
    // The typing time signature follows the dialog's; the page's labels keep theirs.
    if (c.Combo1[13]->currentIndex() >= 0) SelectCombo1Entry(7, c.Combo1[13]->currentIndex());
    if (c.Combo1[12]->currentIndex() >= 0) SelectCombo1Entry(6, c.Combo1[12]->currentIndex());

    NewScoreHead head;
    head.title = c.Label14->text();
    head.titleWidth = c.Label14->width();
    head.key = c.Label2[3]->text();
    head.numerator = c.Label2[13]->text();
    head.denominator = c.Label2[12]->text();
    head.tempo = c.Label2[8]->text();
    head.credits = c.Label2[10]->text();
    head.creditsWidth = c.Label2[10]->width();
    PrintNewScoreHead(editor_.page, editor_.pageFont,
                      LayOutNewScoreHead(head, editor_.page.width(), RoundHalfEven(editor_.caret.Top),
                                         HScroll2(2)));
    c.Picture1->update();

    // Staff input writes in the printed key; the staff key is kept with the document.
    QStringList staffKeys;
    for (int i = 0; i < c.Combo2->count(); ++i) staffKeys << c.Combo2->itemText(i);
    const int staffKey = StaffKeyForKey(head.key, staffKeys);
    if (staffKey >= 0) {
        if (staffKey != c.Combo2->currentIndex()) MarkModified();
        c.Combo2->setCurrentIndex(staffKey);
        Combo2_Click();
    }
    Command12_Click();
}

}  // namespace qn
