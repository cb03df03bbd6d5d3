// Form1: what the editor core and the key handler read and call, and the
// route of the page canvas's keys into `Picture1_KeyDown`.
#include <QApplication>
#include <QBitmap>
#include <QKeyEvent>

#include "Form1_Controls.h"
#include "ProgramFolder.h"
#include "VirtualKey.h"
#include "Dialogs.h"

namespace qn {

// ---- EditorView

bool Form1::Check4() { return ui->Check4->isChecked(); }
bool Form1::Check8() { return ui->Check8->isChecked(); }

QString Form1::Label6sCaption(int index) {
    return index >= 0 && index < 6 ? ui->Label6s[index]->text() : QString();
}

int Form1::HScroll2(int index) { return index >= 0 && index < 4 ? ui->HScroll2[index]->value() : 0; }

int Form1::Line3X1() { return ui->Picture1->marginLineX(); }

QRgb Form1::Label5ForeColor() { return ChordColour().rgb(); }

void Form1::RefreshPage() { ui->Picture1->update(); }

void Form1::Picture1_KeyDown(Integer keyCode, Integer shift) {
    keys_.Picture1_KeyDown(keyCode, shift);
    ui->Picture1->update();
}

void Form1::Picture1_KeyUp(Integer keyCode, Integer shift) { keys_.Picture1_KeyUp(keyCode, shift); }

// ---- InputView

bool Form1::Check1() { return ui->Check1->isChecked(); }
int Form1::Combo2ListIndex() { return ui->Combo2->currentIndex(); }
bool Form1::Check5(int index) { return index >= 0 && index < 4 && ui->Check5[index]->isChecked(); }
bool Form1::Check11() { return ui->Check11->isChecked(); }

void Form1::SetOption1Value(Integer index) {
    if (index >= 0 && index < 4) ui->Option1[index]->setChecked(true);
}

void Form1::RestartBlink() {
    ui->Timer1->start();  // restarting gives a full interval before the next toggle
    editor_.caret.Visible = true;
    ui->Picture1->updateCaret();
}

void Form1::LoadCaretPicture(Integer index) {
    if (index < 0 || index > 3) return;
    caretShown_ = index;
    QPixmap& caret = caretPictures_[index];
    if (caret.isNull()) {  // read once; the note-value keys come back here often
        QImage picture;
        // A missing or unreadable caret picture keeps the one shown before.
        if (!picture.load(ProgramPath(programFolder_, QStringLiteral("s/k%1.bmp").arg(index)))) return;
        // The white ground of the bitmap is see-through, so the caret never hides
        // the symbol it stands on.
        caret = QPixmap::fromImage(picture);
        caret.setMask(QBitmap::fromImage(picture.createMaskFromColor(qRgb(255, 255, 255), Qt::MaskInColor)));
    }
    ui->Picture1->setCaretPicture(caret);
}

void Form1::ShowNewScoreDialog() {
    ui->Picture8->show();
    ui->Picture8->raise();
}

void Form1::Beep() { dialogs_->Beep(); }

// ---- Keys of the page canvas

void Form1::CanvasKeyPress(QKeyEvent* event) {
    // Auto-repeated presses are typing too.
    const Integer key = VirtualKeyFromQt(event->key(), event->modifiers());
    if (key == 0) return;
    Picture1_KeyDown(key, ShiftStateFromQt(event->modifiers()));
}

void Form1::CanvasKeyRelease(QKeyEvent* event) {
    // The system repeats a held key as presses only: a repeated release is no release.
    if (event->isAutoRepeat()) return;
    const Integer key = VirtualKeyFromQt(event->key(), event->modifiers());
    if (key == 0) return;
    Picture1_KeyUp(key, ShiftStateFromQt(event->modifiers()));
}

void Form1::FocusPage() { ui->Picture1->setFocus(Qt::OtherFocusReason); }

}  // namespace qn
