// Form1: the mouse on the page canvas, the region clipboard's buttons and the
// lyrics box. The canvas's events become `Picture1_MouseDown`/`MouseMove`/
// `MouseUp`/`Click`; what they do is the mouse handler's (input/MouseHandler).
#include <QMouseEvent>

#include "Form1_Controls.h"
#include "OverlaySlots.h"
#include "SongFont.h"
#include "VirtualKey.h"

namespace qn {

namespace {

const QColor kShape1Colour(96, 96, 96);
const QColor kShape2Colour(0, 0, 255);
const QColor kLabel8Colour(255, 0, 0);

// The button numbers of the mouse handlers: 1 left, 2 right, 4 middle.
Integer ButtonCode(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton: return mouse::LeftButton;
    case Qt::RightButton: return mouse::RightButton;
    case Qt::MiddleButton: return mouse::MiddleButton;
    default: return 0;
    }
}

Integer ButtonsCode(Qt::MouseButtons buttons) {
    Integer code = 0;
    for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
        if (buttons & b) code = Integer(code | ButtonCode(b));
    return code;
}

}  // namespace

void Form1::CreateMouseControls() {
    Controls& c = *ui;
    PageCanvas* page = c.Picture1;

    // Shape1 starts parked; Combo3_Click at start-up parks it again.
    c.Shape1 = new RectangleShape(kShape1Colour, RectangleShape::Look::Plain, page);
    c.Shape1->setObjectName(QStringLiteral("Shape1"));
    c.Shape1->setGeometry(0, mouse::ParkedTop, 0, 0);
    c.Shape2 = new RectangleShape(kShape2Colour, RectangleShape::Look::Dashed, page);
    c.Shape2->setObjectName(QStringLiteral("Shape2"));
    c.Shape2->hide();
    c.Label8 = new RectangleShape(kLabel8Colour, RectangleShape::Look::Plain, page);
    c.Label8->setObjectName(QStringLiteral("Label8"));
    c.Label8->resize(12, 40);
    c.Label8->hide();

    c.Textgc = new LyricsBox(page);
    c.Textgc->setObjectName(QStringLiteral("Textgc"));
    c.Textgc->setFont(SongFont(14));
    c.Textgc->setText(QStringLiteral("在 这 里 输 入 歌 词"));
    // Spans the page between the margins; LayoutPage follows the page width.
    c.Textgc->setGeometry(20, 0, page->width() - 40, c.Textgc->sizeHint().height());
    c.Textgc->hide();
}

void Form1::ConnectMouseHandlers() {
    Controls& c = *ui;
    c.Picture1->onMousePress = [this](QMouseEvent* e) {
        Picture1_MouseDown(ButtonCode(e->button()), ShiftStateFromQt(e->modifiers()), Single(e->position().x()),
                           Single(e->position().y()));
    };
    c.Picture1->onMouseMove = [this](QMouseEvent* e) {
        Picture1_MouseMove(ButtonsCode(e->buttons()), ShiftStateFromQt(e->modifiers()), Single(e->position().x()),
                           Single(e->position().y()));
    };
    c.Picture1->onMouseRelease = [this](QMouseEvent* e) {
        Picture1_MouseUp(ButtonCode(e->button()), ShiftStateFromQt(e->modifiers()), Single(e->position().x()),
                         Single(e->position().y()));
    };
    c.Picture1->onClick = [this] { Picture1_Click(); };
    c.Textgc->onKeyDown = [this](QKeyEvent* e) {
        return Textgc_KeyDown(VirtualKeyFromQt(e->key(), e->modifiers()), ShiftStateFromQt(e->modifiers()));
    };
    c.Textgc->onLostFocus = [this] { Textgc_LostFocus(); };
}

// ---- Handlers

void Form1::Picture1_MouseDown(Integer button, Integer shift, Single X, Single Y) {
    if (IsPlaying()) StopPlayback();  // a press on the page stops the music
    // Press to release is one undo step (an eraser stroke, a selection).
    if (!mouseStepOpen_) {
        editor_.history.begin();
        mouseStepOpen_ = true;
    }
    mouse_.Picture1_MouseDown(button, shift, X, Y);
}

void Form1::Picture1_MouseMove(Integer button, Integer shift, Single X, Single Y) {
    mouse_.Picture1_MouseMove(button, shift, X, Y);
}

void Form1::Picture1_MouseUp(Integer button, Integer shift, Single X, Single Y) {
    mouse_.Picture1_MouseUp(button, shift, X, Y);
    if (mouseStepOpen_) {
        mouseStepOpen_ = false;
        editor_.history.end();
    }
}

void Form1::Picture1_Click() {
    History::Step step(editor_.history);
    mouse_.Picture1_Click();
}

bool Form1::Textgc_KeyDown(Integer keyCode, Integer shift) {
    History::Step step(editor_.history);  // the printed lyrics line
    return mouse_.Textgc_KeyDown(keyCode, shift);
}

void Form1::Textgc_LostFocus() { mouse_.Textgc_LostFocus(); }

// ---- MouseView

int Form1::Combo3ListIndex() { return ui->Combo3->currentIndex(); }

void Form1::PlaceShape1(const QRect& r) { ui->Shape1->setGeometry(r); }

void Form1::SetShape1Look(EraserLook look) {
    ui->Shape1->setLook(look == EraserLook::Active ? RectangleShape::Look::Hatched : RectangleShape::Look::Plain);
}

void Form1::ShowShape2(const QRect& r) {
    ui->Shape2->setGeometry(r);
    ui->Shape2->show();
    ui->Shape2->raise();
}

void Form1::HideShape2() { ui->Shape2->hide(); }

void Form1::CaretMoved() { ui->Picture1->updateCaret(); }

void Form1::RepaintPage(const QRect& area) { ui->Picture1->update(area); }

void Form1::DeselectOverlay(Integer selected) { overlays_->Unmark(selected); }

void Form1::OpenLyricsBox(int top, const QString& prompt) {
    LyricsBox* box = ui->Textgc;
    box->move(box->x(), top);
    box->setText(prompt);
    box->setSelection(0, int(prompt.size()));  // the first key replaces the prompt
    box->show();
    box->raise();
    box->setFocus(Qt::OtherFocusReason);
}

void Form1::HideLyricsBox() {
    LyricsBox* box = ui->Textgc;
    // Enter closes the box with the focus still in it: the page takes the keys again.
    if (box->hasFocus()) FocusPage();
    box->hide();
}

QString Form1::LyricsText() { return ui->Textgc->text(); }

QPoint Form1::LyricsPosition() { return ui->Textgc->pos(); }

QFont Form1::LyricsFont() {
    // The canvas's font face at the box's size.
    QFont font = ui->Picture1->font();
    const QFont& box = ui->Textgc->font();
    if (box.pixelSize() > 0)
        font.setPixelSize(box.pixelSize());
    else
        font.setPointSizeF(box.pointSizeF());
    font.setBold(false);
    return font;
}

}  // namespace qn
