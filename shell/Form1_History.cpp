// Form1: undo and redo. The editor's History holds the steps; the window binds
// the shortcuts and shows again what a step put back.
#include "Form1_Controls.h"

namespace qn {

void Form1::Undo() {
    editor_.history.undo();
    FocusPage();
}

void Form1::Redo() {
    editor_.history.redo();
    FocusPage();
}

void Form1::StateRestored() {
    Controls& c = *ui;
    const EditorState& st = editor_.st;
    SetOption1Value(st.NoteValue);
    const int picture = editor_.caret.Picture;
    if (picture != caretShown_) {
        if (picture >= 0 && picture <= 3) {
            LoadCaretPicture(Integer(picture));
        } else {
            if (builtinCaret_.isNull()) builtinCaret_ = QPixmap(QStringLiteral(":/pictures/caret_builtin.png"));
            c.Picture1->setCaretPicture(builtinCaret_);
            caretShown_ = -1;
        }
    }
    // The toolbar's time signature shows the one typing goes on with.
    const std::pair<int, Integer> typing[] = {{7, st.BeatsPerBar}, {6, st.BeatUnit}};
    for (auto [list, value] : typing) {
        const QString text = QString::number(value);
        if (c.Label2[list]->text() == text) continue;
        const int entry = c.Combo1[list]->findText(text);
        if (entry >= 0) c.Combo1[list]->setCurrentIndex(entry);
        c.Label2[list]->setText(text);
        c.Label2[list]->adjustSize();
    }
    RestartBlink();
    c.Picture1->update();
}

}  // namespace qn
