#include "Sounds.h"

#include "Output.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>

namespace assetgen {

namespace {

constexpr double kPi = 3.14159265358979323846;

void PutLe(QByteArray& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// Samples f(t) for t in seconds, scaled to 16 bits; a 2 ms fade at the end keeps
// the last sample from clicking.
std::vector<qint16> Render(double seconds, const std::function<double(double)>& f) {
    const int n = static_cast<int>(seconds * kSampleRate);
    const int fade = kSampleRate / 500;
    std::vector<qint16> out(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        double v = f(static_cast<double>(i) / kSampleRate);
        if (n - i < fade) v *= static_cast<double>(n - i) / fade;
        v = std::clamp(v, -1.0, 1.0);
        out[static_cast<std::size_t>(i)] = static_cast<qint16>(std::lround(v * 32767.0));
    }
    return out;
}

// Deterministic noise in [-1, 1]: the files must come out the same every build.
class Noise {
public:
    double next() {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<double>(state_ >> 8) / static_cast<double>(1u << 23) - 1.0;
    }

private:
    std::uint32_t state_ = 12345u;
};

std::vector<qint16> Click() {
    Noise noise;
    return Render(0.06, [&noise](double t) {
        const double env = std::exp(-t / 0.006);
        return env * (0.45 * noise.next() + 0.4 * std::sin(2 * kPi * 2200 * t));
    });
}

std::vector<qint16> Ding() {
    return Render(0.25, [](double t) {
        const double attack = std::min(1.0, t / 0.002);
        const double base = 1320.0;
        // Inharmonic partials, the upper ones dying faster, give the bell colour.
        const double v = 0.50 * std::exp(-t / 0.09) * std::sin(2 * kPi * base * t) +
                         0.25 * std::exp(-t / 0.05) * std::sin(2 * kPi * base * 2.76 * t) +
                         0.12 * std::exp(-t / 0.03) * std::sin(2 * kPi * base * 5.40 * t);
        return attack * v;
    });
}

std::vector<qint16> Tick() {
    return Render(0.05, [](double t) {
        const double attack = std::min(1.0, t / 0.001);
        return 0.3 * attack * std::exp(-t / 0.01) * std::sin(2 * kPi * 1500 * t);
    });
}

std::vector<qint16> Pop() {
    return Render(0.08, [](double t) {
        const double attack = std::min(1.0, t / 0.002);
        // Falling pitch, 500 Hz to about 150 Hz: phase is the integral of the frequency.
        const double tau = 0.025;
        const double phase = 2 * kPi * (150 * t + 350 * tau * (1 - std::exp(-t / tau)));
        return 0.6 * attack * std::exp(-t / 0.02) * std::sin(phase);
    });
}

}  // namespace

QByteArray EncodeWav(const std::vector<qint16>& samples, int sampleRate) {
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    QByteArray out;
    out.append("RIFF");
    PutLe(out, 36 + dataBytes, 4);
    out.append("WAVEfmt ");
    PutLe(out, 16, 4);
    PutLe(out, 1, 2);  // PCM
    PutLe(out, 1, 2);  // mono
    PutLe(out, static_cast<std::uint32_t>(sampleRate), 4);
    PutLe(out, static_cast<std::uint32_t>(sampleRate) * 2, 4);
    PutLe(out, 2, 2);   // block align
    PutLe(out, 16, 2);  // bits per sample
    out.append("data");
    PutLe(out, dataBytes, 4);
    for (qint16 s : samples) PutLe(out, static_cast<std::uint16_t>(s), 2);
    return out;
}

void WriteSounds(const QString& dir) {
    MakeDir(dir);
    WriteBytes(EncodeWav(Click()), dir + "/kac.wav");
    WriteBytes(EncodeWav(Ding()), dir + "/ding.wav");
    WriteBytes(EncodeWav(Tick()), dir + "/5.wav");
    WriteBytes(EncodeWav(Pop()), dir + "/0.wav");
}

}  // namespace assetgen
