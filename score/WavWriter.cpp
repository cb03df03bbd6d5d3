#include "WavWriter.h"

#include "SaveBytes.h"
#include "SynthRenderer.h"

namespace qn::score {

namespace {
void put16(QByteArray& b, quint16 v) {
    b.append(char(v & 0xFF));
    b.append(char(v >> 8));
}
void put32(QByteArray& b, quint32 v) {
    for (int shift = 0; shift < 32; shift += 8) b.append(char((v >> shift) & 0xFF));
}
}  // namespace

QByteArray WavBytes(const std::vector<std::int16_t>& stereo, int sampleRate) {
    const quint32 data = quint32(stereo.size() * 2);
    QByteArray b;
    b.reserve(int(44 + data));
    b.append("RIFF", 4);
    put32(b, 36 + data);
    b.append("WAVEfmt ", 8);
    put32(b, 16);
    put16(b, 1);  // PCM
    put16(b, 2);  // stereo
    put32(b, quint32(sampleRate));
    put32(b, quint32(sampleRate) * 4);
    put16(b, 4);
    put16(b, 16);
    b.append("data", 4);
    put32(b, data);
    for (const std::int16_t s : stereo) put16(b, quint16(s));
    return b;
}

QString SaveWav(const Performance& performance, const QString& path) {
    QString error;
    const auto synth = SynthRenderer::Create(DefaultSoundFont(), kWavRate, &error);
    if (!synth) return error;
    return SaveBytes(path, WavBytes(synth->RenderAll(performance), kWavRate));
}

}  // namespace qn::score
