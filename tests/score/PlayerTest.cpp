// Playback on the audio output: without one, nothing plays and one line says why.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QTemporaryDir>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include "PageReader.h"
#include "ScorePlayer.h"
#include "Typing.h"

using namespace qn;
using namespace qn::score;

namespace {

Performance melody() {
    test::TestWindow w;
    test::typeScript(w, QStringLiteral("1 2 3 4 5"));
    ScoreHeader h;
    h.tempo = 240;
    return Perform(ReadPage(w.ed.page, w.pitch), h);
}

// Runs f with standard error going to a file; returns what was written.
template <typename F>
QByteArray captureStderr(F f) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("err"));
    std::fflush(stderr);
    const int saved = dup(2);
    const int fd = open(path.toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(fd, 2);
    f();
    std::fflush(stderr);
    dup2(saved, 2);
    close(fd);
    close(saved);
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

}  // namespace

TEST(ScorePlayer, WithoutAnAudioOutputNothingPlaysAndOneLineSaysWhy) {
    if (!QMediaDevices::audioOutputs().isEmpty()) GTEST_SKIP() << "this machine has an audio output";
    ScorePlayer player;
    int finished = 0;
    QObject::connect(&player, &ScorePlayer::finished, [&] { ++finished; });
    bool started = true;
    const QByteArray err = captureStderr([&] { started = player.start(melody()); });
    EXPECT_FALSE(started);
    EXPECT_EQ(err.count('\n'), 1) << err.toStdString();
    EXPECT_TRUE(err.startsWith("Quillnote: the score is not played")) << err.toStdString();
    EXPECT_FALSE(player.isPlaying());
    EXPECT_EQ(player.currentNote(), -1);
    player.stop();
    EXPECT_EQ(finished, 0) << "nothing was playing";
}

TEST(ScorePlayer, PlaysAndStopsOnAnAudioOutput) {
    if (QMediaDevices::audioOutputs().isEmpty()) GTEST_SKIP() << "no audio output on this machine";
    ScorePlayer player;
    int finished = 0;
    QObject::connect(&player, &ScorePlayer::finished, [&] { ++finished; });
    ASSERT_TRUE(player.start(melody()));
    QElapsedTimer t;
    t.start();
    int heard = -1;
    while (t.elapsed() < 400) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        heard = std::max(heard, player.currentNote());
    }
    EXPECT_TRUE(player.isPlaying());
    EXPECT_GE(heard, 0);
    player.stop();
    EXPECT_EQ(finished, 1);
    EXPECT_FALSE(player.isPlaying());
}
