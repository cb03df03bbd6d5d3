#pragma once
// A performance played through FluidSynth with a General MIDI SoundFont into
// interleaved stereo 16-bit samples. No audio device is involved: the caller
// asks for frames (a playback sink, or a test that renders into a buffer).
//
//   QString error;
//   auto synth = SynthRenderer::Create(DefaultSoundFont(), 44100, &error);
//   if (!synth) { ... error says why ... }
//   std::vector<std::int16_t> pcm = synth->RenderAll(performance);
//
// One renderer is used from one thread at a time.

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "Performance.h"

namespace qn::score {

// The General MIDI SoundFont Debian installs (timgm6mb-soundfont), or the
// default-GM link when only that exists; empty when there is none.
QString DefaultSoundFont();

class SynthRenderer {
public:
    // The output level: FluidSynth's mix (its gain left at 0.2) made louder
    // by kMakeUpGain, then limited softly above kKnee so that no peak passes
    // kCeiling (-1 dBFS). Measured with TimGM6mb: a piano melody peaks at
    // -35 dBFS unamplified; ordinary music sits at -6..-1.
    static constexpr double kMakeUpGain = 30.0;
    // The drum channel's volume (controller 7): this SoundFont's drums at
    // their velocity are about 12 dB above the piano.
    static constexpr int kPercussionVolume = 64;
    static constexpr double kKnee = 0.70, kCeiling = 0.891;
    // One sample of FluidSynth's float mix at the output level, -1..1.
    static double Level(float sample);

    // Loads the SoundFont. Null on failure, with the reason in *error.
    static std::unique_ptr<SynthRenderer> Create(const QString& soundFont, int sampleRate, QString* error);
    ~SynthRenderer();
    SynthRenderer(const SynthRenderer&) = delete;
    SynthRenderer& operator=(const SynthRenderer&) = delete;

    int sampleRate() const { return sampleRate_; }

    // Starts a performance from its beginning, from silence: sounding notes
    // are cut.
    void SetPerformance(const Performance& performance);

    // Renders the next `frames` frames (2 samples each: left, right) into out.
    // Returns the frames written: fewer than asked only once the performance
    // and a release tail of `tailFrames()` are over, 0 after that.
    int Render(std::int16_t* out, int frames);

    // The whole performance with its release tail.
    std::vector<std::int16_t> RenderAll(const Performance& performance);

    std::int64_t position() const { return position_; }  // frames rendered so far
    std::int64_t lengthFrames() const { return endFrame_ + tailFrames(); }
    int tailFrames() const { return sampleRate_ / 2; }
    std::int64_t frameOf(std::int64_t tick) const;

    // The note sounding at a frame (the latest one started on the melody
    // channel, else on the percussion channel), or -1: an index into
    // Performance::notes of the performance set last.
    int NoteAt(std::int64_t frame) const;

private:
    SynthRenderer() = default;
    std::vector<float> float_;

    struct Private;
    std::unique_ptr<Private> d_;
    int sampleRate_ = 44100;

    struct Cue {
        std::int64_t frame;
        bool on;
        int channel, key, velocity, note;
    };
    std::vector<Cue> cues_;  // by frame, note-offs before note-ons
    std::vector<std::int64_t> starts_, ends_;  // per note, in frames
    std::vector<int> channels_;
    size_t nextCue_ = 0;
    std::int64_t position_ = 0;
    std::int64_t endFrame_ = 0;
    Performance timing_;  // the tempo map of the performance set (its notes dropped)
};

}  // namespace qn::score
