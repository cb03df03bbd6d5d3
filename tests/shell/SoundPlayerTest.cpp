#include "SoundPlayer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A short 16-bit mono PCM tone.
void writeWav(const QString& path, int samples)
{
    const int rate = 8000;
    QByteArray pcm(samples * 2, '\0');
    for (int i = 0; i < samples; ++i) {
        const auto s = static_cast<qint16>(8000 * std::sin(i * 2 * M_PI * 440 / rate));
        qToLittleEndian(s, pcm.data() + 2 * i);
    }
    QByteArray wav;
    auto u32 = [&wav](quint32 v) { char b[4]; qToLittleEndian(v, b); wav.append(b, 4); };
    auto u16 = [&wav](quint16 v) { char b[2]; qToLittleEndian(v, b); wav.append(b, 2); };
    wav.append("RIFF");
    u32(36 + pcm.size());
    wav.append("WAVEfmt ");
    u32(16);
    u16(1);         // PCM
    u16(1);         // mono
    u32(rate);
    u32(rate * 2);  // bytes per second
    u16(2);         // block align
    u16(16);        // bits per sample
    wav.append("data");
    u32(pcm.size());
    wav.append(pcm);

    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(wav), wav.size());
}

void settle(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

TEST(SoundPlayer, MissingFileIsSilentAndLoadsNothing)
{
    QTemporaryDir dir;
    qn::SoundPlayer player(dir.path());
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < 100; ++i)
        player.play(QStringLiteral("kac.wav"));
    EXPECT_LT(t.elapsed(), 50);
    EXPECT_EQ(player.loadedSoundCount(), 0);
}

TEST(SoundPlayer, ReplaysAreCheapAndLoadEachSoundOnce)
{
    QTemporaryDir dir;
    writeWav(dir.filePath("kac.wav"), 800);
    writeWav(dir.filePath("ding.wav"), 1600);
    qn::SoundPlayer player(dir.path());

    player.play(QStringLiteral("kac.wav"));
    player.play(QStringLiteral("ding.wav"));
    settle(300);  // let the background loads finish
    EXPECT_EQ(player.loadedSoundCount(), 2);

    qint64 slowest = 0;
    QElapsedTimer total;
    total.start();
    for (int i = 0; i < 100; ++i) {
        QElapsedTimer one;
        one.start();
        player.play(i % 3 ? QStringLiteral("kac.wav") : QStringLiteral("ding.wav"));
        slowest = std::max(slowest, one.nsecsElapsed());
    }
    const qint64 totalNs = total.nsecsElapsed();
    RecordProperty("total_us_100_plays", static_cast<int>(totalNs / 1000));
    RecordProperty("slowest_play_us", static_cast<int>(slowest / 1000));
    EXPECT_LT(totalNs, 50'000'000) << "100 plays took " << totalNs / 1000 << " us";
    EXPECT_EQ(player.loadedSoundCount(), 2);
    settle(50);
}

}  // namespace
