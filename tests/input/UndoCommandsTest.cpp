// Single commands undone and redone: the caret and the rhythm bookkeeping after
// the undo and after the redo, and the page as before and after the command.
#include <gtest/gtest.h>

#include <vector>

#include "TestWindow.h"

using namespace qn;
using qn::test::TestWindow;

namespace {

struct Fields {
    Single left, top;
    Integer spacingClass, pendingBeamGap, lastCellWidth, lastBeamCount, barsInLine;
    Long barUnits;
    Integer noteValue;
};

Fields fieldsOf(const Editor& ed) {
    const EditorState& s = ed.st;
    return {ed.caret.Left,    ed.caret.Top,     s.SpacingClass, s.PendingBeamGap, s.LastCellWidth,
            s.LastBeamCount,  s.BarsInLine,     s.BarUnits,     s.NoteValue};
}

void expectFields(const Fields& got, const Fields& want, const std::string& where) {
    EXPECT_EQ(got.left, want.left) << where << ": caret left";
    EXPECT_EQ(got.top, want.top) << where << ": caret top";
    EXPECT_EQ(got.spacingClass, want.spacingClass) << where << ": SpacingClass";
    EXPECT_EQ(got.pendingBeamGap, want.pendingBeamGap) << where << ": PendingBeamGap";
    EXPECT_EQ(got.lastCellWidth, want.lastCellWidth) << where << ": LastCellWidth";
    EXPECT_EQ(got.lastBeamCount, want.lastBeamCount) << where << ": LastBeamCount";
    EXPECT_EQ(got.barsInLine, want.barsInLine) << where << ": BarsInLine";
    EXPECT_EQ(got.barUnits, want.barUnits) << where << ": BarUnits";
    EXPECT_EQ(got.noteValue, want.noteValue) << where << ": NoteValue";
}

std::vector<Integer> repeat(Integer key, int n) { return std::vector<Integer>(size_t(n), key); }

}  // namespace

TEST(UndoCommands, StateAfterUndoAndRedo) {
    struct Case {
        const char* name;
        std::vector<Integer> setup;
        Integer key;
        int barsPerLine;
        bool steps;  // false: the key is no step, and the undo takes back the one before
        Fields afterUndo, afterRedo;
    } cases[] = {
        // Fields: left, top, SpacingClass, PendingBeamGap, LastCellWidth, LastBeamCount, BarsInLine, BarUnits, NoteValue
        {"second quarter note, after its spacing", {49}, 49, 8, true,
         {32, 96, 0, 0, 0, 0, 0, 8, 0}, {50, 96, 0, 0, 0, 0, 0, 16, 0}},
        {"the note that fills the bar, with its bar line", {49, 50, 51}, 52, 8, true,
         {68, 96, 0, 0, 0, 0, 0, 24, 0}, {98, 96, 5, 0, 0, 0, 1, 0, 0}},
        {"eighth note bridging the beam under a dot", {34, 49, 190}, 50, 8, true,
         {44, 96, 1, 12, 0, 2, 0, 6, 1}, {62, 96, 1, 0, 0, 1, 0, 10, 1}},
        {"backspace in insert mode", {49, 50}, 8, 8, true,
         {50, 96, 0, 0, 0, 0, 0, 16, 0}, {38, 96, 5, 0, 2, 0, 0, 0, 0}},
        {"backspace in overwrite mode", {45, 49, 50}, 8, 8, true,
         {50, 96, 0, 0, 0, 0, 0, 16, 0}, {38, 96, 5, 0, 2, 0, 0, 0, 0}},
        {"the note closing the line: bar line, line break, justification", repeat(49, 23), 49, 6, true,
         {458, 96, 0, 0, 0, 0, 5, 24, 0}, {20, 156, 5, 0, 2, 0, 0, 0, 0}},
        {"Enter justifying six bars", repeat(49, 24), 13, 8, true,
         {488, 96, 5, 0, 0, 0, 6, 0, 0}, {20, 156, 5, 0, 2, 0, 0, 0, 0}},
        {"an arrow is no step", {49, 50}, 39, 8, false,
         {32, 96, 0, 0, 0, 0, 0, 8, 0}, {50, 96, 0, 0, 0, 0, 0, 16, 0}},
    };
    for (const Case& c : cases) {
        TestWindow w;
        w.check11 = true;
        w.barsPerLine = c.barsPerLine;
        Editor& ed = w.ed;
        QImage beforeStep = ed.page.image(), afterStep;
        for (Integer k : c.setup) {
            const QImage page = ed.page.image();
            const int count = ed.history.count();
            w.press(k);
            if (ed.history.count() > count) beforeStep = page;
        }
        const int count = ed.history.count();
        const QImage page = ed.page.image();
        w.press(c.key);
        ASSERT_EQ(ed.history.count(), count + (c.steps ? 1 : 0)) << c.name;
        if (c.steps) beforeStep = page;
        afterStep = c.steps ? ed.page.image() : page;
        if (c.steps) {
            ASSERT_NE(afterStep, beforeStep) << c.name << ": the command changed the page";
        }

        ASSERT_TRUE(ed.history.undo()) << c.name;
        expectFields(fieldsOf(ed), c.afterUndo, std::string(c.name) + ", undone");
        EXPECT_EQ(ed.page.image(), beforeStep) << c.name << ", undone";
        ASSERT_TRUE(ed.history.redo()) << c.name;
        expectFields(fieldsOf(ed), c.afterRedo, std::string(c.name) + ", redone");
        EXPECT_EQ(ed.page.image(), afterStep) << c.name << ", redone";
    }
}
