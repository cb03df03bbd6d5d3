// Undo and redo through the key handler: random sessions of every kind of key,
// Enter with justification, backspace in insert and overwrite mode. After every
// key the whole history is undone (the empty page and the state before the
// first step come back) and redone (the page and state after the last step),
// pixel for pixel and field for field.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <sstream>

#include "TestWindow.h"

using namespace qn;
using qn::test::TestWindow;

namespace qn {
// Failure messages name the fields.
void PrintTo(const EditSnapshot& s, std::ostream* os) {
    *os << "caret (" << s.caretLeft << ", " << s.caretTop << ") picture " << s.caretPicture
        << ", NoteValue " << s.NoteValue << ", SpacingClass " << s.SpacingClass << ", PendingBeamGap "
        << s.PendingBeamGap << ", LastCellWidth " << s.LastCellWidth << ", LastBeamCount " << s.LastBeamCount
        << ", BarsInLine " << s.BarsInLine << ", BarUnits " << s.BarUnits << ", BeatsPerBar " << s.BeatsPerBar
        << ", overlays " << s.TextOverlayCount << "/" << s.PictureOverlayCount << ", PageNumber "
        << s.PageNumber;
}
}  // namespace qn

namespace {

// Empty when the page equals the picture; else the size or the first differing pixel.
std::string pageDiff(const Page& page, const QImage& want) {
    if (page.width() != want.width() || page.height() != want.height()) return "page size differs";
    for (int y = 0; y < want.height(); ++y) {
        const auto* got = reinterpret_cast<const QRgb*>(page.storage().constScanLine(y));
        const auto* exp = reinterpret_cast<const QRgb*>(want.constScanLine(y));
        if (std::memcmp(got, exp, size_t(want.width()) * 4) == 0) continue;
        for (int x = 0; x < want.width(); ++x)
            if (got[x] != exp[x]) {
                std::ostringstream s;
                s << "first differing pixel (" << x << ", " << y << ")";
                return s.str();
            }
    }
    return {};
}

EditSnapshot snapshot(const Editor& ed) { return EditSnapshot::Take(ed.st, ed.caret); }

// Copies the page into a picture, reusing the picture's memory when it can.
void keep(const Page& page, QImage& into) {
    if (into.size() != QSize(page.width(), page.height()) || into.format() != QImage::Format_RGB32) {
        into = page.image();
        return;
    }
    for (int y = 0; y < page.height(); ++y)
        std::memcpy(into.scanLine(y), page.storage().constScanLine(y), size_t(page.width()) * 4);
}

// Keys of every kind: notes in all octaves, percussion, dash, ornaments, bar
// lines and repeats, dots, accidentals, brackets, blanks, backspace, Enter,
// note values, arrows, Insert (backspace in both modes) and S (half width).
const Integer kKeys[] = {49, 50, 51, 52, 53, 54, 55, 49, 50, 51, 81, 87, 69, 82, 112, 123, 90, 189, 192,
                         65, 72, 219, 221, 220, 222, 190, 190, 78, 77, 188, 32, 57, 48, 8, 8, 8, 8, 13,
                         27, 33, 34, 96, 97, 98, 99, 37, 38, 39, 40, 45, 45, 83};

// A session of random keys on a window that justifies on Enter. When the page
// is full the caret goes back to the top, so later keys insert into written lines.
struct Session {
    explicit Session(unsigned seed, bool beatDivision) : rng(seed) {
        w.check11 = true;
        w.check8 = beatDivision;
        w.check5[2] = w.check5[3] = true;
        empty = w.ed.page.image();
    }
    // Presses one key; true when it recorded a step.
    bool press() {
        Editor& ed = w.ed;
        key = kKeys[rng() % (sizeof kKeys / sizeof kKeys[0])];
        const EditSnapshot pre = snapshot(ed);
        const int count = ed.history.count();
        w.press(key);
        const bool stepped = ed.history.count() != count;
        if (stepped) {
            EXPECT_EQ(ed.history.count(), count + 1) << "one key, one step";
            if (count == 0) first = pre;
            last = snapshot(ed);
        }
        if (ed.caret.Top > 700) ed.caret.Top = 96;
        return stepped;
    }
    // Undoes the whole history and redoes it, comparing with the empty page and
    // the state before the first step, then with the page and state of now.
    void undoAllRedoAll(int i, unsigned seed) {
        Editor& ed = w.ed;
        keep(ed.page, final);
        const EditorState liveState = ed.st;
        const Caret liveCaret = ed.caret;
        while (ed.history.undo()) {
        }
        ASSERT_EQ(ed.history.index(), 0);
        ASSERT_EQ(pageDiff(ed.page, empty), "") << "undo all after key " << i << " (" << key << "), seed " << seed;
        ASSERT_EQ(snapshot(ed), first) << "undo all after key " << i << ", seed " << seed;
        while (ed.history.redo()) {
        }
        ASSERT_EQ(ed.history.index(), ed.history.count());
        ASSERT_EQ(pageDiff(ed.page, final), "") << "redo all after key " << i << " (" << key << "), seed " << seed;
        ASSERT_EQ(snapshot(ed), last) << "redo all after key " << i << ", seed " << seed;
        // Caret moves and mode keys since the last step are no steps: the session goes on from them.
        ed.st = liveState;
        ed.caret = liveCaret;
    }

    TestWindow w;
    std::mt19937 rng;
    QImage empty, final;
    Integer key = 0;
    EditSnapshot first, last;
};

}  // namespace

// After every key of the session: undo all the way, redo all the way.
TEST(UndoProperty, UndoAllAndRedoAllAfterEveryKey) {
    for (auto [seed, beatDivision] : {std::pair{101u, false}, std::pair{202u, true}}) {
        Session s(seed, beatDivision);
        for (int i = 0; i < 800; ++i) {
            s.press();
            if (s.w.ed.history.count() == 0) continue;
            s.undoAllRedoAll(i, seed);
            if (::testing::Test::HasFatalFailure()) return;
        }
        EXPECT_GT(s.w.ed.history.count(), 300) << "the session recorded its changes";
    }
}

// A longer session: after every key its step alone is undone and redone (the
// page and state before the key, then after it); the whole history every 250
// keys and at the end.
TEST(UndoProperty, LongSessionUndoesEveryStepAndAllSteps) {
    const unsigned seed = 303;
    Session s(seed, true);
    Editor& ed = s.w.ed;
    const int keys = 3000;
    QImage beforePage, afterPage;
    for (int i = 0; i < keys; ++i) {
        keep(ed.page, beforePage);
        const EditSnapshot before = snapshot(ed);
        if (s.press()) {
            keep(ed.page, afterPage);
            const EditorState liveState = ed.st;
            const Caret liveCaret = ed.caret;
            ASSERT_TRUE(ed.history.undo());
            ASSERT_EQ(pageDiff(ed.page, beforePage), "") << "undo of key " << i << " (" << s.key << ")";
            ASSERT_EQ(snapshot(ed), before) << "undo of key " << i << " (" << s.key << ")";
            ASSERT_TRUE(ed.history.redo());
            ASSERT_EQ(pageDiff(ed.page, afterPage), "") << "redo of key " << i << " (" << s.key << ")";
            ASSERT_EQ(snapshot(ed), s.last) << "redo of key " << i << " (" << s.key << ")";
            ed.st = liveState;
            ed.caret = liveCaret;
        }
        if ((i % 250 == 249 || i == keys - 1) && ed.history.count() > 0) {
            s.undoAllRedoAll(i, seed);
            if (::testing::Test::HasFatalFailure()) return;
        }
    }
    EXPECT_GT(ed.history.count(), 1200);
}

