// Undo in the core: the page's recording of what its writers change (random
// writes on a small page, exact before and after), and the History's steps:
// folding, dropping, window changes, merging, the clean state and the guard
// against page changes made outside a step.
#include <gtest/gtest.h>

#include <random>

#include "Fixtures.h"
#include "History.h"

using namespace qn;
using qn::test::allWhite;
using qn::test::blackRect;
using qn::test::EditorFixture;

namespace {

QImage randomPicture(std::mt19937& rng, int w, int h) {
    // Mostly white and black, as on a page, with other colours for the literal runs.
    const QRgb colours[] = {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFF000000u, 0xFF000000u, 0xFFFF0000u, 0xFF123456u};
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, colours[rng() % 6]);
    return img;
}

int pick(std::mt19937& rng, int lo, int hi) { return lo + int(rng() % unsigned(hi - lo + 1)); }

QRect changedPixels(const QImage& a, const QImage& b) {
    QRect r;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) r |= QRect(x, y, 1, 1);
    return r;
}

// A window change for the tests: sets an int; merges with a following change of
// the same id, and is obsolete once it leads back to where it started.
struct SetInt : QUndoCommand {
    SetInt(int& v, int from, int to, int mergeId = -1) : v(v), from(from), to(to), mergeId(mergeId) {}
    void undo() override { v = from; }
    void redo() override {
        v = to;
        ++redos;
    }
    int id() const override { return mergeId; }
    bool mergeWith(const QUndoCommand* other) override {
        to = static_cast<const SetInt*>(other)->to;
        setObsolete(to == from);
        return true;
    }
    int& v;
    int from, to, mergeId;
    static inline int redos = 0;
};

// The page's writers done the plain way, pixel by pixel: what the page must
// hold after each of them, however it records or skips work.
struct PlainPage {
    QImage img;
    void resize(int w, int h) {
        QImage bigger(std::max(w, 1), std::max(h, 1), QImage::Format_RGB32);
        bigger.fill(Qt::white);
        for (int y = 0; y < std::min(bigger.height(), img.height()); ++y)
            for (int x = 0; x < std::min(bigger.width(), img.width()); ++x) bigger.setPixel(x, y, img.pixel(x, y));
        img = bigger;
    }
    void paintPicture(const QImage& src, const QRect& r, int dx, int dy) {
        const QRect s = r.intersected(src.rect());
        for (int y = s.top(); y <= s.bottom(); ++y)
            for (int x = s.left(); x <= s.right(); ++x)
                if (img.rect().contains(dx + x - r.x(), dy + y - r.y()))
                    img.setPixel(dx + x - r.x(), dy + y - r.y(), src.pixel(x, y) | 0xFF000000u);
    }
    void bitBlt(const QRect& r, int dstX, int dstY) {
        const QImage was = img;
        const QRect s = r.intersected(img.rect());
        for (int y = s.top(); y <= s.bottom(); ++y)
            for (int x = s.left(); x <= s.right(); ++x)
                if (img.rect().contains(x + dstX - r.x(), y + dstY - r.y()))
                    img.setPixel(x + dstX - r.x(), y + dstY - r.y(), was.pixel(x, y));
    }
    void fillWhite(const QRect& r) {
        const QRect c = r.intersected(img.rect());
        for (int y = c.top(); y <= c.bottom(); ++y)
            for (int x = c.left(); x <= c.right(); ++x) img.setPixel(x, y, 0xFFFFFFFFu);
    }
};

}  // namespace

TEST(PageRecording, RandomWritesComeBackExactlyBeforeAndAfter) {
    std::mt19937 rng(17);
    for (int trial = 0; trial < 400; ++trial) {
        Page p(pick(rng, 20, 50), pick(rng, 6, 16));
        // Ink only in a left part sometimes, so white slides over white too.
        const int inked = rng() % 2 ? 50 : pick(rng, 1, 20);
        p.paintPicture(randomPicture(rng, 50, 16), QRect(0, 0, inked, 16), 0, 0);
        PlainPage plain{p.image()};
        const QImage start = p.image();
        p.beginRecording();
        const int ops = pick(rng, 1, 8);
        for (int k = 0; k < ops; ++k) {
            const int W = p.width(), H = p.height();
            switch (rng() % 6) {
            case 0:
            case 1: {
                const QImage src = randomPicture(rng, pick(rng, 1, 14), pick(rng, 1, 8));
                const QRect r(pick(rng, -2, 4), pick(rng, -2, 3), pick(rng, 1, 16), pick(rng, 1, 9));
                const int x = pick(rng, -6, W + 2), y = pick(rng, -4, H + 2);
                p.paintPicture(src, r, x, y);
                plain.paintPicture(src, r, x, y);
                break;
            }
            case 2: {
                const QRect r(pick(rng, -4, W), pick(rng, -2, H), pick(rng, 1, W + 10), pick(rng, 1, H));
                const int x = pick(rng, -4, W), y = pick(rng, -2, H);
                p.bitBlt(r, x, y);
                plain.bitBlt(r, x, y);
                break;
            }
            case 3: {
                const QRect r(pick(rng, -4, W), pick(rng, -2, H), pick(rng, 1, W + 10), pick(rng, 1, 8));
                p.fillWhite(r);
                plain.fillWhite(r);
                break;
            }
            case 4:
                if (rng() % 2) {
                    const int w = pick(rng, 10, 60), h = pick(rng, 4, 20);  // cuts off or uncovers
                    p.resize(w, h);
                    plain.resize(w, h);
                } else {
                    // A line sliding sideways, as an insert or a backspace moves it.
                    const int x = pick(rng, -4, W), y = pick(rng, -2, H);
                    const QRect r(x, y, pick(rng, 1, W + 10), pick(rng, 1, H));
                    const int to = x + pick(rng, -12, 12);
                    p.bitBlt(r, to, y);
                    plain.bitBlt(r, to, y);
                }
                break;
            default:
                if (rng() % 4 == 0) {
                    p.clear();
                    plain.fillWhite(plain.img.rect());
                }
                break;
            }
            ASSERT_EQ(p.image(), plain.img) << "trial " << trial << ", write " << k;
        }
        const PageDelta d = p.endRecording();
        const QImage end = p.image();
        EXPECT_EQ(d.sizeBefore(), start.size());
        EXPECT_EQ(d.sizeAfter(), end.size());
        if (start.size() == end.size()) {
            if (d.isEmpty()) {
                EXPECT_EQ(start, end) << "trial " << trial;
            }
            if (start != end) {
                EXPECT_FALSE(d.isEmpty()) << "trial " << trial;
            }
        }
        p.restore(d, false);
        ASSERT_EQ(p.image(), start) << "before, trial " << trial;
        p.restore(d, true);
        ASSERT_EQ(p.image(), end) << "after, trial " << trial;
        p.restore(d, false);
        ASSERT_EQ(p.image(), start) << "before again, trial " << trial;
    }
}

TEST(PageRecording, KeepsOnlyWhatChanged) {
    EditorFixture f;
    Page& page = f.ed.page;
    // Writes that change nothing keep nothing.
    page.beginRecording();
    page.fillWhite(QRect(100, 96, 568, 40));
    const PageDelta white = page.endRecording();
    EXPECT_TRUE(white.isEmpty());
    EXPECT_EQ(white.bytes(), 0u);

    // An insert shift of a full line keeps the move and the cell pushed off
    // its end, not the line: a few dozen bytes, however much ink moved.
    for (int x = 20; x < 640; x += 3) blackRect(page, QRect(x, 220, 1, 30));
    const QImage full = page.image();
    page.beginRecording();
    page.bitBlt(QRect(20, 216, 648, 40), 32, 216);
    page.fillWhite(QRect(648, 216, 20, 40));
    const PageDelta shift = page.endRecording();
    const QImage shifted = page.image();
    EXPECT_FALSE(shift.isEmpty());
    EXPECT_LT(shift.bytes(), 400u);
    page.restore(shift, false);
    EXPECT_EQ(page.image(), full);
    page.restore(shift, true);
    EXPECT_EQ(page.image(), shifted);
    page.fillWhite(QRect(0, 216, 668, 40));

    // A note: its ink and the insert shift in front of it, in a few hundred bytes.
    const QImage empty = page.image();
    page.beginRecording();
    f.ed.StampSymbol(15, 1);
    const PageDelta note = page.endRecording();
    EXPECT_FALSE(note.isEmpty());
    EXPECT_TRUE(QRect(20, 96, 12, 40).contains(changedPixels(empty, page.image())));
    EXPECT_LT(note.bytes(), 600u);
}

TEST(PageRecording, CountsChangesMadeOutsideARecording) {
    Page p(40, 20);
    EXPECT_EQ(p.unrecordedChanges(), 0u);
    p.fillWhite(QRect(100, 100, 5, 5));  // off the page: no change
    p.resize(40, 20);
    EXPECT_EQ(p.unrecordedChanges(), 0u);
    blackRect(p, QRect(1, 1, 3, 3));
    p.resize(30, 20);
    EXPECT_EQ(p.unrecordedChanges(), 2u);
    p.beginRecording();
    blackRect(p, QRect(5, 5, 3, 3));
    p.resize(40, 20);
    const PageDelta d = p.endRecording();
    p.restore(d, false);
    EXPECT_EQ(p.unrecordedChanges(), 2u);
}

TEST(History, NestedStepsFoldIntoOne) {
    EditorFixture f;
    History& h = f.ed.history;
    {
        History::Step outer(h);
        f.ed.StampSymbol(15, 0);
        {
            History::Step inner(h);  // what the Enter key does inside a note's step
            f.ed.StampSymbol(16, 0);
        }
        EXPECT_EQ(h.count(), 0);
    }
    EXPECT_EQ(h.count(), 1);
    ASSERT_TRUE(h.undo());
    EXPECT_TRUE(allWhite(f.ed.page, QRect(0, 0, 668, 945)));
    EXPECT_EQ(f.ed.caret.Left, 20);
    EXPECT_EQ(f.view.restores, 1);
    EXPECT_FALSE(h.undo());
    EXPECT_EQ(f.view.restores, 1);
}

TEST(History, KeepsOnlyStepsThatChangedTheDocument) {
    EditorFixture f;
    History& h = f.ed.history;
    {
        History::Step step(h);  // a caret move
        f.ed.caret.Left = 200;
        f.ed.st.BarUnits = 0;
    }
    {
        History::Step step(h);  // white over white
        f.ed.page.fillWhite(QRect(0, 0, 100, 100));
    }
    EXPECT_EQ(h.count(), 0);
    {
        History::Step step(h);  // an overlay counted, the overlay itself lies outside the page
        ++f.ed.st.TextOverlayCount;
    }
    EXPECT_EQ(h.count(), 1);
    h.undo();
    EXPECT_EQ(f.ed.st.TextOverlayCount, 0);
    EXPECT_EQ(f.ed.caret.Left, 200);  // the caret where the step found it
}

TEST(History, WindowChangesGoWithTheirStep) {
    EditorFixture f;
    History& h = f.ed.history;
    int label = 0;
    SetInt::redos = 0;
    {
        History::Step step(h);
        label = 5;  // done by the window
        h.add(std::make_unique<SetInt>(label, 0, 5));
        f.ed.StampSymbol(15, 0);
    }
    const QImage stamped = f.ed.page.image();
    EXPECT_EQ(SetInt::redos, 0) << "a change is done already when it is added";
    label = 7;
    h.add(std::make_unique<SetInt>(label, 5, 7));  // no step open: a step of its own
    EXPECT_EQ(h.count(), 2);
    h.undo();
    EXPECT_EQ(label, 5);
    h.undo();
    EXPECT_EQ(label, 0);
    EXPECT_TRUE(allWhite(f.ed.page, QRect(0, 0, 668, 945)));
    h.redo();
    EXPECT_EQ(label, 5);
    EXPECT_EQ(f.ed.page.image(), stamped);
    EXPECT_EQ(SetInt::redos, 1);
}

TEST(History, WhatRunsWhileApplyingRecordsNothing) {
    EditorFixture f;
    History& h = f.ed.history;
    int v = 0;
    // A window change whose undo sets a control whose handler records a step of its own.
    struct Reentrant : SetInt {
        Reentrant(History& h, int& v) : SetInt(v, 0, 1), h(h) {}
        void undo() override {
            SetInt::undo();
            History::Step step(h);
            h.add(std::make_unique<SetInt>(v, 1, 0));
        }
        History& h;
    };
    v = 1;
    h.add(std::make_unique<Reentrant>(h, v));
    ASSERT_TRUE(h.undo());
    EXPECT_EQ(v, 0);
    EXPECT_EQ(h.count(), 1);
    EXPECT_EQ(h.index(), 0);
    EXPECT_TRUE(h.redo());
    EXPECT_EQ(v, 1);
}

TEST(History, ARunOfOneChangeMergesIntoOneStep) {
    EditorFixture f;
    History& h = f.ed.history;
    int x = 100;
    auto move = [&](int to) {
        History::Step step(h);
        h.add(std::make_unique<SetInt>(x, x, to, 1));
        x = to;
    };
    move(106);
    move(112);
    move(118);
    EXPECT_EQ(h.count(), 1);
    h.undo();
    EXPECT_EQ(x, 100);
    h.redo();
    EXPECT_EQ(x, 118);

    // A saved document is a clean point: the next move is a step of its own.
    h.setClean();
    move(124);
    EXPECT_EQ(h.count(), 2);
    // Moving back where the run started leaves no step at all.
    move(118);
    EXPECT_EQ(h.count(), 1);
    EXPECT_TRUE(h.isClean());

    // A step that also changed the page never merges.
    {
        History::Step step(h);
        h.add(std::make_unique<SetInt>(x, x, 130, 1));
        x = 130;
        f.ed.StampSymbol(15, 0);
    }
    move(136);
    EXPECT_EQ(h.count(), 3);
}

TEST(History, CleanStateFollowsUndoAndRedo) {
    EditorFixture f;
    History& h = f.ed.history;
    EXPECT_TRUE(h.isClean());
    for (Integer code : {15, 16}) {
        History::Step step(h);
        f.ed.StampSymbol(code, 0);
    }
    h.setClean();  // saved after two notes
    {
        History::Step step(h);
        f.ed.StampSymbol(17, 0);
    }
    EXPECT_FALSE(h.isClean());
    h.undo();
    EXPECT_TRUE(h.isClean());
    h.undo();
    EXPECT_FALSE(h.isClean());
    h.redo();
    EXPECT_TRUE(h.isClean());
    h.clear();
    EXPECT_TRUE(h.isClean());
    EXPECT_FALSE(h.canUndo());
}

TEST(History, APageChangeOutsideAStepDropsTheHistory) {
    EditorFixture f;
    History& h = f.ed.history;
    {
        History::Step step(h);
        f.ed.StampSymbol(15, 0);
    }
    blackRect(f.ed.page, QRect(20, 100, 4, 4));  // a writer that forgot its step
    EXPECT_FALSE(h.undo());
    EXPECT_EQ(h.count(), 0);
    EXPECT_TRUE(f.ed.page.isInk(21, 101));
    // Steps recorded after it are safe again.
    {
        History::Step step(h);
        f.ed.StampSymbol(16, 0);
    }
    EXPECT_TRUE(h.undo());
    EXPECT_TRUE(f.ed.page.isInk(21, 101));
}

TEST(History, UndoEndsAStepLeftOpen) {
    EditorFixture f;
    History& h = f.ed.history;
    h.begin();  // an eraser press whose release never came
    f.ed.StampSymbol(15, 0);
    ASSERT_TRUE(h.undo());
    EXPECT_TRUE(allWhite(f.ed.page, QRect(0, 0, 668, 945)));
    EXPECT_FALSE(h.isOpen());
    h.end();  // the late release changes nothing
    EXPECT_EQ(h.count(), 1);
    EXPECT_EQ(h.index(), 0);
}

TEST(History, PageSizeChangesComeBack) {
    EditorFixture f;
    History& h = f.ed.history;
    Page& page = f.ed.page;
    {
        History::Step step(h);
        blackRect(page, QRect(600, 900, 10, 10));
    }
    {
        History::Step step(h);  // a smaller layout cuts the ink off
        page.resize(500, 700);
    }
    {
        History::Step step(h);  // justification's widening for a moment: no net change
        page.resize(718, 700);
        blackRect(page, QRect(690, 100, 10, 10));
        page.resize(500, 700);
    }
    EXPECT_EQ(h.count(), 2);
    h.undo();
    EXPECT_EQ(page.width(), 668);
    EXPECT_EQ(page.height(), 945);
    EXPECT_TRUE(page.isInk(605, 905));
    h.redo();
    EXPECT_EQ(page.width(), 500);
    h.undo();
    h.undo();
    EXPECT_TRUE(allWhite(page, QRect(0, 0, 668, 945)));
}
