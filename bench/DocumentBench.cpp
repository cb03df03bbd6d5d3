// SaveScore and OpenScore through the offscreen main window: a default page
// with eight typed lines and ten overlays (five phrases, five pictures).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include "Form1.h"
#include "Form1_Controls.h"

namespace {

struct Fixture {
    QTemporaryDir dir;
    qn::Form1* form = nullptr;
    QString path;

    Fixture() {
        form = new qn::Form1(QStringLiteral(QUILLNOTE_PROGRAM_DIR));
        form->controls().Check9->setChecked(false);
        const qn::Integer digits[] = {49, 50, 51, 52, 53, 54, 55};
        int i = 0;
        while (form->editor().caret.Top < 96 + 8 * 60) form->Picture1_KeyDown(digits[i++ % 7], 0);
        for (int k = 0; k < 5; ++k) {
            form->editor().caret.Left = float(40 + 100 * k);
            form->editor().caret.Top = float(156 + 60 * k);
            form->Picture1_KeyDown(68, 0);
            form->controls().List1->setCurrentRow(k % std::max(1, form->controls().List1->count()));
            form->Command5_Click();
            form->Picture1_KeyDown(70, 0);
            form->controls().File1->setCurrentRow(k % std::max(1, form->controls().File1->count()));
            form->File1_Click();
            form->Command8_Click();
        }
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

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
