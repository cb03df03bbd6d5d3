// SaveScore and OpenScore through the offscreen main window: a default page
// with eight typed lines and ten overlays (five phrases, five pictures).
#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>

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

}  // namespace
