#pragma once
// `Form2`: the see-through outline that follows the mouse while the title is
// dragged. A blue outer and a white inner rectangle; everything else shows
// what lies below. A window mask makes it see-through on any X server, with
// or without a compositor.

#include <QWidget>

namespace qn {

class OutlineWindow : public QWidget {
    Q_OBJECT
public:
    OutlineWindow();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
};

}  // namespace qn
