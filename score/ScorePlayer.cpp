#include "ScorePlayer.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#include <cstdio>

#include "SynthRenderer.h"
#include "SynthSource.h"

namespace qn::score {

namespace {
void complain(const char* what) { std::fprintf(stderr, "Quillnote: the score is not played: %s\n", what); }
}  // namespace

ScorePlayer::ScorePlayer(QObject* parent) : QObject(parent) {}

ScorePlayer::~ScorePlayer() {
    if (sink_) {
        sink_->disconnect(this);
        sink_->stop();
    }
}

bool ScorePlayer::start(const Performance& performance) {
    stop();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        complain("no audio output");
        return false;
    }
    QAudioFormat format;
    format.setChannelCount(2);
    format.setSampleFormat(QAudioFormat::Int16);
    format.setSampleRate(44100);
    if (!device.isFormatSupported(format)) format.setSampleRate(device.preferredFormat().sampleRate());
    if (!device.isFormatSupported(format)) {
        complain("the audio output takes no 16-bit stereo");
        return false;
    }
    if (!synth_ || sampleRate_ != format.sampleRate()) {
        QString error;
        synth_ = SynthRenderer::Create(DefaultSoundFont(), format.sampleRate(), &error);
        sampleRate_ = format.sampleRate();
        if (!synth_) {
            complain(error.toLocal8Bit().constData());
            return false;
        }
    }
    performance_ = performance;
    synth_->SetPerformance(performance_);
    source_ = std::make_unique<SynthSource>(*synth_);
    source_->open(QIODevice::ReadOnly);

    sink_ = new QAudioSink(device, format, this);
    sink_->setBufferSize(format.bytesForDuration(100000));  // 0.1 s: the marker stays close
    connect(sink_, &QAudioSink::stateChanged, this, &ScorePlayer::onStateChanged);
    sink_->start(source_.get());
    if (sink_->error() != QAudio::NoError) {
        complain("the audio output could not be opened");
        halt();
        return false;
    }
    return true;
}

void ScorePlayer::stop() {
    if (!sink_) return;
    halt();
    emit finished();
}

void ScorePlayer::halt() {
    sink_->disconnect(this);
    sink_->stop();
    sink_->deleteLater();
    sink_ = nullptr;
}

bool ScorePlayer::isPlaying() const {
    return sink_ && (sink_->state() == QAudio::ActiveState || sink_->state() == QAudio::IdleState);
}

int ScorePlayer::currentNote() const {
    if (!isPlaying() || !synth_) return -1;
    const std::int64_t frame = sink_->processedUSecs() * sampleRate_ / 1000000;
    return synth_->NoteAt(frame);
}

void ScorePlayer::onStateChanged() {
    if (!sink_) return;
    // Idle with the renderer at its end: everything has been heard.
    const bool done = (sink_->state() == QAudio::IdleState && source_ && source_->atEnd()) ||
                      sink_->state() == QAudio::StoppedState;
    if (!done) return;
    if (sink_->error() != QAudio::NoError && sink_->error() != QAudio::UnderrunError)
        complain("the audio output failed");
    halt();
    emit finished();
}

}  // namespace qn::score
