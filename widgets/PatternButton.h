#pragma once
// A graphical option button `Option1`(i): shows its picture and looks pressed
// while selected.

#include <QAbstractButton>
#include <QPixmap>

namespace qn {

class PatternButton : public QAbstractButton {
    Q_OBJECT
public:
    PatternButton(const QPixmap& picture, QWidget* parent = nullptr);
    QSize sizeHint() const override { return {33, 33}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture_;
};

}  // namespace qn
