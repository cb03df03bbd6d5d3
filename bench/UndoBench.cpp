// Undo and redo: one typed note on a full line undone and redone, and the
// memory a 10,000-key session's history holds.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <random>
#include <vector>

#include "KeyHandler.h"

namespace {

// The window as the keys see it: automatic spacing on, justification on Enter.
struct BenchWindow : qn::EditorView, qn::InputView {
    qn::Editor ed{*this};
    qn::KeyHandler keys{ed, *this};
    int barsPerLine = 8;

    bool Check4() override { return true; }
    bool Check8() override { return false; }
    QString Label6sCaption(int) override { return QStringLiteral("0.5"); }
    int HScroll2(int index) override { return index == 0 ? 80 : index == 1 ? barsPerLine : 60; }
    int Line3X1() override { return ed.page.width() - 14; }
    QRgb Label5ForeColor() override { return 0xFF0000; }
    void PlaySoundEffect(const QString&) override {}
    void RefreshPage() override {}
    void Picture1_KeyDown(qn::Integer key, qn::Integer shift) override { keys.Picture1_KeyDown(key, shift); }

    bool Check1() override { return false; }
    int Combo2ListIndex() override { return 0; }
    bool Check5(int i) override { return i < 2; }
    bool Check11() override { return true; }
    void Command10_Click() override {}
    void Command4_Click() override { ed.ToggleInsertMode(); }
    void Command2_Click() override { ed.ToggleHalfWidthMode(); }
    void Option1_Click(qn::Integer i) override { ed.SelectPattern(i); }
    void SetOption1Value(qn::Integer) override {}
    void RestartBlink() override {}
    void LoadCaretPicture(qn::Integer) override {}
    void ShowNewScoreDialog() override {}
    void ShowPictureInsertPanel(int, int) override {}
    void ShowTextInsertPanel(int, int) override {}
    bool OverlayPosition(qn::Integer, int&, int&) override { return false; }
    void MoveOverlay(qn::Integer, int, int) override {}
    void HideOverlay(qn::Integer) override {}
    void Beep() override {}
    void SlurKey() override {}
    void GraceNoteKey() override {}
};

// A line of five bars of four eighths and two quarters, and two eighths: ink to x 620.
void typeFullLine(BenchWindow& w) {
    const qn::Integer bar[] = {34, 49, 50, 51, 52, 33, 53, 54};  // eighths 1 2 3 4, quarters 5 6
    for (int b = 0; b < 5; ++b)
        for (qn::Integer k : bar) w.keys.Picture1_KeyDown(k, 0);
    for (qn::Integer k : {34, 49, 50}) w.keys.Picture1_KeyDown(k, 0);
}

void undoRedoNote(benchmark::State& state, bool atLineStart) {
    BenchWindow w;
    typeFullLine(w);
    if (w.ed.caret.Top != 96 || w.ed.caret.Left < 600) state.SkipWithError("the line is not full");
    if (atLineStart) {
        w.ed.caret.Left = 20;  // the note goes in front: the whole line shifts
        w.ed.st.SpacingClass = 5;
    }
    w.ed.history.clear();
    w.keys.Picture1_KeyDown(49, 0);
    state.counters["step_bytes"] = double(w.ed.history.pageBytes());
    for (auto _ : state) {
        w.ed.history.undo();
        w.ed.history.redo();
        benchmark::DoNotOptimize(w.ed.page.storage().constBits());
    }
    state.SetItemsProcessed(2 * state.iterations());  // items: undo or redo steps
}
void BM_UndoRedoNoteInsertedAtFullLineStart(benchmark::State& state) { undoRedoNote(state, true); }
BENCHMARK(BM_UndoRedoNoteInsertedAtFullLineStart);
void BM_UndoRedoNoteAtFullLineEnd(benchmark::State& state) { undoRedoNote(state, false); }
BENCHMARK(BM_UndoRedoNoteAtFullLineEnd);

// The key mix of the window benchmark: notes, octave keys, dots, bar lines,
// backspace, note values and Enter.
std::vector<qn::Integer> keyMix() {
    std::mt19937 rng(7);
    std::vector<qn::Integer> keys;
    const qn::Integer digits[] = {49, 50, 51, 52, 53, 54, 55};
    const qn::Integer lower[] = {81, 87, 69, 82, 84, 89, 85};
    for (int i = 0; i < 10000; ++i) {
        const int r = int(rng() % 100);
        if (r < 70) keys.push_back(digits[rng() % 7]);
        else if (r < 78) keys.push_back(lower[rng() % 7]);
        else if (r < 84) keys.push_back(190);
        else if (r < 89) keys.push_back(65);
        else if (r < 94) keys.push_back(8);
        else if (r < 97) keys.push_back(27);
        else keys.push_back(13);
    }
    return keys;
}

size_t heapInUse() { return mallinfo2().uordblks; }

// 10,000 keys in one history. A full page is either erased in one step (the
// user clears it and goes on at the top), or kept, and typing goes on at the
// top inserting into the written lines: every key then shifts a full line.
void history10000(benchmark::State& state, bool eraseFullPage) {
    const std::vector<qn::Integer> keys = keyMix();
    for (auto _ : state) {
        auto w = std::make_unique<BenchWindow>();
        qn::Editor& ed = w->ed;
        const size_t heapBefore = heapInUse();
        for (qn::Integer k : keys) {
            if (ed.caret.Top > 800) {
                if (eraseFullPage) {
                    qn::History::Step step(ed.history);
                    ed.page.clear();
                }
                ed.caret.Left = 20;
                ed.caret.Top = 96;
            }
            w->keys.Picture1_KeyDown(k, 0);
        }
        const size_t heapAfter = heapInUse();
        state.counters["steps"] = ed.history.count();
        state.counters["history_MB"] = double(heapAfter - heapBefore) / (1 << 20);
        state.counters["pixels_MB"] = double(ed.history.pageBytes()) / (1 << 20);
    }
    state.SetItemsProcessed(state.iterations() * int64_t(keys.size()));
}
void BM_History10000KeysErasingFullPages(benchmark::State& state) { history10000(state, true); }
BENCHMARK(BM_History10000KeysErasingFullPages)->Iterations(1)->Unit(benchmark::kMillisecond);
void BM_History10000KeysInsertingIntoWrittenLines(benchmark::State& state) { history10000(state, false); }
BENCHMARK(BM_History10000KeysInsertingIntoWrittenLines)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
