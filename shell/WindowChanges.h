#pragma once
// The window's own changes as undo commands, for the editor's History: a header
// label's text, an overlay's look (created, moved, hidden) and a layout slider.
// Each is added after the change is done; undo and redo set the widgets back.

#include <QPixmap>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QUndoCommand>
#include <functional>

class QScrollBar;

namespace qn {

class ClickLabel;

// A header label's text. Labels that fit their text are resized to it; relayout
// places those whose place follows from their size (credits, page number).
class LabelChange : public QUndoCommand {
public:
    LabelChange(ClickLabel* label, const QString& before, const QString& after, bool fitText,
                std::function<void()> relayout);
    void undo() override { show(before_); }
    void redo() override { show(after_); }

private:
    void show(const QString& text);
    QPointer<ClickLabel> label_;
    QString before_, after_;
    bool fit_;
    std::function<void()> relayout_;
};

// What an overlay shows and where.
struct OverlayLook {
    bool shown = false;
    QRect geometry;
    QString text;
    QPixmap picture;
    QString tag;

    static OverlayLook Of(const ClickLabel* w);
    void ApplyTo(ClickLabel* w) const;
    bool operator==(const OverlayLook& o) const;
    bool operator!=(const OverlayLook& o) const { return !(*this == o); }
};

// An overlay created, moved or hidden. Moves of one overlay in a row merge.
class OverlayChange : public QUndoCommand {
public:
    OverlayChange(ClickLabel* overlay, const OverlayLook& before, const OverlayLook& after);
    void undo() override;
    void redo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand* other) override;

    static constexpr int MoveId = 1001;

private:
    QPointer<ClickLabel> overlay_;
    OverlayLook before_, after_;
};

// A layout slider's value: setting it runs its handler, which lays the page out again.
class SliderChange : public QUndoCommand {
public:
    SliderChange(QScrollBar* slider, int before, int after);
    void undo() override;
    void redo() override;

private:
    QPointer<QScrollBar> slider_;
    int before_, after_;
};

}  // namespace qn
