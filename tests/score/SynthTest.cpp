// The FluidSynth renderer, into a buffer: where the notes start and what pitch
// they sound at.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <cmath>
#include <cstring>

#include "PageReader.h"
#include "SynthRenderer.h"
#include "SynthSource.h"
#include "WavWriter.h"
#include "KnownMelody.h"
#include "Typing.h"

using namespace qn;
using namespace qn::score;

namespace {

constexpr int kRate = 44100;

// Mono mix of an interleaved stereo buffer from frame `from`, `frames` long.
std::vector<double> mono(const std::vector<std::int16_t>& pcm, std::int64_t from, std::int64_t frames) {
    std::vector<double> out;
    for (std::int64_t f = from; f < from + frames && 2 * f + 1 < std::int64_t(pcm.size()); ++f)
        out.push_back((pcm[size_t(2 * f)] + pcm[size_t(2 * f + 1)]) / 2.0);
    return out;
}

// Fundamental by autocorrelation over lags of 1 to 20 ms: the first lag whose
// normalised correlation comes within 10 % of the best (a piano tone's
// harmonics make zero crossings useless, and the best peak may be an octave low).
double pitchOf(const std::vector<double>& x) {
    const int minLag = kRate / 1000, maxLag = kRate / 50;
    std::vector<double> r(size_t(maxLag + 1), 0.0);
    double best = 0;
    for (int lag = minLag; lag <= maxLag; ++lag) {
        double s = 0, e1 = 0, e2 = 0;
        for (size_t i = 0; i + size_t(lag) < x.size(); ++i) {
            s += x[i] * x[i + size_t(lag)];
            e1 += x[i] * x[i];
            e2 += x[i + size_t(lag)] * x[i + size_t(lag)];
        }
        r[size_t(lag)] = (e1 > 0 && e2 > 0) ? s / std::sqrt(e1 * e2) : 0;
        best = std::max(best, r[size_t(lag)]);
    }
    for (int lag = minLag + 1; lag < maxLag; ++lag) {
        const double v = r[size_t(lag)];
        if (v >= 0.9 * best && v >= r[size_t(lag - 1)] && v >= r[size_t(lag + 1)]) {
            // Parabolic refinement of the peak.
            const double a = r[size_t(lag - 1)], c = r[size_t(lag + 1)];
            const double d = (a - c) / (2 * (a - 2 * v + c));
            return kRate / (lag + (std::isfinite(d) ? d : 0));
        }
    }
    return 0;
}

// First frame from `from` whose level passes a small threshold.
std::int64_t onset(const std::vector<std::int16_t>& pcm, std::int64_t from) {
    for (std::int64_t f = from; 2 * f + 1 < std::int64_t(pcm.size()); ++f)
        if (std::abs(pcm[size_t(2 * f)]) > 300 || std::abs(pcm[size_t(2 * f + 1)]) > 300) return f;
    return -1;
}

Performance typed(const char* script, int tempo) {
    test::TestWindow w;
    test::typeScript(w, QString::fromUtf8(script));
    ScoreHeader h;
    h.tempo = tempo;
    return Perform(ReadPage(w.ed.page, w.pitch), h);
}

std::unique_ptr<SynthRenderer> renderer() {
    QString error;
    auto r = SynthRenderer::Create(DefaultSoundFont(), kRate, &error);
    EXPECT_TRUE(r) << error.toStdString();
    return r;
}

}  // namespace

TEST(Synth, NotesStartOnTimeAtTheirPitch) {
    if (DefaultSoundFont().isEmpty()) GTEST_SKIP() << "no General MIDI SoundFont (Debian timgm6mb-soundfont)";
    auto synth = renderer();
    ASSERT_TRUE(synth);
    // 1 5 3 in C at 120 quarters a minute: C4 at 0 s, G4 at 0.5 s, E4 at 1 s.
    const Performance p = typed("1 5 3", 120);
    const std::vector<std::int16_t> pcm = synth->RenderAll(p);
    ASSERT_EQ(std::int64_t(pcm.size()), 2 * (kRate * 3 / 2 + kRate / 2)) << "1.5 s and the release tail";

    const std::int64_t first = onset(pcm, 0);
    ASSERT_GE(first, 0) << "silence";
    EXPECT_LT(first, kRate * 15 / 1000) << "the first note starts late: " << first << " frames";

    const struct {
        double start, hz;
    } notes[] = {{0.0, 261.63}, {0.5, 392.00}, {1.0, 329.63}};
    for (const auto& n : notes) {
        const std::int64_t at = std::int64_t(n.start * kRate) + kRate / 50;
        const double hz = pitchOf(mono(pcm, at, kRate / 5));
        EXPECT_NEAR(hz, n.hz, n.hz * 0.015) << "note at " << n.start << " s";
    }
}

TEST(Synth, PercussionSoundsOnTheDrumChannel) {
    if (DefaultSoundFont().isEmpty()) GTEST_SKIP() << "no General MIDI SoundFont (Debian timgm6mb-soundfont)";
    auto synth = renderer();
    ASSERT_TRUE(synth);
    const Performance p = typed("r Z", 120);
    ASSERT_EQ(p.notes.size(), 1u);
    EXPECT_EQ(p.notes[0].channel, kPercussionChannel);
    const std::vector<std::int16_t> pcm = synth->RenderAll(p);
    EXPECT_EQ(onset(pcm, 0), onset(pcm, kRate / 2)) << "nothing sounds during the rest";
    EXPECT_LT(onset(pcm, 0) - kRate / 2, kRate * 15 / 1000);
}

TEST(Synth, ChunkedRenderingEqualsRenderingAtOnce) {
    if (DefaultSoundFont().isEmpty()) GTEST_SKIP() << "no General MIDI SoundFont (Debian timgm6mb-soundfont)";
    // A playback sink asks for whatever it needs each time; the notes must
    // come out the same.
    auto once = renderer(), chunked = renderer();
    ASSERT_TRUE(once && chunked);
    const Performance p = typed("/1 1 2 3 4 /0 5 -", 150);
    const std::vector<std::int16_t> whole = once->RenderAll(p);
    chunked->SetPerformance(p);
    std::vector<std::int16_t> pieces;
    std::vector<std::int16_t> buf(2 * 997);
    for (int got; (got = chunked->Render(buf.data(), 997)) > 0;) pieces.insert(pieces.end(), buf.begin(), buf.begin() + 2 * got);
    EXPECT_EQ(pieces, whole);
    EXPECT_EQ(chunked->Render(buf.data(), 997), 0) << "nothing after the end";
}

TEST(Synth, ReadAsADeviceTheWayASinkPullsIt) {
    if (DefaultSoundFont().isEmpty()) GTEST_SKIP() << "no General MIDI SoundFont (Debian timgm6mb-soundfont)";
    auto once = renderer(), pulled = renderer();
    ASSERT_TRUE(once && pulled);
    const Performance p = typed("1 2 -", 200);
    const std::vector<std::int16_t> whole = once->RenderAll(p);
    pulled->SetPerformance(p);
    SynthSource source(*pulled);
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    EXPECT_EQ(source.bytesAvailable(), qint64(whole.size()) * 2);
    QByteArray bytes;
    // Odd sizes too: a sink asks for what its buffer has room for.
    for (qint64 ask : {4099, 1, 3, 16384}) bytes += source.read(ask);
    while (!source.atEnd()) bytes += source.read(8192);
    EXPECT_EQ(bytes.size(), qint64(whole.size()) * 2);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(whole.data()), qint64(whole.size()) * 2), bytes);
    EXPECT_EQ(source.read(4096), QByteArray());
}

TEST(Synth, TheSoundingNote) {
    if (DefaultSoundFont().isEmpty()) GTEST_SKIP() << "no General MIDI SoundFont (Debian timgm6mb-soundfont)";
    auto synth = renderer();
    ASSERT_TRUE(synth);
    const Performance p = typed("1 r 3 Z", 120);  // 0.5 s each
    synth->SetPerformance(p);
    EXPECT_EQ(synth->NoteAt(kRate / 4), 0);
    EXPECT_EQ(synth->NoteAt(kRate * 3 / 4), -1) << "the rest";
    EXPECT_EQ(synth->NoteAt(kRate * 5 / 4), 1);
    EXPECT_EQ(synth->NoteAt(kRate * 7 / 4), 2);
    EXPECT_EQ(synth->NoteAt(kRate * 3), -1) << "after the end";
    EXPECT_EQ(synth->frameOf(p.notes[1].tick), kRate);
}

TEST(Synth, AMissingSoundFontIsReported) {
    QString error;
    EXPECT_FALSE(SynthRenderer::Create(QStringLiteral("/no/such/font.sf2"), kRate, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("/no/such/font.sf2"))) << error.toStdString();
    EXPECT_FALSE(SynthRenderer::Create(QString(), kRate, &error));
    EXPECT_FALSE(error.isEmpty());
    if (!DefaultSoundFont().isEmpty()) {
        EXPECT_FALSE(SynthRenderer::Create(DefaultSoundFont(), 100, &error));
        EXPECT_TRUE(error.contains(QStringLiteral("sample rate")));
    }
}

// The level a listener expects: a known melody as a sound file, peaks
// between -6 and -1 dBFS, as long as the performance, starting on its first pitch.
TEST(Synth, ASoundFileAtAListeningLevel) {
    if (DefaultSoundFont().isEmpty()) GTEST_SKIP() << "no General MIDI SoundFont (Debian timgm6mb-soundfont)";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("scale.wav"));
    for (const bool drums : {false, true}) {
        SCOPED_TRACE(drums ? "melody and drums" : "piano melody");
        const Performance p = drums ? Perform(test::knownMelody(), test::knownHeader()) : typed("1 2 3 4 5 6 7 8", 72);
        ASSERT_EQ(SaveWav(p, path), QString());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray b = f.readAll();
        ASSERT_GE(b.size(), 44);
        EXPECT_EQ(b.mid(0, 4), QByteArray("RIFF"));
        EXPECT_EQ(b.mid(8, 8), QByteArray("WAVEfmt "));
        EXPECT_EQ(qFromLittleEndian<quint16>(b.constData() + 22), 2);      // stereo
        EXPECT_EQ(qFromLittleEndian<quint32>(b.constData() + 24), 44100u);
        EXPECT_EQ(qFromLittleEndian<quint16>(b.constData() + 34), 16);
        std::vector<std::int16_t> pcm(size_t(b.size() - 44) / 2);
        std::memcpy(pcm.data(), b.constData() + 44, pcm.size() * 2);
        const double seconds = double(pcm.size() / 2) / 44100;
        EXPECT_NEAR(seconds, p.secondsAt(p.lengthTicks) + 0.5, 0.01);  // with the half second of tail
        int peak = 0;
        for (const auto v : pcm) peak = std::max(peak, std::abs(int(v)));
        const double dbfs = 20 * std::log10(peak / 32767.0);
        EXPECT_GE(dbfs, -6.0);
        EXPECT_LE(dbfs, -1.0);
        if (!drums) {
            const std::int64_t start = onset(pcm, 0);
            EXPECT_NEAR(pitchOf(mono(pcm, start + 2205, 8820)), 261.6, 4.0);  // C4
        }
    }
}
