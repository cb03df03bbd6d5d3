#pragma once
// Plays a performance on the default audio output: the FluidSynth renderer
// feeds a QAudioSink that pulls samples as it needs them, on the thread that
// owns the player (the window's), in small pieces, so typing goes on.
//
//   ScorePlayer player;                        // owned by the window
//   connect(&player, &ScorePlayer::finished, ...);
//   player.start(Perform(score, header, FirstMeasureFromLine(score, line)));
//   ... a timer asks player.currentNote() to move the marker ...
//   player.stop();
//
// Without an audio output, or without a SoundFont, start() plays nothing,
// writes one line on standard error and returns false.

#include <QObject>
#include <memory>

#include "Performance.h"

class QAudioSink;

namespace qn::score {

class SynthRenderer;
class SynthSource;

class ScorePlayer : public QObject {
    Q_OBJECT
public:
    explicit ScorePlayer(QObject* parent = nullptr);
    ~ScorePlayer() override;

    // Stops what plays and starts `performance` from its beginning. False when
    // nothing can sound (the reason went to standard error, once per call).
    bool start(const Performance& performance);
    // Stops at once; emits finished() if something was playing.
    void stop();
    bool isPlaying() const;

    // The note heard now, as an index into performance().notes, or -1 (a
    // rest, or not playing). Follows the audio output's clock.
    int currentNote() const;
    const Performance& performance() const { return performance_; }

signals:
    // The performance has ended, or stop() ended it.
    void finished();

private:
    void onStateChanged();
    void halt();  // drops the sink without a signal

    Performance performance_;
    std::unique_ptr<SynthRenderer> synth_;
    std::unique_ptr<SynthSource> source_;
    QAudioSink* sink_ = nullptr;
    int sampleRate_ = 44100;
};

}  // namespace qn::score
