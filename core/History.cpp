#include "History.h"

#include <QtGlobal>

#include "Editor.h"

namespace qn {

// ---- EditSnapshot

EditSnapshot EditSnapshot::Take(const EditorState& st, const Caret& caret) {
    EditSnapshot s;
    s.caretLeft = caret.Left;
    s.caretTop = caret.Top;
    s.caretPicture = caret.Picture;
    s.NoteValue = st.NoteValue;
    s.SpacingClass = st.SpacingClass;
    s.PendingBeamGap = st.PendingBeamGap;
    s.LastCellWidth = st.LastCellWidth;
    s.LastBeamCount = st.LastBeamCount;
    s.BarsInLine = st.BarsInLine;
    s.BarUnits = st.BarUnits;
    s.BeatsPerBar = st.BeatsPerBar;
    s.BeatUnit = st.BeatUnit;
    s.TextOverlayCount = st.TextOverlayCount;
    s.PictureOverlayCount = st.PictureOverlayCount;
    s.PageNumber = st.PageNumber;
    return s;
}

void EditSnapshot::RestoreTo(EditorState& st, Caret& caret) const {
    caret.Left = caretLeft;
    caret.Top = caretTop;
    caret.Picture = caretPicture;
    st.NoteValue = NoteValue;
    st.SpacingClass = SpacingClass;
    st.PendingBeamGap = PendingBeamGap;
    st.LastCellWidth = LastCellWidth;
    st.LastBeamCount = LastBeamCount;
    st.BarsInLine = BarsInLine;
    st.BarUnits = BarUnits;
    st.BeatsPerBar = BeatsPerBar;
    st.BeatUnit = BeatUnit;
    st.TextOverlayCount = TextOverlayCount;
    st.PictureOverlayCount = PictureOverlayCount;
    st.PageNumber = PageNumber;
}

bool EditSnapshot::documentDiffers(const EditSnapshot& o) const {
    return TextOverlayCount != o.TextOverlayCount || PictureOverlayCount != o.PictureOverlayCount ||
           PageNumber != o.PageNumber;
}

bool EditSnapshot::operator==(const EditSnapshot& o) const {
    return caretLeft == o.caretLeft && caretTop == o.caretTop && caretPicture == o.caretPicture &&
           NoteValue == o.NoteValue && SpacingClass == o.SpacingClass && PendingBeamGap == o.PendingBeamGap &&
           LastCellWidth == o.LastCellWidth && LastBeamCount == o.LastBeamCount && BarsInLine == o.BarsInLine &&
           BarUnits == o.BarUnits && BeatsPerBar == o.BeatsPerBar &&
           BeatUnit == o.BeatUnit && !documentDiffers(o);
}

// ---- One step on the stack

class History::EditStep : public QUndoCommand {
public:
    EditStep(History& h, const QString& text, PageDelta page, const EditSnapshot& before,
             const EditSnapshot& after, std::vector<std::unique_ptr<QUndoCommand>> parts)
        : QUndoCommand(text), h_(h), page_(std::move(page)), before_(before), after_(after),
          parts_(std::move(parts)) {}

    void undo() override {
        for (auto it = parts_.rbegin(); it != parts_.rend(); ++it) (*it)->undo();
        Editor& ed = h_.ed_;
        if (!page_.isEmpty()) ed.page.restore(page_, false);
        before_.RestoreTo(ed.st, ed.caret);
    }

    void redo() override {
        if (!done_) {  // push() redoes; the action itself did it already
            done_ = true;
            return;
        }
        Editor& ed = h_.ed_;
        if (!page_.isEmpty()) ed.page.restore(page_, true);
        for (auto& part : parts_) part->redo();
        after_.RestoreTo(ed.st, ed.caret);
    }

    // A step that is one window change and nothing else merges as that change
    // does (a run of arrow presses moving one overlay is one step).
    int id() const override {
        return page_.isEmpty() && parts_.size() == 1 && !before_.documentDiffers(after_) ? parts_[0]->id() : -1;
    }

    bool mergeWith(const QUndoCommand* other) override {
        const auto* o = static_cast<const EditStep*>(other);
        if (o->id() != id() || id() == -1) return false;
        if (!parts_[0]->mergeWith(o->parts_[0].get())) return false;
        after_ = o->after_;
        setObsolete(parts_[0]->isObsolete() && before_ == after_);
        return true;
    }

    size_t pageBytes() const { return page_.bytes(); }

private:
    History& h_;
    PageDelta page_;
    EditSnapshot before_, after_;
    std::vector<std::unique_ptr<QUndoCommand>> parts_;
    bool done_ = false;
};

// ---- History

History::History(Editor& editor) : ed_(editor) {}

History::~History() = default;

void History::begin(const QString& text) {
    if (applying_) {
        ++muted_;
        return;
    }
    if (depth_++ > 0) return;
    text_ = text;
    before_ = EditSnapshot::Take(ed_.st, ed_.caret);
    parts_.clear();
    ed_.page.beginRecording();
}

void History::end() {
    if (muted_ > 0) {
        --muted_;
        return;
    }
    if (depth_ == 0 || --depth_ > 0) return;
    PageDelta page = ed_.page.endRecording();
    const EditSnapshot after = EditSnapshot::Take(ed_.st, ed_.caret);
    if (page.isEmpty() && parts_.empty() && !before_.documentDiffers(after)) return;
    dropIfPageChangedOutside();
    stack_.push(new EditStep(*this, text_, std::move(page), before_, after, std::move(parts_)));
    parts_.clear();
}

void History::add(std::unique_ptr<QUndoCommand> change) {
    if (applying_ || !change) return;
    if (depth_ == 0) {
        Step step(*this, change->text());
        parts_.push_back(std::move(change));
        return;
    }
    parts_.push_back(std::move(change));
}

bool History::dropIfPageChangedOutside() {
    if (ed_.page.unrecordedChanges() == unrecordedSeen_) return false;
    unrecordedSeen_ = ed_.page.unrecordedChanges();
    if (stack_.count() == 0) return false;
    qWarning("History: the page changed outside an undo step; the earlier steps are dropped");
    stack_.clear();
    return true;
}

bool History::move(bool forward) {
    // An unfinished step (a stroke whose release never came) ends here.
    if (depth_ > 0) {
        depth_ = 1;
        end();
    }
    if (dropIfPageChangedOutside()) return false;
    if (forward ? !stack_.canRedo() : !stack_.canUndo()) return false;
    applying_ = true;
    // What the window does to the page while a step is put back (a slider
    // laying the page out again) is part of putting it back, not a change.
    ed_.page.beginRecording();
    if (forward)
        stack_.redo();
    else
        stack_.undo();
    ed_.page.endRecording();
    applying_ = false;
    muted_ = 0;
    ed_.view().StateRestored();
    return true;
}

bool History::undo() { return move(false); }
bool History::redo() { return move(true); }

void History::clear() {
    stack_.clear();
    unrecordedSeen_ = ed_.page.unrecordedChanges();
    if (depth_ > 0) {
        // The open step starts again from here.
        before_ = EditSnapshot::Take(ed_.st, ed_.caret);
        parts_.clear();
        ed_.page.endRecording();
        ed_.page.beginRecording();
    }
}

size_t History::pageBytes() const {
    size_t n = 0;
    for (int i = 0; i < stack_.count(); ++i) n += static_cast<const EditStep*>(stack_.command(i))->pageBytes();
    return n;
}

}  // namespace qn
