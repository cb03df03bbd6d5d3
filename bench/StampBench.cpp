// Speed of the typing path: a stamp, a backspace and a line justification on
// the default 668 x 945 page.
#include <benchmark/benchmark.h>

#include "BenchView.h"
#include "KeyHandler.h"

namespace {

using qn::bench::BenchView;

// Ink across the whole first line, so every shift moves a full line.
void fillLine(qn::Page& page) {
    QImage ink(page.width(), 40, QImage::Format_RGB32);
    ink.fill(0xFF000000u);
    page.paintPicture(ink, ink.rect(), 0, 96);
}

void BM_StampNoteInsertAtFullLineStart(benchmark::State& state) {
    BenchView view;
    qn::Editor ed(view);
    fillLine(ed.page);
    for (auto _ : state) {
        ed.caret.Left = 20;
        ed.caret.Top = 96;
        ed.st.BarUnits = 0;
        ed.st.SpacingClass = 0;  // with automatic spacing: a 6-pixel strip too
        ed.StampSymbol(15, 1);
        benchmark::DoNotOptimize(ed.page.storage().constBits());
    }
}
BENCHMARK(BM_StampNoteInsertAtFullLineStart);

void BM_BackspaceInsertOnFullLine(benchmark::State& state) {
    BenchView view;
    qn::Editor ed(view);
    fillLine(ed.page);
    for (auto _ : state) {
        ed.caret.Left = 32;
        ed.caret.Top = 96;
        ed.st.LastCellWidth = 0;
        ed.StampSymbol(999, 0);
        benchmark::DoNotOptimize(ed.page.storage().constBits());
    }
}
BENCHMARK(BM_BackspaceInsertOnFullLine);

// A line typed as `bars` bars of four quarter notes, then justified.
void justify(benchmark::State& state, int bars) {
    BenchView view;
    qn::Editor ed(view);
    for (int b = 0; b < bars; ++b)
        for (qn::Integer code : {14, 15, 16, 17}) ed.StampSymbol(code, 0);
    const QImage line = ed.page.storage().copy(0, 96, ed.page.width(), 40);
    for (auto _ : state) {
        state.PauseTiming();
        ed.page.paintPicture(line, line.rect(), 0, 96);
        ed.st.JustifyLineTop = 96;
        state.ResumeTiming();
        ed.LineJustify();
        benchmark::DoNotOptimize(ed.page.storage().constBits());
    }
}
void BM_LineJustifyFull8BarLine(benchmark::State& state) { justify(state, 8); }
BENCHMARK(BM_LineJustifyFull8BarLine);
// Five bars leave 246 pixels: 41 blanks, the most a line can take.
void BM_LineJustifyFiveBarsFortyOneBlanks(benchmark::State& state) { justify(state, 5); }
BENCHMARK(BM_LineJustifyFiveBarsFortyOneBlanks);

}  // namespace

BENCHMARK_MAIN();
