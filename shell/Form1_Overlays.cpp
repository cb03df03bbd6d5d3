// Form1: the text and picture insert panels, the overlays they create, and the
// overlays' selection, moves and hiding (the keys call the InputView part).
#include "Form1_Controls.h"
#include <QDir>

#include "InsertPanels.h"
#include "OverlaySlots.h"
#include "ProgramFolder.h"
#include "WindowChanges.h"

namespace qn {

QString Form1::PictureLibraryFolder() const { return ProgramPath(programFolder_, QStringLiteral("s/sik")); }

void Form1::Command5_Click() {
    Controls& c = *ui;
    EditorState& st = editor_.st;
    const int phrase = c.List1->currentRow();
    if (phrase < 0 || !c.List1->currentItem()) return;  // the panel stays open
    // The key refuses a full list; a click on a panel left open must too.
    if (st.TextOverlayCount >= sidecar::MaxTextRecords) return;
    History::Step step(editor_.history);
    ChangeOverlay(overlays_->Label7[size_t(st.TextOverlayCount)], [&] {
        overlays_->PlaceText(st.TextOverlayCount, st.OverlayInsertX, st.OverlayInsertY,
                             c.List1->currentItem()->text(), QString::number(phrase));
    });
    ++st.TextOverlayCount;
    Command6_Click();
}

void Form1::List1_DblClick() { Command5_Click(); }

void Form1::Command6_Click() {
    ui->Frame2->hide();
    FocusPage();
}

void Form1::File1_Click() {
    Controls& c = *ui;
    QPixmap picture;
    // A library file that is no picture, or no current file, leaves the
    // preview empty; 确定 then adds nothing.
    if (c.File1->currentItem() &&
        !picture.load(QDir(PictureLibraryFolder()).filePath(c.File1->currentItem()->text())))
        picture = QPixmap();
    previewRow_ = picture.isNull() ? -1 : c.File1->currentRow();
    c.Image2->setPixmap(picture);
    c.Image2->resize(picture.isNull() ? QSize(0, 0) : picture.size());
}

void Form1::Command8_Click() {
    Controls& c = *ui;
    EditorState& st = editor_.st;
    // The tag is the index of the picture shown, whatever the selection says.
    const int file = previewRow_;
    if (file < 0) return;
    const QPixmap picture = c.Image2->pixmap();
    if (picture.isNull()) return;
    if (st.PictureOverlayCount >= sidecar::MaxPictureRecords) return;
    History::Step step(editor_.history);
    ChangeOverlay(overlays_->Ima[size_t(st.PictureOverlayCount)], [&] {
        overlays_->PlacePicture(st.PictureOverlayCount, st.OverlayInsertX, st.OverlayInsertY, picture,
                                QString::number(file));
    });
    ++st.PictureOverlayCount;
    Command9_Click();
}

void Form1::Command9_Click() {
    ui->Frame3->hide();
    FocusPage();
}

void Form1::Label7_Click(int index) {
    EditorState& st = editor_.st;
    overlays_->Unmark(st.SelectedOverlay);
    st.SelectedOverlay = Integer(index);
    overlays_->MarkSelected(st.SelectedOverlay);
}

void Form1::Label7_MouseUp(int) { FocusPage(); }

void Form1::Ima_Click(int index) {
    EditorState& st = editor_.st;
    overlays_->Unmark(st.SelectedOverlay);
    st.SelectedOverlay = Integer(index + OverlaySlots::FirstPicture);
    overlays_->MarkSelected(st.SelectedOverlay);
    FocusPage();
}

// ---- InputView: the keys act on the selected overlay

bool Form1::OverlayPosition(Integer selected, int& left, int& top) {
    const ClickLabel* w = overlays_->Named(selected);
    if (!w) return false;
    left = w->x();
    top = w->y();
    return true;
}

void Form1::MoveOverlay(Integer selected, int left, int top) {
    ClickLabel* w = overlays_->Named(selected);
    if (!w || w->pos() == QPoint(left, top)) return;
    ChangeOverlay(w, [&] { w->move(left, top); });
}

void Form1::HideOverlay(Integer selected) {
    ClickLabel* w = overlays_->Named(selected);
    if (!w || w->isHidden()) return;
    ChangeOverlay(w, [&] { w->hide(); });
}

void Form1::ChangeOverlay(ClickLabel* overlay, const std::function<void()>& change) {
    const OverlayLook before = OverlayLook::Of(overlay);
    change();
    const OverlayLook after = OverlayLook::Of(overlay);
    if (after != before) editor_.history.add(std::make_unique<OverlayChange>(overlay, before, after));
}

void Form1::ShowPictureInsertPanel(int left, int top) {
    Controls& c = *ui;
    c.Frame3->move(left, top);
    c.Frame3->show();
    c.Frame3->raise();
}

void Form1::ShowTextInsertPanel(int left, int top) {
    ui->Frame2->move(left, top);
    ui->Frame2->show();
    ui->Frame2->raise();
}

}  // namespace qn
