#pragma once
// The staff panel `Picture3`: the treble and bass staves, the transparent mouse
// area `Label10` above them, the preview note `Image3`, the close button, the
// accidental and dot selectors and the time zones. Widgets only; what the
// pointer and the clicks mean is StaffInput's business.

#include <QWidget>
#include <array>

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;

namespace qn {

class ClickLabel;

// `Label10`: sees the pointer over the whole panel and draws nothing.
class StaffMouseArea : public QWidget {
    Q_OBJECT
public:
    explicit StaffMouseArea(QWidget* parent = nullptr);

signals:
    void moved(QPoint pos);
    void pressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};

struct StaffPanel {
    QFrame* Picture3 = nullptr;
    std::array<QLabel*, 2> Image1{};  // treble, bass
    QLabel* Image3 = nullptr;         // preview note
    StaffMouseArea* Label10 = nullptr;
    ClickLabel* Label12 = nullptr;    // accidental selector, Tag "0".."3"
    ClickLabel* Label13 = nullptr;    // dot selector
    QLabel* Label9 = nullptr;         // names of the time zones
    std::array<QFrame*, 3> Line5{};   // zone dividers at x 224, 176, 128
    QCheckBox* Check7 = nullptr;      // "划分时间"
    QPushButton* Command13 = nullptr; // "X"
};

// Builds the panel, hidden, as a child of the window.
StaffPanel BuildStaffPanel(QWidget* window);

}  // namespace qn
