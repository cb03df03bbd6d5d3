#pragma once
// A small standard MIDI file reader for tests: header, meta events of
// interest, and the notes (note-on with velocity 0 counts as note-off;
// running status understood).

#include <QByteArray>
#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace qn::test {

struct MidiNote {
    std::int64_t on = 0, off = 0;
    int channel = 0, key = 0, velocity = 0;
    bool operator==(const MidiNote& o) const {
        return std::tie(on, off, channel, key, velocity) == std::tie(o.on, o.off, o.channel, o.key, o.velocity);
    }
};

struct MidiData {
    int format = -1, tracks = 0, division = 0;
    std::vector<int> tempos;                    // microseconds per quarter, in order
    std::vector<std::vector<int>> timeSignatures;  // the four data bytes
    std::vector<std::vector<int>> keySignatures;   // sf (signed), mi
    std::vector<std::string> trackNames;
    struct Meta {
        std::int64_t tick = 0;
        int track = 0, type = 0;
        std::string data;
    };
    std::vector<Meta> metas;                    // every meta event, track by track
    std::vector<MidiNote> notes;                // by start, then key
    std::string error;                          // empty when the file parsed
};

inline MidiData ParseMidi(const QByteArray& bytes) {
    MidiData d;
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData());
    const size_t n = size_t(bytes.size());
    size_t p = 0;
    auto u32 = [&](size_t at) { return (quint32(b[at]) << 24) | (quint32(b[at + 1]) << 16) | (quint32(b[at + 2]) << 8) | b[at + 3]; };
    auto u16 = [&](size_t at) { return (int(b[at]) << 8) | b[at + 1]; };
    if (n < 14 || std::string(bytes.constData(), 4) != "MThd") {
        d.error = "no MThd";
        return d;
    }
    d.format = u16(8);
    d.tracks = u16(10);
    d.division = u16(12);
    p = 8 + u32(4);
    for (int t = 0; t < d.tracks; ++t) {
        if (p + 8 > n || std::string(bytes.constData() + p, 4) != "MTrk") {
            d.error = "missing track " + std::to_string(t);
            return d;
        }
        const size_t end = p + 8 + u32(p + 4);
        if (end > n) {
            d.error = "track runs past the file";
            return d;
        }
        p += 8;
        std::int64_t tick = 0;
        int status = 0;
        std::map<std::pair<int, int>, std::vector<MidiNote>> open;
        auto varLen = [&]() {
            quint32 v = 0;
            while (p < end) {
                const unsigned char c = b[p++];
                v = (v << 7) | (c & 0x7F);
                if (!(c & 0x80)) break;
            }
            return v;
        };
        while (p < end) {
            tick += varLen();
            if (p >= end) break;
            if (b[p] & 0x80) status = b[p++];
            if (status == 0xFF) {
                const int type = b[p++];
                const quint32 len = varLen();
                if (type == 0x51 && len == 3) d.tempos.push_back((b[p] << 16) | (b[p + 1] << 8) | b[p + 2]);
                if (type == 0x58) d.timeSignatures.push_back(std::vector<int>(b + p, b + p + len));
                if (type == 0x59 && len == 2) d.keySignatures.push_back({int(static_cast<signed char>(b[p])), b[p + 1]});
                if (type == 0x03) d.trackNames.emplace_back(reinterpret_cast<const char*>(b + p), len);
                d.metas.push_back({std::int64_t(tick), t, type, std::string(reinterpret_cast<const char*>(b + p), len)});
                p += len;
                status = 0;
            } else if (status == 0xF0 || status == 0xF7) {
                p += varLen();
                status = 0;
            } else {
                const int kind = status & 0xF0, ch = status & 0x0F;
                const int a = b[p++];
                const int v = (kind == 0xC0 || kind == 0xD0) ? 0 : b[p++];
                if (kind == 0x90 && v > 0) {
                    open[{ch, a}].push_back(MidiNote{tick, tick, ch, a, v});
                } else if (kind == 0x80 || (kind == 0x90 && v == 0)) {
                    auto& list = open[{ch, a}];
                    if (!list.empty()) {
                        MidiNote note = list.front();
                        list.erase(list.begin());
                        note.off = tick;
                        d.notes.push_back(note);
                    }
                }
            }
        }
        p = end;
    }
    std::stable_sort(d.notes.begin(), d.notes.end(), [](const MidiNote& x, const MidiNote& y) {
        return std::tie(x.on, x.key) < std::tie(y.on, y.key);
    });
    return d;
}

}  // namespace qn::test
