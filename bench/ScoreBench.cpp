// Reading the page back and exporting it: a default 668 x 945 page with every
// line filled with eighth notes (automatic spacing and bar lines as typed).
#include <benchmark/benchmark.h>

#include "BenchView.h"
#include "Editor.h"
#include "MidiWriter.h"
#include "MusicXmlWriter.h"
#include "PageReader.h"
#include "Performance.h"

namespace {

using qn::bench::BenchView;

// Eighth notes 1 2 3 4 5 6 7 1' ... until the last whole line band is full.
const qn::Page& fullPage() {
    static BenchView view;
    static qn::Editor* ed = [] {
        auto* e = new qn::Editor(view);
        for (int i = 0; e->caret.Top <= 876; ++i)  // 876: top of the last band that fits
            e->StampSymbol(qn::Integer(14 + i % 8), 1);
        return e;
    }();
    return ed->page;
}

const qn::score::Score& fullScore() {
    static const qn::score::Score s = qn::score::ReadPage(fullPage(), 60);
    return s;
}

qn::score::ScoreHeader header() {
    qn::score::ScoreHeader h;
    h.title = QStringLiteral("标题");
    h.key = QStringLiteral("bE");
    h.tempo = qn::score::TempoFromLabel(QStringLiteral("每分钟96拍"));
    return h;
}

void BM_ReadFullPage(benchmark::State& state) {
    const qn::Page& page = fullPage();
    for (auto _ : state) {
        const qn::score::Score s = qn::score::ReadPage(page, 60);
        benchmark::DoNotOptimize(s.measures.data());
    }
    const qn::score::Score& s = fullScore();
    state.counters["notes"] = s.eventCount();
    state.counters["skipped"] = double(s.skipped.size());
}
BENCHMARK(BM_ReadFullPage)->Unit(benchmark::kMillisecond);

void BM_WriteMidi(benchmark::State& state) {
    const qn::score::Score& s = fullScore();
    const qn::score::ScoreHeader h = header();
    for (auto _ : state) {
        const QByteArray midi = qn::score::MidiFile(qn::score::Perform(s, h));
        benchmark::DoNotOptimize(midi.constData());
    }
}
BENCHMARK(BM_WriteMidi)->Unit(benchmark::kMillisecond);

void BM_WriteMusicXml(benchmark::State& state) {
    const qn::score::Score& s = fullScore();
    const qn::score::ScoreHeader h = header();
    for (auto _ : state) {
        const QByteArray xml = qn::score::MusicXml(s, h);
        benchmark::DoNotOptimize(xml.constData());
    }
    state.counters["bytes"] = double(qn::score::MusicXml(s, h).size());
}
BENCHMARK(BM_WriteMusicXml)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
