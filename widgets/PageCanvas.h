#pragma once
// The page canvas `Picture1`: shows the core's page bitmap, the guide lines
// `Line2`, the right-margin line `Line3` and the caret `Imapnt`. It paints straight from the page's storage and
// keeps no copy of it: a copy would make the core's next write detach the
// whole page.

#include <QPixmap>
#include <QWidget>
#include <functional>
#include <vector>

namespace qn {

class Page;
struct Caret;

class PageCanvas : public QWidget {
    Q_OBJECT
public:
    PageCanvas(const Page& page, const Caret& caret, QWidget* parent = nullptr);

    void setGuideLines(std::vector<QLine> lines);
    void setGuideLinesVisible(bool visible);
    const std::vector<QLine>& guideLines() const { return guideLines_; }
    bool guideLinesVisible() const { return guideLinesVisible_; }

    // `Line3`: a vertical line over the whole page at x, where justified line
    // breaks end. Drawn by the canvas only, so no export shows it.
    void setMarginLine(int x);
    int marginLineX() const { return marginLineX_; }

    void setCaretPicture(const QPixmap& picture);
    const QPixmap& caretPicture() const { return caretPicture_; }
    // Schedules a repaint of the caret where it is and where it was last drawn.
    void updateCaret();

    std::function<void(QKeyEvent*)> onKeyPress;
    std::function<void(QKeyEvent*)> onKeyRelease;
    // Mouse events in page pixels (the canvas lies at page coordinates). Moves
    // come with or without a button held; onClick follows the release of a left
    // press that ends over the canvas.
    std::function<void(QMouseEvent*)> onMousePress;
    std::function<void(QMouseEvent*)> onMouseMove;
    std::function<void(QMouseEvent*)> onMouseRelease;
    std::function<void()> onClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // Tab is a key like any other here, not a focus move.
    bool focusNextPrevChild(bool) override { return false; }

private:
    QRect caretRect() const;

    const Page& page_;
    const Caret& caret_;
    std::vector<QLine> guideLines_;
    bool guideLinesVisible_ = false;
    int marginLineX_ = -1;
    QPixmap caretPicture_;
    QRect lastCaretRect_;
    bool leftPressed_ = false;  // a left press on the canvas waits for its release
};

}  // namespace qn
