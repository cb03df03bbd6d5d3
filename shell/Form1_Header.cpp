// Form1: the header labels on the page, their in-place editors (lists, the
// tempo slider and word list, input boxes), the page number and the title's
// window drag and margin line.
#include "Form1_Controls.h"
#include "HeaderText.h"
#include "OutlineWindow.h"
#include "WindowChanges.h"
#include "Dialogs.h"

namespace qn {

namespace {
constexpr int kParked = -5000;
}

void Form1::HideInlineEditors() {
    Controls& c = *ui;
    QWidget* const editors[] = {c.Combo1[0], c.Combo1[1], c.Combo1[2],  c.HScroll1,  c.Combo1[6],
                                c.Combo1[7], c.Combo1[3], c.Combo1[13], c.Combo1[12], c.List2};
    for (QWidget* w : editors) w->move(w->x(), kParked);
}

void Form1::SetHeaderText(ClickLabel* label, const QString& text) {
    if (!label || label->text() == text) return;
    const QString before = label->text();
    label->setText(text);
    // The title spans the page with its text centred; the others fit their text.
    const bool fit = label != ui->Label1;
    if (fit) label->adjustSize();
    // Only the page's own labels belong to the document. The credits and the
    // page number are placed by their width.
    if (label->parentWidget() != ui->Picture1) return;
    std::function<void()> relayout;
    if (label == ui->Label2[5] || label == ui->Label16) relayout = [this] { LayoutPage(); };
    editor_.history.add(std::make_unique<LabelChange>(label, before, text, fit, std::move(relayout)));
}

void Form1::SelectCombo1Entry(int index, int entry) {
    ui->Combo1[index]->setCurrentIndex(entry);
    Combo1_Click(index);
}

void Form1::Combo1_Click(int index) {
    // The page's time signature takes the typing one with it: one step.
    History::Step step(editor_.history);
    Controls& c = *ui;
    QComboBox* list = c.Combo1[index];
    if (!list) return;
    const int entry = list->currentIndex();
    // The toolbar's time signature follows the page's, never the other way.
    if (index == 0) SelectCombo1Entry(7, entry);
    if (index == 1) SelectCombo1Entry(6, entry);
    if (index == 6) editor_.st.BeatUnit = Integer(list->currentText().toInt());
    if (index == 7) editor_.st.BeatsPerBar = Integer(list->currentText().toInt());
    const bool ownLabel = !(index == 4 || index == 5 || (index >= 8 && index <= 11));
    if (ownLabel && c.Label2[index]) SetHeaderText(c.Label2[index], list->currentText());
    HideInlineEditors();
    FocusPage();
}

void Form1::Label2_MouseDown(int index, Qt::MouseButton button) {
    Controls& c = *ui;
    HideInlineEditors();
    ClickLabel* label = index >= 0 && index < int(c.Label2.size()) ? c.Label2[index] : nullptr;
    if (!label) return;
    switch (index) {
    case 4:  // tempo on the page
        if (button == Qt::LeftButton) {
            c.HScroll1->move(c.HScroll1->x(), 72);
            // A tempo word reads as 0, which the slider refuses: it keeps its value.
            const int v = TempoSliderValue(label->text());
            if (v >= c.HScroll1->minimum() && v <= c.HScroll1->maximum()) c.HScroll1->setValue(v);
        } else if (button == Qt::RightButton) {
            const QList<QListWidgetItem*> found = c.List2->findItems(label->text(), Qt::MatchExactly);
            if (!found.isEmpty()) c.List2->setCurrentItem(found.first());
            c.List2->move(c.List2->x(), 64);
            c.List2->raise();
        }
        FocusPage();
        return;
    case 5:
    case 10: {  // credits, on the page and in the new-score dialog
        QString answer;
        if (!dialogs_->InputBox(this, QStringLiteral("请输入备注"), label->text(), answer)) return;
        SetHeaderText(label, CreditsAnswer(answer));
        if (index == 5) LayoutPage();  // right-aligned to the page
        FocusPage();
        return;
    }
    case 0: case 1: case 2: case 3: case 6: case 7: case 12: case 13: {
        QComboBox* list = c.Combo1[index];
        if (!list) return;
        list->move(list->x(), label->y());
        list->raise();
        const int match = list->findText(label->text(), Qt::MatchExactly);
        // Showing the label's own value is no choice: the list waits for the user.
        if (match >= 0) {
            list->setCurrentIndex(match);
            return;
        }
        FocusPage();
        return;
    }
    default:
        FocusPage();
        return;
    }
}

void Form1::HScroll1_Change() {
    SetHeaderText(ui->Label2[4], TempoCaption(ui->HScroll1->value()));
    FocusPage();
}

void Form1::List2_DblClick() {
    Controls& c = *ui;
    if (c.List2->currentItem()) SetHeaderText(c.Label2[4], c.List2->currentItem()->text());
    c.List2->move(c.List2->x(), kParked);
    FocusPage();
}

void Form1::Label1_DblClick() {
    QString answer;
    if (!dialogs_->InputBox(this, QStringLiteral("请输入标题"), ui->Label1->text(), answer)) return;
    SetHeaderText(ui->Label1, TitleAnswer(answer));
    FocusPage();
}

void Form1::Label1_MouseDown(Qt::MouseButton button, QPoint pos) {
    if (button == Qt::RightButton) {
        // The title spans the page from its left edge: x inside it is page x.
        ui->Picture1->setMarginLine(pos.x());
        return;
    }
    if (button != Qt::LeftButton) return;
    if (!form2_->isVisible()) {
        editor_.st.TitleDragX = Integer(pos.x());
        editor_.st.TitleDragY = Integer(pos.y());
    }
    form2_->setGeometry(frameGeometry());
    form2_->show();
}

void Form1::Label1_MouseMove(Qt::MouseButtons buttons, QPoint pos) {
    if (!(buttons & Qt::LeftButton) || !form2_->isVisible()) return;
    // The window stays put during the drag, so pos keeps meaning the same place.
    form2_->move(x() + pos.x() - editor_.st.TitleDragX, y() + pos.y() - editor_.st.TitleDragY);
}

void Form1::Label1_MouseUp(Qt::MouseButton button, QPoint) {
    if (button != Qt::LeftButton || !form2_->isVisible()) return;
    move(form2_->pos());
    form2_->hide();
}

void Form1::Label16_Click() {
    History::Step step(editor_.history);  // the number is the document's even when its text stays
    QString answer;
    if (!dialogs_->InputBox(this, QStringLiteral("请输入页数"), QString::number(editor_.st.PageNumber),
                            answer))
        return;
    const Integer page = ParsePageNumber(answer);
    editor_.st.PageNumber = page;
    SetHeaderText(ui->Label16, PageNumberText(ui->Label18->text(), page));
    LayoutPage();  // centred on the page
    FocusPage();
}

void Form1::Label18_Click() {
    QString answer;
    if (!dialogs_->InputBox(this, QStringLiteral("请输入模式"), ui->Label18->text(), answer)) return;
    ui->Label18->setText(answer);
    FocusPage();
}

}  // namespace qn
