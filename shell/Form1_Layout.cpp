// Form1: page layout (`LayoutPage`), layout sliders, guide lines and page scroll.
#include "Form1_Controls.h"
#include "WindowChanges.h"

namespace qn {

QString Label4Caption(int index, int value) {
    static const char16_t* const prefix[4] = {u"小节宽度 ", u"每行小节数 ", u"行距 ", u"和弦距离 "};
    return QString::fromUtf16(prefix[index]) + QString::number(value);
}

void Form1::LayoutPage() {
    Controls& c = *ui;
    const PageLayout l = ComputePageLayout(HScroll2(0), HScroll2(1), HScroll2(2));

    c.Picture1->setGuideLines(l.guideLines);
    if (c.Check2->isChecked()) c.Picture1->setGuideLinesVisible(true);

    const int W = l.pageWidth, H = l.pageHeight;
    editor_.page.resize(W, H);
    c.Picture1->resize(W, H);

    c.Label1->resize(W, c.Label1->height());
    c.Label2[5]->move(W - 32 - c.Label2[5]->width(), c.Label2[5]->y());
    c.Picture1->setMarginLine(l.marginLineX);
    c.Label16->move((W - c.Label16->width()) / 2, H - 45);
    c.Textgc->resize(l.lyricsWidth, c.Textgc->height());

    setFixedSize(l.windowWidth, l.windowHeight);
    if (c.Picture3->isVisible()) ShowStaffPanel(true);  // it stands on the window's bottom edge
    c.Command16->move(l.minimizeLeft, 8);
    c.MenuButton->move(l.minimizeLeft - kMenuButtonWidth - 2, 8);
    c.Picture1->update();
    for (int i = 0; i < 3; ++i) layoutValues_[i] = HScroll2(i);
}

void Form1::HScroll2_Change(int index) {
    // Bar width, bars per line and line spacing belong to the document: a change
    // is an undo step, with what a smaller page cut off.
    History::Step step(editor_.history);
    const int value = HScroll2(index);
    if (index < 3 && layoutValues_[index] != value)
        editor_.history.add(std::make_unique<SliderChange>(ui->HScroll2[index], layoutValues_[index], value));
    ui->Label4[index]->setText(Label4Caption(index, ui->HScroll2[index]->value()));
    LayoutPage();
    FocusPage();
}

void Form1::Check2_Click() {
    // Ticking relays out, which places and shows the lines of the current grid.
    if (ui->Check2->isChecked())
        LayoutPage();
    else
        ui->Picture1->setGuideLinesVisible(false);
    FocusPage();
}

void Form1::VScroll1_Change() {
    ui->Picture1->move(kPageLeft, PageTopForScroll(ui->VScroll1->value()));
}

std::vector<QLine> Form1::VisibleGuideLines() const {
    const PageCanvas* canvas = ui->Picture1;
    return canvas->guideLinesVisible() ? canvas->guideLines() : std::vector<QLine>{};
}

}  // namespace qn
