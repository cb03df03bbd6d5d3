// A full page (14 lines of notes, each with chord symbols at its bars and a
// lyric line) written as the vector PDF, the vector SVG and the "as shown"
// PDF, beside the page as a picture the way PDFs were written before (the
// bitmap as Qt's default JPEG). Counters: the file's bytes.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "MarksWindow.h"
#include "PageReader.h"
#include "VectorPage.h"

namespace {

using qn::test::MarksWindow;
using qn::test::typeScript;

qn::PageComposition fullPage() {
    static const qn::PageComposition page = [] {
        MarksWindow w;
        for (int line = 0; line < 14; ++line) {
            w.toLine(line);
            typeScript(w, QStringLiteral("1 2 3 5 6 5 3 2 1 2 3 5 6 5 3 1 5 5 6 6 5 5 3 - 1 1 2 2 3 3 1 -"));
        }
        for (int line = 0; line < 14; ++line) {
            w.toLine(line);
            for (const qn::Integer key : {49, 52, 53, 49, 54, 53, 50, 49}) w.chord(key);
            w.notes();
        }
        // A syllable under each note of every line, its middle under the note; the
        // first note of a bar holds out its syllable (a melisma), so the words stay
        // clear of the chord symbol at the bar line.
        const qn::score::Score s = qn::score::ReadPage(w.ed.page, w.pitch);
        const QString words = QStringLiteral("春眠不觉晓处处闻啼鸟夜来风雨声花落知多少");
        std::map<int, QString> lyricLines;
        std::map<int, int> cursor;
        int n = 0;
        for (const auto& m : s.measures)
            for (const auto& e : m.events) {
                if (e.kind != qn::score::EventKind::Note || e.tiedFromPrevious || &e == &m.events.front()) continue;
                const int line = e.position.line;
                if (!cursor.count(line)) cursor[line] = 20;
                const int start = e.position.x + 6 - 7;
                const int blanks = std::max(0, int(std::lround((start - cursor[line]) / 7.0)));
                lyricLines[line] += QString(blanks, QLatin1Char(' ')) + words[n++ % words.size()];
                cursor[line] += 7 * blanks + 14;
            }
        for (const auto& [line, text] : lyricLines) w.lyric(96 + line * w.pitch + 44, text);
        qn::ScoreDocument doc = qn::StartUpDocument();
        doc.title = QStringLiteral("春晓");
        QImage bitmap = w.ed.page.storage().copy(0, 0, w.ed.page.width(), w.ed.page.height());
        return qn::ComposeDocument(std::move(bitmap), doc, qn::ScoreDocument::Held{}, qn::ExportContext{});
    }();
    return page;
}

QByteArray pdfOf(const qn::PageComposition& c, bool vector, bool asBefore = false) {
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&out);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setResolution(300);
    pdf.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    if (asBefore) {
        // The page bitmap scaled to the printable width, no lossless hint: JPEG.
        QPainter p(&pdf);
        const double s = double(pdf.width()) / c.page.width();
        p.scale(s, s);
        p.drawImage(QRect(0, 0, c.page.width(), c.page.height()), c.page);
        qn::DrawComposedItems(p, c);
    } else {
        qn::RenderOnPagedDevice(c, pdf, vector ? qn::PrintStyle::Vector : qn::PrintStyle::AsShown);
    }
    out.close();
    return out.data();
}

void BM_VectorPdf(benchmark::State& state) {
    const qn::PageComposition c = fullPage();
    QByteArray bytes;
    for (auto _ : state) bytes = pdfOf(c, true);
    state.counters["bytes"] = double(bytes.size());
}
BENCHMARK(BM_VectorPdf)->Unit(benchmark::kMillisecond);

void BM_VectorSvg(benchmark::State& state) {
    const qn::PageComposition c = fullPage();
    QByteArray bytes;
    for (auto _ : state) {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        qn::WriteSvg(c, out);
        bytes = out.data();
    }
    state.counters["bytes"] = double(bytes.size());
}
BENCHMARK(BM_VectorSvg)->Unit(benchmark::kMillisecond);

void BM_LayOutVectorPage(benchmark::State& state) {
    const qn::PageComposition c = fullPage();
    int cells = 0, residual = 0;
    for (auto _ : state) {
        const qn::VectorPage v = qn::LayOutVectorPage(c.page, c.facts.linePitch);
        cells = v.recognisedCells;
        residual = v.residual.isNull() ? 0 : v.residual.width() * v.residual.height();
    }
    state.counters["cells"] = cells;
    state.counters["residual_px"] = residual;
}
BENCHMARK(BM_LayOutVectorPage)->Unit(benchmark::kMillisecond);

void BM_AsShownPdf(benchmark::State& state) {
    const qn::PageComposition c = fullPage();
    QByteArray bytes;
    for (auto _ : state) bytes = pdfOf(c, false);
    state.counters["bytes"] = double(bytes.size());
}
BENCHMARK(BM_AsShownPdf)->Unit(benchmark::kMillisecond);

void BM_JpegPdfAsBefore(benchmark::State& state) {
    const qn::PageComposition c = fullPage();
    QByteArray bytes;
    for (auto _ : state) bytes = pdfOf(c, false, true);
    state.counters["bytes"] = double(bytes.size());
}
BENCHMARK(BM_JpegPdfAsBefore)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
