// The MusicXML import with its read-back proof: parse, map to jianpu, type
// every page through the key handler, place chords, lyrics and arcs, read the
// pages back. A one-page song (32 bars with lyrics and chords) and one of about
// ten pages.
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include "Importer.h"

namespace {

QString note(char step, int octave, int duration, const QString& lyric) {
    return QStringLiteral("<note><pitch><step>%1</step><octave>%2</octave></pitch><duration>%3</duration><voice>1</voice>"
                          "<lyric number=\"1\"><syllabic>single</syllabic><text>%4</text></lyric></note>")
        .arg(QLatin1Char(step)).arg(octave).arg(duration).arg(lyric);
}

QByteArray song(int bars) {
    static const char* const roots[] = {"C", "F", "G", "A"};
    static const char* const kinds[] = {"major", "major", "dominant", "minor"};
    const QString words = QStringLiteral("一闪一闪亮晶晶满天都是小星星挂在天上放光明好像许多小眼睛");
    QString xml = QStringLiteral(
        "<?xml version=\"1.0\"?><score-partwise version=\"4.0\"><work><work-title>小星星</work-title></work>"
        "<part-list><score-part id=\"P1\"><part-name>V</part-name></score-part></part-list><part id=\"P1\">");
    int w = 0;
    for (int i = 0; i < bars; ++i) {
        xml += QStringLiteral("<measure number=\"%1\">").arg(i + 1);
        if (i == 0)
            xml += QStringLiteral("<attributes><divisions>2</divisions><key><fifths>0</fifths></key>"
                                  "<time><beats>4</beats><beat-type>4</beat-type></time></attributes>");
        xml += QStringLiteral("<harmony><root><root-step>%1</root-step></root><kind>%2</kind></harmony>")
                   .arg(QLatin1String(roots[i % 4]), QLatin1String(kinds[i % 4]));
        const char* steps = "CDEFGAB";
        for (int k = 0; k < 2; ++k) xml += note(steps[(i + k) % 7], 4, 2, words[w++ % words.size()]);
        for (int k = 0; k < 4; ++k) xml += note(steps[(i + 2 * k) % 7], 4, 1, words[w++ % words.size()]);
        xml += QStringLiteral("</measure>");
    }
    return (xml + QStringLiteral("</part></score-partwise>")).toUtf8();
}

void importSong(benchmark::State& state, int bars) {
    const QByteArray xml = song(bars);
    qn::import::ImportMusicXmlBytes(xml);  // the fonts' character indexes are built once per program
    int pages = 0;
    bool proved = true;
    for (auto _ : state) {
        const qn::import::ImportResult r = qn::import::ImportMusicXmlBytes(xml);
        pages = r.pageCount();
        proved = proved && r.proved();
        benchmark::DoNotOptimize(pages);
    }
    state.counters["pages"] = pages;
    state.counters["proved"] = proved ? 1 : 0;
}

void BM_ImportOnePage(benchmark::State& state) { importSong(state, 32); }
BENCHMARK(BM_ImportOnePage)->Unit(benchmark::kMillisecond);

void BM_ImportTenPages(benchmark::State& state) { importSong(state, 500); }
BENCHMARK(BM_ImportTenPages)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
