// Speed of the chord path and of a staff click on the default 668 x 945 page:
// a chord stamped at the right end of a full line (the anchor scan walks the
// whole line), with and without modifiers, and a staff note stamped at the
// start of a full line in insert mode.
#include <benchmark/benchmark.h>

#include "BenchView.h"

#include <QGuiApplication>

#include "Editor.h"
#include "StaffInput.h"

namespace {

using qn::bench::BenchView;

QFont PageFont() {
    QFont f;
    f.setFamilies({QStringLiteral("SimSun"), QStringLiteral("AR PL UMing CN"),
                   QStringLiteral("Noto Serif CJK SC")});
    return f;
}

// Plain 1s across the first line and no bar line: the anchor scan finds nothing.
void fillWithNotes(qn::Page& page) {
    for (int x = 20; x + 12 <= page.width() - 20; x += 12)
        page.paintPicture(qn::Picmode(), qn::NoteCellRect(14, 0), x, 96);
}

void chord(benchmark::State& state, bool modifiers) {
    BenchView view;
    qn::Editor ed(view);
    ed.pageFont = PageFont();
    ed.st.NoteInputMode = 0;
    if (modifiers)
        for (int k : {4, 5, 6, 7, 8, 9}) ed.st.KeypadHeld[size_t(k)] = 1;
    fillWithNotes(ed.page);
    for (auto _ : state) {
        ed.caret.Left = float(ed.page.width() - 32);
        ed.caret.Top = 96;
        ed.StampSymbol(18, 0);
        benchmark::DoNotOptimize(ed.page.storage().constBits());
    }
}
void BM_ChordAtTheEndOfAFullLine(benchmark::State& state) { chord(state, false); }
BENCHMARK(BM_ChordAtTheEndOfAFullLine);
void BM_ChordWithEveryModifierAtTheEndOfAFullLine(benchmark::State& state) { chord(state, true); }
BENCHMARK(BM_ChordWithEveryModifierAtTheEndOfAFullLine);

void BM_StaffClickNoteInsertAtFullLineStart(benchmark::State& state) {
    BenchView view;
    qn::Editor ed(view);
    fillWithNotes(ed.page);
    qn::StaffPointerMoved(ed.st, 200, 172, 0, false);  // 3, sixteenth zone
    qn::StaffSelectors selectors;
    for (auto _ : state) {
        ed.caret.Left = 20;
        ed.caret.Top = 96;
        ed.st.BarUnits = 0;
        ed.st.SpacingClass = 0;
        qn::StaffClick(ed, qn::staff::LeftButton, 0, true, selectors);
        benchmark::DoNotOptimize(ed.page.storage().constBits());
    }
}
BENCHMARK(BM_StaffClickNoteInsertAtFullLineStart);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);  // the font database for chord text
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
