// SaveScore and OpenScore through the offscreen main window: a default page
// with eight typed lines and ten overlays (five phrases, five pictures).
#include <benchmark/benchmark.h>

#include <QDateTime>
#include <QDir>
#include <QTemporaryDir>

#include "Recovery.h"
#include "SampleDocument.h"

namespace {

struct Fixture {
    QTemporaryDir dir;
    qn::Form1* form = nullptr;
    QString path;

    Fixture() {
        form = new qn::Form1(QStringLiteral(QUILLNOTE_PROGRAM_DIR));
        qn::bench::FillSampleDocument(*form);
        path = QDir(dir.path()).filePath(QStringLiteral("bench.bmp"));
        form->editor().st.DocumentPath = path;
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_SaveScore(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        const QString error = f.form->SaveScore();
        if (!error.isEmpty()) state.SkipWithError(error.toUtf8().constData());
    }
}
BENCHMARK(BM_SaveScore)->Unit(benchmark::kMillisecond);

void BM_OpenScore(benchmark::State& state) {
    Fixture& f = fixture();
    if (!f.form->SaveScore().isEmpty()) state.SkipWithError("cannot save the page to open");
    for (auto _ : state) {
        const QString error = f.form->OpenScore(f.path);
        if (!error.isEmpty()) state.SkipWithError(error.toUtf8().constData());
    }
    state.counters["overlays"] =
        f.form->editor().st.TextOverlayCount + f.form->editor().st.PictureOverlayCount;
}
BENCHMARK(BM_OpenScore)->Unit(benchmark::kMillisecond);

// Autosave, the typing thread's part: the page copied and the sidecar bytes made.
void BM_RecoverySnapshot(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) benchmark::DoNotOptimize(f.form->RecoveryState());
    state.counters["pixels"] = f.form->editor().page.width() * f.form->editor().page.height();
}
BENCHMARK(BM_RecoverySnapshot)->Unit(benchmark::kMillisecond);

// Autosave, the writer thread's part: the copy of a full page encoded and
// written whole. Arg: bars per line (8: the default page, 668 x 945; 16: 1308 x 1850).
void BM_RecoveryWrite(benchmark::State& state) {
    Fixture& f = fixture();
    const int bars = int(state.range(0));
    f.form->controls().HScroll2[1]->setValue(bars);
    qn::RecoverySnapshot s = f.form->RecoveryState();
    f.form->controls().HScroll2[1]->setValue(8);
    const QString path = QDir(f.dir.path()).filePath(QStringLiteral("copy.qnr"));
    for (auto _ : state) {
        const QString error = qn::WriteRecoveryFile(path, s);
        if (!error.isEmpty()) state.SkipWithError(error.toUtf8().constData());
    }
    state.counters["width"] = s.page.width();
    state.counters["height"] = s.page.height();
}
BENCHMARK(BM_RecoveryWrite)->Arg(8)->Arg(16)->Unit(benchmark::kMillisecond);

// A key and its Backspace while the writer keeps writing copies (Arg 1: a
// copy asked after every second pair, far more often than the interval) or
// never (Arg 0). The keys never wait on the disk.
void BM_KeysWhileAutosaving(benchmark::State& state) {
    Fixture& f = fixture();
    const bool autosave = state.range(0) != 0;
    f.form->editor().caret.Left = 20;
    f.form->editor().caret.Top = 96 + 9 * 60;
    int n = 0;
    for (auto _ : state) {
        f.form->Picture1_KeyDown(49, 0);
        f.form->Picture1_KeyDown(8, 0);
        if (autosave && ++n % 2 == 0) f.form->AutosaveTimer_Timer();
    }
    f.form->recoveryWriter()->wait();
    state.counters["last_write_ms"] = double(f.form->recoveryWriter()->lastWriteMicros()) / 1000.0;
}
BENCHMARK(BM_KeysWhileAutosaving)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
