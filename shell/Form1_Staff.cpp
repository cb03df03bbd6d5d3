// Form1: the staff panel `Picture3`. The pointer's meaning and what a click
// sends are StaffInput's (staff/); here the panel's widgets are read and set.
#include "Form1_Controls.h"
#include "ProgramFolder.h"
#include "StaffInput.h"
#include "StaffPanel.h"
#include "VirtualKey.h"

namespace qn {

void Form1::CreateStaffPanel() {
    Controls& c = *ui;
    const StaffPanel s = BuildStaffPanel(this);
    c.Picture3 = s.Picture3;
    c.Image1 = s.Image1;
    c.Image3 = s.Image3;
    c.Label10 = s.Label10;
    c.Label12 = s.Label12;
    c.Label13 = s.Label13;
    c.Label9 = s.Label9;
    c.Line5 = s.Line5;
    c.Check7 = s.Check7;
    c.Command13 = s.Command13;
}

void Form1::ConnectStaffHandlers() {
    Controls& c = *ui;
    connect(c.Label10, &StaffMouseArea::moved, this, &Form1::Label10_MouseMove);
    connect(c.Label10, &StaffMouseArea::pressed, this, &Form1::Label10_MouseDown);
    connect(c.Command13, &QPushButton::clicked, this, &Form1::Command13_Click);
    connect(c.Check7, &QCheckBox::toggled, this, &Form1::Check7_Click);
    connect(c.Label12, &ClickLabel::clicked, this, &Form1::Label12_Click);
    connect(c.Label13, &ClickLabel::clicked, this, &Form1::Label13_Click);
}

void Form1::ShowStaffPanel(bool shown) {
    QFrame* panel = ui->Picture3;
    // The panel stands on the window's bottom edge, over the toolbar and the page.
    panel->move(panel->x(), height() - panel->height());
    panel->setVisible(shown);
    if (shown) panel->raise();
}

void Form1::ShowClef(bool treble) {
    ui->Image1[0]->setVisible(treble);
    ui->Image1[1]->setVisible(!treble);
}

bool Form1::BassClef() const { return ui->Label3->text() == QStringLiteral("低音谱号"); }

void Form1::Label10_MouseMove(QPoint pos) {
    Controls& c = *ui;
    const StaffPointer p =
        StaffPointerMoved(editor_.st, pos.x(), pos.y(), c.Combo2->currentIndex(), BassClef());
    c.Image3->move(p.markerLeft, p.moveMarker ? p.markerTop : c.Image3->y());
    if (p.reloadMarker) LoadStaffMarker();
}

void Form1::Label10_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos) {
    Controls& c = *ui;
    History::Step step(editor_.history);  // one staff click, one undo step
    // The note is the one under the press, even if no move reported it.
    Label10_MouseMove(pos);
    StaffSelectors selectors;
    selectors.accidental = c.Label12->Tag.toInt();
    selectors.dot = c.Label13->text() == DotCaption(true);
    StaffClick(editor_, int(button), ShiftStateFromQt(modifiers), c.Check7->isChecked(), selectors);
    c.Label12->Tag = QString::number(selectors.accidental);
    c.Label12->setText(AccidentalCaption(selectors.accidental));
    c.Label13->setText(DotCaption(selectors.dot));
    c.Picture1->update();
}

void Form1::LoadStaffMarker() {
    const EditorState& st = editor_.st;
    const int beams = ui->Check7->isChecked() ? st.StaffBeams : st.NoteValue;
    const QString name = StaffMarkerFile(beams, st.StaffMarkerSuffix);
    QPixmap& picture = staffMarkers_[name];
    if (picture.isNull()) picture.load(ProgramPath(programFolder_, name));
    // A missing or unreadable picture leaves the preview empty; the panel works on.
    if (picture.isNull()) {
        ui->Image3->clear();
        ui->Image3->resize(0, 0);
        return;
    }
    ui->Image3->setPixmap(picture);
    ui->Image3->resize(picture.size());
}

void Form1::Command13_Click() {
    ui->Picture3->hide();
    ui->Check1->setChecked(false);  // runs Check1_Click: the key list is disabled
}

void Form1::Check7_Click() {
    Controls& c = *ui;
    const bool zones = c.Check7->isChecked();
    c.Label9->setVisible(zones);
    for (QFrame* line : c.Line5) line->setVisible(zones);
    FocusPage();
}

void Form1::Label12_Click() {
    const int tag = NextAccidentalTag(ui->Label12->Tag.toInt());
    ui->Label12->Tag = QString::number(tag);
    ui->Label12->setText(AccidentalCaption(tag));
}

void Form1::Label13_Click() {
    ui->Label13->setText(DotCaption(ui->Label13->text() != DotCaption(true)));
}

}  // namespace qn
