// Form1: the marks that are not glyph cells: the slur key L with its start
// marker `Label8`, and the grace-note key O, whose digits become picture overlays
// from the picture library `File1`.
#include "Form1_Controls.h"
#include "GraceNotes.h"
#include "OverlaySlots.h"
#include "Dialogs.h"

namespace qn {

void Form1::SlurKey() {
    History::Step step(editor_.history);
    QRect changed;
    qn::SlurKey(editor_, label8_, &changed);
    RectangleShape* marker = ui->Label8;
    marker->move(RoundHalfEven(label8_.Left), RoundHalfEven(label8_.Top));
    marker->setVisible(label8_.Visible);
    if (label8_.Visible) marker->raise();
    if (!changed.isEmpty()) RepaintPage(changed);
}

void Form1::GraceNoteKey() {
    Controls& c = *ui;
    EditorState& st = editor_.st;
    QString answer;
    if (!dialogs_->InputBox(this, QStringLiteral("输入装饰音"), QStringLiteral("1"), answer)) answer.clear();
    const int x = RoundHalfEven(editor_.caret.Left), y = RoundHalfEven(editor_.caret.Top);
    const GraceNotePlan plan = PlanGraceNotes(answer, x, y, st.PictureOverlayCount);
    if (!plan.message.isEmpty()) dialogs_->Critical(this, plan.message);
    if (plan.outcome != GraceNotePlan::Outcome::Place) return;
    // The document keeps only this many picture overlays; a group reaching
    // beyond them would be lost on saving, so it is refused whole as well.
    if (st.PictureOverlayCount + int(plan.overlays.size()) > sidecar::MaxPictureRecords) return;

    History::Step step(editor_.history);  // the whole group is one step
    st.OverlayInsertX = Integer(x);
    st.OverlayInsertY = Integer(y);
    for (const GraceOverlay& o : plan.overlays) {
        // The first entry of that name is chosen, which loads it into the
        // preview; without one the preview keeps the picture it holds.
        for (int i = 0; i < c.File1->count(); ++i) {
            if (c.File1->item(i)->text() == o.file) {
                c.File1->setCurrentRow(i);
                File1_Click();
                break;
            }
        }
        ChangeOverlay(overlays_->Ima[size_t(st.PictureOverlayCount)], [&] {
            overlays_->PlacePicture(st.PictureOverlayCount, o.Left, o.Top, c.Image2->pixmap(),
                                    QString::number(c.File1->currentRow()));
        });
        ++st.PictureOverlayCount;
    }
}

}  // namespace qn
