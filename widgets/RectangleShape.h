#pragma once
// A rectangle shape lying on the page canvas (the eraser square, the selection
// rectangle, the slur marker): an outline only, the page shows through, and
// presses pass through it to the canvas beneath.

#include <QColor>
#include <QWidget>

namespace qn {

class RectangleShape : public QWidget {
    Q_OBJECT
public:
    enum class Look { Plain, Dashed, Hatched };

    RectangleShape(const QColor& colour, Look look, QWidget* parent = nullptr);

    void setLook(Look look);
    Look look() const { return look_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor colour_;
    Look look_;
};

}  // namespace qn
