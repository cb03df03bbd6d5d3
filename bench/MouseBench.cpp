// Speed of the mouse on the page: an eraser stroke and a region paste on the
// default 668 x 945 page, through the mouse handler as the window calls it.
#include <benchmark/benchmark.h>

#include "BenchView.h"
#include "MouseHandler.h"

namespace {

struct BenchWindow : qn::bench::BenchView, qn::MouseView {
    int combo3 = 0;
    void PlaySoundEffect(const QString&) override {}  // both views ask for it
    // MouseView
    int Combo3ListIndex() override { return combo3; }
    void PlaceShape1(const QRect& r) override { benchmark::DoNotOptimize(r); }
    void SetShape1Look(qn::EraserLook) override {}
    void ShowShape2(const QRect&) override {}
    void HideShape2() override {}
    void CaretMoved() override {}
    void RepaintPage(const QRect& area) override { benchmark::DoNotOptimize(area); }
    void FocusPage() override {}
    void HideInlineEditors() override {}
    void DeselectOverlay(qn::Integer) override {}
    void OpenLyricsBox(int, const QString&) override {}
    void HideLyricsBox() override {}
    QString LyricsText() override { return {}; }
    QPoint LyricsPosition() override { return {}; }
    QFont LyricsFont() override { return {}; }
    void Beep() override {}
};

void inkPage(qn::Page& page) {
    QImage ink(page.width(), page.height(), QImage::Format_RGB32);
    ink.fill(0xFF000000u);
    page.paintPicture(ink, ink.rect(), 0, 0);
}

// A 50 x 50 brush held down and dragged across the whole first line, one
// mouse-move step per pixel; the counter "step" is the time of one step.
void BM_EraserStroke50AcrossALine(benchmark::State& state) {
    BenchWindow w;
    qn::Editor ed(w);
    qn::MouseHandler mouse(ed, w);
    w.combo3 = 50;
    mouse.Combo3_Click();
    const int width = ed.page.width();
    for (auto _ : state) {
        state.PauseTiming();
        inkPage(ed.page);
        state.ResumeTiming();
        mouse.Picture1_MouseDown(qn::mouse::LeftButton, 0, 0, 116);
        for (int x = 1; x < width; ++x) mouse.Picture1_MouseMove(qn::mouse::LeftButton, 0, qn::Single(x), 116);
        mouse.Picture1_MouseUp(qn::mouse::LeftButton, 0, qn::Single(width - 1), 116);
        benchmark::DoNotOptimize(ed.page.storage().constBits());
    }
    state.counters["step"] = benchmark::Counter(double(width), benchmark::Counter::kIsIterationInvariantRate |
                                                                  benchmark::Counter::kInvert);
}
BENCHMARK(BM_EraserStroke50AcrossALine)->Unit(benchmark::kMicrosecond);

// "粘贴" of a 600 x 120 region selected with the mouse.
void BM_Paste600x120(benchmark::State& state) {
    BenchWindow w;
    qn::Editor ed(w);
    qn::MouseHandler mouse(ed, w);
    inkPage(ed.page);
    mouse.Picture1_MouseDown(qn::mouse::LeftButton, 0, 26, 100);
    mouse.Picture1_MouseMove(qn::mouse::LeftButton, 0, 620, 216);
    mouse.Picture1_MouseUp(qn::mouse::LeftButton, 0, 620, 216);
    if (mouse.Picture9().image().size() != QSize(600, 120)) {
        state.SkipWithError("the selection is not 600 x 120");
        return;
    }
    ed.caret.Left = 20;
    ed.caret.Top = 456;
    for (auto _ : state) {
        mouse.Command14_Click();
        benchmark::DoNotOptimize(ed.page.storage().constBits());
    }
}
BENCHMARK(BM_Paste600x120);

}  // namespace
