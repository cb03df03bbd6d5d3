#pragma once
// A performance as a sound file: 16-bit PCM, 44.1 kHz, stereo, rendered by
// the same synthesizer and at the same level as playback.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

#include "Performance.h"

namespace qn::score {

constexpr int kWavRate = 44100;

// A RIFF/WAVE file of interleaved stereo samples.
QByteArray WavBytes(const std::vector<std::int16_t>& stereo, int sampleRate);

// Renders the performance and writes it to path; empty on success, else the reason.
QString SaveWav(const Performance& performance, const QString& path);

}  // namespace qn::score
