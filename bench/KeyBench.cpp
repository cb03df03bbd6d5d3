// Keys through the real window's key handler on an offscreen main window:
// a realistic mix of notes, dots, bar lines, Enter and Backspace, the repaint
// scheduling included. A separate case measures painting the page.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPixmap>
#include <random>
#include <vector>

#include "Form1.h"
#include "Form1_Controls.h"

namespace {

qn::Form1& window() {
    static qn::Form1* form = [] {
        auto* f = new qn::Form1(QStringLiteral(QUILLNOTE_PROGRAM_DIR));
        f->controls().Check9->setChecked(false);  // no sound device work in the figures
        f->show();
        return f;
    }();
    return *form;
}

// 10,000 keys: mostly digits, with octave keys, dots, bar lines, Enter and Backspace.
std::vector<qn::Integer> keyMix() {
    std::mt19937 rng(7);
    std::vector<qn::Integer> keys;
    const qn::Integer digits[] = {49, 50, 51, 52, 53, 54, 55};
    const qn::Integer lower[] = {81, 87, 69, 82, 84, 89, 85};  // Q..U
    for (int i = 0; i < 10000; ++i) {
        const int r = int(rng() % 100);
        if (r < 70) keys.push_back(digits[rng() % 7]);
        else if (r < 78) keys.push_back(lower[rng() % 7]);
        else if (r < 84) keys.push_back(190);   // dot
        else if (r < 89) keys.push_back(65);    // bar line
        else if (r < 94) keys.push_back(8);     // backspace
        else if (r < 97) keys.push_back(27);    // Esc: note value
        else keys.push_back(13);                // Enter
    }
    return keys;
}

void BM_KeyThroughWindow(benchmark::State& state) {
    qn::Form1& form = window();
    qn::Editor& ed = form.editor();
    const std::vector<qn::Integer> keys = keyMix();
    size_t i = 0;
    for (auto _ : state) {
        if (ed.caret.Top > 800) {  // a page is full: start a fresh one, untimed
            state.PauseTiming();
            ed.page.clear();
            ed.history.clear();  // a fresh page starts a fresh history, as "新建" does
            ed.caret.Left = 20;
            ed.caret.Top = 96;
            QApplication::processEvents();
            state.ResumeTiming();
        }
        form.Picture1_KeyDown(keys[i], 0);
        i = (i + 1) % keys.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_KeyThroughWindow)->Iterations(10000);

// A left click on the staff panel's mouse area: the pointer's note stamped,
// the selectors read and reset, the page scheduled for repaint.
void BM_StaffClickThroughWindow(benchmark::State& state) {
    qn::Form1& form = window();
    qn::Editor& ed = form.editor();
    form.controls().Check1->setChecked(true);
    ed.page.clear();
    ed.caret.Left = 20;
    ed.caret.Top = 96;
    for (auto _ : state) {
        if (ed.caret.Top > 800) {  // a page is full: start a fresh one, untimed
            state.PauseTiming();
            ed.page.clear();
            ed.caret.Left = 20;
            ed.caret.Top = 96;
            QApplication::processEvents();
            state.ResumeTiming();
        }
        form.Label10_MouseDown(Qt::LeftButton, Qt::NoModifier, QPoint(200, 172));
    }
    form.controls().Check1->setChecked(false);
}
BENCHMARK(BM_StaffClickThroughWindow)->Iterations(2000);

void BM_PaintWholePage(benchmark::State& state) {
    qn::Form1& form = window();
    QWidget* canvas = form.controls().Picture1;
    QPixmap target(canvas->size());
    for (auto _ : state) {
        canvas->render(&target);
        benchmark::DoNotOptimize(target.cacheKey());
    }
}
BENCHMARK(BM_PaintWholePage);

}  // namespace
