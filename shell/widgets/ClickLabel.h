#pragma once
// A label that reports mouse presses and clicks, as the window's labels need
// (`Label6_MouseDown`, `Label5_Click`, ...).

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

signals:
    void pressed(Qt::MouseButton button);
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace qn
