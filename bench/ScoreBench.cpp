// Reading the page back and exporting it: a default 668 x 945 page with every
// line filled with eighth notes (automatic spacing and bar lines as typed).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cmath>

#include "BenchView.h"
#include "Editor.h"
#include "Lyrics.h"
#include "SongFont.h"
#include "TextGlyphs.h"
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

// The same notes on lines 90 pixels apart, a chord in every bar (every
// second one with modifiers) and a lyric line under every line of notes: a
// Chinese character under every second note.
struct WideView : BenchView {
    int HScroll2(int index) override { return index == 2 ? 90 : BenchView::HScroll2(index); }
};

const qn::Page& markedPage() {
    static WideView view;
    static qn::Editor* ed = [] {
        auto* e = new qn::Editor(view);
        e->pageFont = qn::SongFont(24, true);
        for (int i = 0; e->caret.Top <= 1036 - 90; ++i) e->StampSymbol(qn::Integer(14 + i % 8), 1);
        const qn::score::Score notes = qn::score::ReadPage(e->page, 90);
        e->st.NoteInputMode = 0;
        for (int line = 0; 96 + 90 * line + 75 < e->page.height(); ++line) {
            e->caret.Left = 26;
            e->caret.Top = qn::Single(96 + 90 * line);
            for (int bar = 0; bar < 6; ++bar) {
                e->st.KeypadHeld[7] = qn::Integer(bar % 2);
                e->st.KeypadHeld[5] = qn::Integer(bar % 4 == 1);
                e->StampSymbol(qn::Integer(bar % 7), 0);
                if (e->caret.Top != qn::Single(96 + 90 * line)) break;
            }
            e->st.KeypadHeld.fill(0);
            QString text;
            int cursor = 20, n = 0;
            static const char16_t words[] = u"一闪亮晶满天都是小星";
            for (const auto& m : notes.measures)
                for (const auto& ev : m.events) {
                    if (ev.position.line != line || n++ % 2) continue;
                    const int blanks = std::max(0, int(std::lround((ev.position.x - 1 - cursor) / 7.0)));
                    text += QString(blanks, QLatin1Char(' ')) + QChar(words[n % 10]);
                    cursor += 7 * blanks + 14;
                }
            qn::PrintLyrics(e->page, text, 20, 96 + 90 * line + 56, qn::SongFont(14));
        }
        return e;
    }();
    return ed->page;
}

void BM_ReadMarkedPage(benchmark::State& state) {
    const qn::Page& page = markedPage();
    qn::score::ReadPage(page, 90);  // the fonts' character indexes are built on the first reading of a process
    for (auto _ : state) {
        const qn::score::Score s = qn::score::ReadPage(page, 90);
        benchmark::DoNotOptimize(s.measures.data());
    }
    const qn::score::Score s = qn::score::ReadPage(page, 90);
    int chords = 0, syllables = 0;
    for (const auto& m : s.measures) {
        chords += int(m.harmonies.size());
        for (const auto& e : m.events) syllables += int(e.lyrics.size());
    }
    state.counters["notes"] = s.eventCount();
    state.counters["chords"] = chords;
    state.counters["syllables"] = syllables;
    state.counters["skipped"] = double(s.skipped.size());
}
BENCHMARK(BM_ReadMarkedPage)->Unit(benchmark::kMillisecond);

void BM_WriteMarkedMusicXml(benchmark::State& state) {
    const qn::score::Score s = qn::score::ReadPage(markedPage(), 90);
    const qn::score::ScoreHeader h = header();
    for (auto _ : state) {
        const QByteArray xml = qn::score::MusicXml(s, h);
        benchmark::DoNotOptimize(xml.constData());
    }
    state.counters["bytes"] = double(qn::score::MusicXml(s, h).size());
}
BENCHMARK(BM_WriteMarkedMusicXml)->Unit(benchmark::kMillisecond);

// What the first reading of a process pays once per text size: every
// character of the alphabet rendered and indexed (14 px for lyrics and heads).
void BM_BuildCharacterIndex(benchmark::State& state) {
    for (auto _ : state) {
        const qn::score::detail::TextGlyphs glyphs(qn::SongFont(14));
        benchmark::DoNotOptimize(glyphs.glyphs().data());
        state.counters["characters"] = double(glyphs.glyphs().size());
    }
}
BENCHMARK(BM_BuildCharacterIndex)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);  // the font database for chord and lyric text
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
