#pragma once
// The lyrics box `Textgc`: a one-line edit lying on the page canvas. Every key
// typed into it stays in it; none travels on to the canvas, Return included.

#include <QLineEdit>
#include <functional>

namespace qn {

class LyricsBox : public QLineEdit {
    Q_OBJECT
public:
    explicit LyricsBox(QWidget* parent = nullptr) : QLineEdit(parent) {}

    // Asked first for every key press; true when the key was taken (Enter).
    std::function<bool(QKeyEvent*)> onKeyDown;
    // The focus went to another control of the window.
    std::function<void()> onLostFocus;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

}  // namespace qn
