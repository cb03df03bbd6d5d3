#pragma once
// The four sound effects, synthesized: 16-bit mono PCM WAV files.

#include <QByteArray>
#include <QString>

#include <vector>

namespace assetgen {

constexpr int kSampleRate = 22050;

// A RIFF/WAVE file around the samples.
QByteArray EncodeWav(const std::vector<qint16>& samples, int sampleRate = kSampleRate);

// kac.wav (stamp click), ding.wav (bar line bell), 5.wav (command tick),
// 0.wav (lyrics pop), written into `dir`.
void WriteSounds(const QString& dir);

}  // namespace assetgen
