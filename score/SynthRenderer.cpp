#include "SynthRenderer.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <fluidsynth.h>

namespace qn::score {

QString DefaultSoundFont() {
    for (const char* path : {"/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/default-GM.sf2"})
        if (QFileInfo(QString::fromLatin1(path)).isReadable()) return QString::fromLatin1(path);
    return QString();
}

struct SynthRenderer::Private {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    ~Private() {
        if (synth) delete_fluid_synth(synth);
        if (settings) delete_fluid_settings(settings);
    }
};

std::unique_ptr<SynthRenderer> SynthRenderer::Create(const QString& soundFont, int sampleRate, QString* error) {
    auto fail = [&](const QString& why) {
        if (error) *error = why;
        return std::unique_ptr<SynthRenderer>();
    };
    if (soundFont.isEmpty()) return fail(QStringLiteral("no General MIDI SoundFont installed"));
    if (!QFileInfo(soundFont).isReadable()) return fail(QStringLiteral("cannot read the SoundFont %1").arg(soundFont));
    if (sampleRate < 8000 || sampleRate > 192000) return fail(QStringLiteral("sample rate %1 not supported").arg(sampleRate));

    // FluidSynth reports missing drivers and the like on stderr; we use none.
    fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
    fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
    fluid_set_log_function(FLUID_DBG, nullptr, nullptr);

    std::unique_ptr<SynthRenderer> r(new SynthRenderer());
    r->d_ = std::make_unique<Private>();
    r->sampleRate_ = sampleRate;
    r->d_->settings = new_fluid_settings();
    if (!r->d_->settings) return fail(QStringLiteral("FluidSynth settings could not be made"));
    fluid_settings_setnum(r->d_->settings, "synth.sample-rate", sampleRate);
    fluid_settings_setint(r->d_->settings, "synth.threadsafe-api", 0);
    r->d_->synth = new_fluid_synth(r->d_->settings);
    if (!r->d_->synth) return fail(QStringLiteral("FluidSynth could not be started"));
    if (fluid_synth_sfload(r->d_->synth, soundFont.toLocal8Bit().constData(), 1) == FLUID_FAILED)
        return fail(QStringLiteral("FluidSynth could not load %1").arg(soundFont));
    fluid_synth_program_change(r->d_->synth, kMelodyChannel, 0);  // acoustic grand piano
    return r;
}

SynthRenderer::~SynthRenderer() = default;

std::int64_t SynthRenderer::frameOf(std::int64_t tick) const {
    return std::llround(timing_.secondsAt(tick) * sampleRate_);
}

void SynthRenderer::SetPerformance(const Performance& p) {
    // Each performance starts from silence: no voices, no reverb tail.
    fluid_synth_system_reset(d_->synth);
    fluid_synth_program_change(d_->synth, kMelodyChannel, 0);
    fluid_synth_cc(d_->synth, kPercussionChannel, 7, kPercussionVolume);
    timing_.ticksPerQuarter = p.ticksPerQuarter;
    timing_.microsecondsPerQuarter = p.microsecondsPerQuarter;
    timing_.songs = p.songs;
    cues_.clear();
    starts_.clear();
    ends_.clear();
    channels_.clear();
    for (size_t i = 0; i < p.notes.size(); ++i) {
        const PlayedNote& n = p.notes[i];
        const std::int64_t on = frameOf(n.tick), off = frameOf(n.tick + n.length);
        cues_.push_back(Cue{on, true, n.channel, n.key, n.velocity, int(i)});
        cues_.push_back(Cue{off, false, n.channel, n.key, 0, int(i)});
        starts_.push_back(on);
        ends_.push_back(off);
        channels_.push_back(n.channel);
    }
    std::stable_sort(cues_.begin(), cues_.end(), [](const Cue& a, const Cue& b) {
        return a.frame != b.frame ? a.frame < b.frame : (!a.on && b.on);
    });
    nextCue_ = 0;
    position_ = 0;
    endFrame_ = frameOf(p.lengthTicks);
}

int SynthRenderer::Render(std::int16_t* out, int frames) {
    const std::int64_t end = lengthFrames();
    int written = 0;
    while (written < frames && position_ < end) {
        while (nextCue_ < cues_.size() && cues_[nextCue_].frame <= position_) {
            const Cue& c = cues_[nextCue_++];
            if (c.on) {
                fluid_synth_noteon(d_->synth, c.channel, c.key, c.velocity);
            } else {
                fluid_synth_noteoff(d_->synth, c.channel, c.key);
            }
        }
        std::int64_t until = std::min<std::int64_t>(end, position_ + (frames - written));
        if (nextCue_ < cues_.size()) until = std::min(until, cues_[nextCue_].frame);
        const int n = int(until - position_);
        if (n > 0) {
            std::int16_t* at = out + 2 * written;
            float_.resize(size_t(n) * 2);
            fluid_synth_write_float(d_->synth, n, float_.data(), 0, 2, float_.data(), 1, 2);
            for (int i = 0; i < 2 * n; ++i) at[i] = std::int16_t(std::lround(Level(float_[size_t(i)]) * 32767.0));
            written += n;
            position_ += n;
        }
    }
    return written;
}

double SynthRenderer::Level(float sample) {
    // Below the knee the signal is only made louder; above it, it bends
    // smoothly towards the ceiling and never reaches full scale.
    const double x = double(sample) * kMakeUpGain, a = std::fabs(x);
    if (a <= kKnee) return x;
    const double over = kCeiling - kKnee;
    return std::copysign(kKnee + over * std::tanh((a - kKnee) / over), x);
}

std::vector<std::int16_t> SynthRenderer::RenderAll(const Performance& performance) {
    SetPerformance(performance);
    std::vector<std::int16_t> pcm(size_t(lengthFrames()) * 2);
    const int chunk = 4096;
    size_t done = 0;
    while (done < pcm.size() / 2) {
        const int want = int(std::min<size_t>(chunk, pcm.size() / 2 - done));
        const int got = Render(pcm.data() + 2 * done, want);
        if (got <= 0) break;
        done += size_t(got);
    }
    pcm.resize(done * 2);
    return pcm;
}

int SynthRenderer::NoteAt(std::int64_t frame) const {
    int percussion = -1;
    for (size_t i = starts_.size(); i-- > 0;) {
        if (starts_[i] > frame || frame >= ends_[i]) continue;
        if (channels_[i] == kMelodyChannel) return int(i);
        if (percussion < 0) percussion = int(i);
    }
    return percussion;
}

}  // namespace qn::score
