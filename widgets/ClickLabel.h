#pragma once
// A label that reports mouse presses and clicks, as the window's labels need
// (`Label6_MouseDown`, `Label5_Click`, `Label1_MouseMove`, ...).

#include <QLabel>

namespace qn {

class ClickLabel : public QLabel {
    Q_OBJECT
public:
    // Texts are shown as typed: "< p >" is a page-number style, not markup.
    explicit ClickLabel(const QString& text, QWidget* parent = nullptr) : QLabel(parent) {
        setTextFormat(Qt::PlainText);
        setText(text);
    }

    QString Tag;  // the control's tag: an overlay keeps the number of its phrase or picture here

    // A text label is as large as its text and draws it as the exported page does.
    QSize sizeHint() const override;

signals:
    void pressed(Qt::MouseButton button);
    void clicked();
    void released();
    void doubleClicked();
    // Positions inside the label and on the screen.
    void pressedAt(Qt::MouseButton button, QPoint pos, QPoint globalPos);
    void movedAt(Qt::MouseButtons buttons, QPoint pos, QPoint globalPos);
    void releasedAt(Qt::MouseButton button, QPoint pos, QPoint globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

}  // namespace qn
