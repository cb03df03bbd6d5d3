#include "MidiWriter.h"

#include <algorithm>
#include <cmath>

#include "SaveBytes.h"

namespace qn::score {

namespace {

void put16(QByteArray& b, int v) {
    b.append(char((v >> 8) & 0xFF));
    b.append(char(v & 0xFF));
}
void put32(QByteArray& b, quint32 v) {
    for (int shift = 24; shift >= 0; shift -= 8) b.append(char((v >> shift) & 0xFF));
}
void putVarLen(QByteArray& b, quint32 v) {
    char bytes[5];
    int n = 0;
    bytes[n++] = char(v & 0x7F);
    while (v >>= 7) bytes[n++] = char((v & 0x7F) | 0x80);
    while (n > 0) b.append(bytes[--n]);
}
void putMeta(QByteArray& b, quint32 delta, int type, const QByteArray& data) {
    putVarLen(b, delta);
    b.append(char(0xFF));
    b.append(char(type));
    putVarLen(b, quint32(data.size()));
    b.append(data);
}
void putChunk(QByteArray& file, const char* id, const QByteArray& body) {
    file.append(id, 4);
    put32(file, quint32(body.size()));
    file.append(body);
}

struct ChannelEvent {
    std::int64_t tick;
    bool on;
    int channel, key, velocity;
    const QString* lyric;
};

}  // namespace

QByteArray MidiFile(const Performance& p) {
    // Track 0: each song's head at its tick, each time signature at its own.
    struct Meta {
        std::int64_t tick;
        int type;
        QByteArray data;
    };
    std::vector<Meta> metas;
    for (const TimeSignature& t : p.metres) {
        int log2Unit = 0;
        while ((1 << log2Unit) < t.unit && log2Unit < 7) ++log2Unit;
        QByteArray timeSig;
        timeSig.append(char(t.beats));
        timeSig.append(char(log2Unit));
        timeSig.append(char(std::max(1, 96 / std::max(1, t.unit))));  // MIDI clocks per beat
        timeSig.append(char(8));
        metas.push_back({t.tick, 0x58, timeSig});
    }
    for (size_t i = 0; i < p.songs.size(); ++i) {
        const SongStart& song = p.songs[i];
        // Texts are UTF-8 (MuseScore 3 and the common readers take them so).
        if (!song.title.isEmpty()) metas.push_back({song.tick, i == 0 ? 0x03 : 0x06, song.title.toUtf8()});
        QByteArray keySig;
        keySig.append(char(qint8(song.keyFifths)));
        keySig.append(char(0));  // major
        metas.push_back({song.tick, 0x59, keySig});
        QByteArray tempo;
        const quint32 us = quint32(std::clamp(song.microsecondsPerQuarter, 1, 0xFFFFFF));
        tempo.append(char((us >> 16) & 0xFF));
        tempo.append(char((us >> 8) & 0xFF));
        tempo.append(char(us & 0xFF));
        metas.push_back({song.tick, 0x51, tempo});
        if (!song.tempoWords.isEmpty()) metas.push_back({song.tick, 0x01, song.tempoWords.toUtf8()});
    }
    std::stable_sort(metas.begin(), metas.end(), [](const Meta& a, const Meta& b) { return a.tick < b.tick; });
    QByteArray tempoTrack;
    std::int64_t metaAt = 0;
    for (const Meta& m : metas) {
        putMeta(tempoTrack, quint32(m.tick - metaAt), m.type, m.data);
        metaAt = m.tick;
    }
    putMeta(tempoTrack, quint32(std::max<std::int64_t>(0, p.lengthTicks - metaAt)), 0x2F, QByteArray());

    std::vector<ChannelEvent> events;
    events.reserve(p.notes.size() * 2);
    for (const PlayedNote& n : p.notes) {
        events.push_back({n.tick, true, n.channel, n.key, n.velocity, &n.lyric});
        events.push_back({n.tick + n.length, false, n.channel, n.key, 0, nullptr});
    }
    // At one tick a note ends before the next one starts, so repeated keys sound twice.
    std::stable_sort(events.begin(), events.end(), [](const ChannelEvent& a, const ChannelEvent& b) {
        return a.tick != b.tick ? a.tick < b.tick : (!a.on && b.on);
    });
    QByteArray noteTrack;
    putVarLen(noteTrack, 0);
    noteTrack.append(char(0xC0 | kMelodyChannel));  // acoustic grand piano
    noteTrack.append(char(0));
    std::int64_t at = 0;
    for (const ChannelEvent& e : events) {
        if (e.lyric && !e.lyric->isEmpty()) {  // the syllable just before its note
            putMeta(noteTrack, quint32(e.tick - at), 0x05, e.lyric->toUtf8());
            at = e.tick;
        }
        putVarLen(noteTrack, quint32(e.tick - at));
        at = e.tick;
        noteTrack.append(char((e.on ? 0x90 : 0x80) | (e.channel & 0x0F)));
        noteTrack.append(char(e.key & 0x7F));
        noteTrack.append(char(e.velocity & 0x7F));
    }
    putMeta(noteTrack, quint32(std::max<std::int64_t>(0, p.lengthTicks - at)), 0x2F, QByteArray());

    QByteArray file;
    QByteArray header;
    put16(header, 1);  // format 1
    put16(header, 2);  // tracks
    put16(header, p.ticksPerQuarter);
    putChunk(file, "MThd", header);
    putChunk(file, "MTrk", tempoTrack);
    putChunk(file, "MTrk", noteTrack);
    return file;
}

QString SaveMidi(const Performance& performance, const QString& path) {
    return SaveBytes(path, MidiFile(performance));
}

}  // namespace qn::score
