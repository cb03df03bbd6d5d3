#pragma once
// A renderer as a sequential read-only device of interleaved 16-bit stereo
// frames, for an audio sink in pull mode. Reads render on demand; the device
// is at its end once the performance and its release tail are rendered.

#include <QIODevice>

#include "SynthRenderer.h"

namespace qn::score {

class SynthSource : public QIODevice {
public:
    explicit SynthSource(SynthRenderer& synth) : synth_(synth) {}
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override {
        return (synth_.lengthFrames() - synth_.position()) * 4 + QIODevice::bytesAvailable();
    }
    bool atEnd() const override { return synth_.position() >= synth_.lengthFrames() && QIODevice::bytesAvailable() == 0; }

protected:
    qint64 readData(char* data, qint64 maxlen) override {
        const int frames = int(qMin<qint64>(maxlen / 4, 1 << 16));  // whole frames only
        if (frames <= 0) return 0;
        return qint64(synth_.Render(reinterpret_cast<std::int16_t*>(data), frames)) * 4;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    SynthRenderer& synth_;
};

}  // namespace qn::score
