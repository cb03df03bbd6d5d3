#pragma once
// Undo and redo: one step per user action, on Qt's QUndoStack.
//
// A step holds what the action changed on the page (PageDelta: the changed
// pixels before and after), the editing state before and after (EditSnapshot),
// and the changes of the window it reported (overlays, header labels, layout
// sliders) as QUndoCommands. Steps opened while one is open fold into it, so a
// key whose note closes the bar, breaks the line and justifies it is one step.
//
// Recording a handler's change is one line at its top:
//     History::Step step(editor.history);
// A gesture that spans several events (an eraser stroke from press to release)
// calls history.begin() at the press and history.end() at the release.
// Every page writer must run inside a step: a page change made outside one
// leaves the older steps unsafe to apply, so the history is dropped.

#include <QString>
#include <QUndoCommand>
#include <QUndoStack>
#include <memory>
#include <vector>

#include "EditorState.h"
#include "PageDelta.h"

namespace qn {

class Editor;

// The state an undo step puts back with the pixels: the caret and what decides
// what the next key does, and the document's own counts. Switches shown on the
// toolbar (insert, half width, chord input), options, selection, held keys and
// the document path are not part of it.
struct EditSnapshot {
    Single caretLeft = 0, caretTop = 0;
    int caretPicture = -1;
    Integer NoteValue = 0, SpacingClass = 0, PendingBeamGap = 0, LastCellWidth = 0, LastBeamCount = 0,
            BarsInLine = 0;
    Long BarUnits = 0;
    Integer BeatsPerBar = 0, BeatUnit = 0;
    Integer TextOverlayCount = 0, PictureOverlayCount = 0, PageNumber = 0;

    static EditSnapshot Take(const EditorState& st, const Caret& caret);
    void RestoreTo(EditorState& st, Caret& caret) const;
    // The fields saved with the document differ.
    bool documentDiffers(const EditSnapshot& other) const;
    bool operator==(const EditSnapshot& other) const;
    bool operator!=(const EditSnapshot& other) const { return !(*this == other); }
};

class History {
public:
    explicit History(Editor& editor);
    ~History();
    History(const History&) = delete;
    History& operator=(const History&) = delete;

    // ---- Recording
    void begin(const QString& text = QString());
    // Closes the outermost step: it is kept when it changed the page, the
    // document's counts or added window changes; otherwise it is dropped.
    void end();
    bool isOpen() const { return depth_ > 0; }

    class Step {
    public:
        explicit Step(History& history, const QString& text = QString()) : h_(history) { h_.begin(text); }
        ~Step() { h_.end(); }
        Step(const Step&) = delete;
        Step& operator=(const Step&) = delete;

    private:
        History& h_;
    };

    // A change of the window, already done: undone and redone with the open
    // step (or, with none open, as a step of its own). Its redo() runs only when
    // the step is redone. Ignored while an undo or redo is being applied.
    void add(std::unique_ptr<QUndoCommand> change);
    // True while an undo or redo is put back: handlers that run because a
    // command set a control record nothing then.
    bool isApplying() const { return applying_; }

    // ---- Moving through the history (an open step is closed first)
    bool undo();  // false when there is nothing to undo
    bool redo();
    bool canUndo() const { return stack_.canUndo(); }
    bool canRedo() const { return stack_.canRedo(); }
    int count() const { return stack_.count(); }
    int index() const { return stack_.index(); }

    // A fresh history ("新建", "打开"); it is the clean state.
    void clear();
    // The document was saved: this point of the history is the clean state.
    void setClean() { stack_.setClean(); }
    bool isClean() const { return stack_.isClean(); }

    QUndoStack& stack() { return stack_; }
    // Heap bytes of the kept steps' pixels (PageDelta::bytes), for the figures.
    size_t pageBytes() const;

private:
    class EditStep;
    bool dropIfPageChangedOutside();
    bool move(bool forward);

    Editor& ed_;
    QUndoStack stack_;
    int depth_ = 0;
    int muted_ = 0;  // steps begun while applying: they record nothing
    bool applying_ = false;
    quint64 unrecordedSeen_ = 0;
    // The open step.
    QString text_;
    EditSnapshot before_;
    std::vector<std::unique_ptr<QUndoCommand>> parts_;
};

}  // namespace qn
