#include "Performance.h"

#include <algorithm>
#include <set>

namespace qn::score {

int PercussionKey(int syllable) {
    static const int keys[] = {41, 39, 52, 55, 76};
    return keys[qBound(0, syllable, 4)];
}

std::vector<int> PlayOrder(const Score& score, int from) {
    std::vector<int> order;
    const int n = int(score.measures.size());
    if (from < 0) from = 0;
    // Starting inside a repeated section, its repeat end still goes back to its start.
    int sectionStart = 0;
    for (int i = 0; i < from && i < n; ++i) {
        if (score.measures[size_t(i)].repeatStart) sectionStart = i;
        if (score.measures[size_t(i)].repeatEnd) sectionStart = i + 1;
    }
    std::set<int> taken;  // repeat ends already played back
    for (int i = from; i < n;) {
        const Measure& m = score.measures[size_t(i)];
        if (m.repeatStart) sectionStart = i;
        order.push_back(i);
        if (m.repeatEnd && taken.insert(i).second) {
            i = sectionStart;
            continue;
        }
        if (m.repeatEnd) sectionStart = i + 1;
        ++i;
    }
    return order;
}

int FirstMeasureFromLine(const Score& score, int line) {
    const auto& ms = score.measures;
    for (size_t i = 0; i < ms.size(); ++i)
        if (ms[i].line >= line) return int(i);
    return int(ms.size());
}

double Performance::secondsAt(std::int64_t tick) const {
    if (songs.empty()) return double(tick) * microsecondsPerQuarter / ticksPerQuarter / 1e6;
    double seconds = 0;
    for (size_t i = 0; i < songs.size(); ++i) {
        const std::int64_t from = i == 0 ? 0 : songs[i].tick;
        if (tick <= from && i > 0) break;
        const std::int64_t to = i + 1 < songs.size() ? std::min(tick, songs[i + 1].tick) : tick;
        seconds += double(to - from) * songs[i].microsecondsPerQuarter / ticksPerQuarter / 1e6;
    }
    return seconds;
}

namespace {

// The time signature of a pickup of `length` thirty-second notes: in the
// song's beat unit when it divides, else in the shortest unit needed.
TimeSignature pickupMetre(int length, int beatUnit, std::int64_t tick) {
    int unit = beatUnit;
    while (unit < 32 && length % (32 / unit) != 0) unit *= 2;
    return TimeSignature{tick, std::max(1, length / (32 / unit)), unit};
}

}  // namespace

Performance Perform(const Score& score, const ScoreHeader& header, int from) {
    const std::vector<ResolvedSong> songs = ResolveSongs(score, header);
    const ResolvedHeader& h = songs.front().header;
    Performance p;
    p.microsecondsPerQuarter = h.microsecondsPerQuarter();
    p.beatsPerBar = h.beatsPerBar;
    p.beatUnit = h.beatUnit;
    p.keyFifths = h.key.fifths;
    p.title = h.title;

    constexpr int ticksPer32nd = kTicksPerQuarter / kQuarter;
    std::int64_t tick = 0;
    int open = -1;  // the played note a tie would continue
    int song = -1;
    std::int64_t barOrigin = 0;  // a bar line of the song playing
    std::vector<int> passes(score.measures.size(), 0);
    auto songOf = [&](int mi) {
        int s = 0;
        for (size_t i = 0; i < songs.size(); ++i)
            if (songs[i].first <= mi) s = int(i);
        return s;
    };
    for (const int mi : PlayOrder(score, from)) {
        const int si = songOf(mi);
        if (si != song) {
            if (song >= 0) {  // end the song before on a bar line
                const std::int64_t bar = std::int64_t(songs[size_t(song)].barLength()) * ticksPer32nd;
                const std::int64_t into = (tick - barOrigin) % bar;
                if (into > 0) tick += bar - into;
                open = -1;
            }
            song = si;
            const ResolvedSong& rs = songs[size_t(si)];
            p.songs.push_back(SongStart{tick, rs.header.microsecondsPerQuarter(), rs.header.key.fifths,
                                        rs.header.title, rs.header.tempoWords});
            barOrigin = tick;
            if (mi == rs.first && rs.pickup) {
                int length = 0;
                for (const Event& e : score.measures[size_t(mi)].events) length += e.duration;
                p.metres.push_back(pickupMetre(length, rs.header.beatUnit, tick));
                barOrigin = tick + std::int64_t(length) * ticksPer32nd;
            }
            p.metres.push_back(TimeSignature{barOrigin, rs.header.beatsPerBar, rs.header.beatUnit});
        }
        const KeySignature& key = songs[size_t(song)].header.key;
        const int pass = passes[size_t(mi)]++;
        const Measure& m = score.measures[size_t(mi)];
        for (size_t ei = 0; ei < m.events.size(); ++ei) {
            const Event& e = m.events[ei];
            const std::int64_t length = std::int64_t(e.duration) * ticksPer32nd;
            if (e.kind == EventKind::Rest) {
                open = -1;
                tick += length;
                continue;
            }
            PlayedNote n;
            n.tick = tick;
            n.length = length;
            if (e.kind == EventKind::Note) {
                n.key = qBound(0, NotePitch(e, key).midi, 127);
                n.channel = kMelodyChannel;
                n.velocity = 80;
            } else {
                n.key = PercussionKey(e.syllable);
                n.channel = kPercussionChannel;
                n.velocity = 96;
            }
            PlayedNote* held = open >= 0 ? &p.notes[size_t(open)] : nullptr;
            if (e.tiedFromPrevious && held && held->key == n.key && held->channel == n.channel &&
                held->tick + held->length == tick) {
                held->length += length;  // a tie sounds as one note
            } else {
                n.measure = mi;
                n.event = int(ei);
                n.position = e.position;
                // Verse n on the n-th pass, the first verse when there are fewer.
                for (const Lyric& l : e.lyrics)
                    if (l.verse == pass + 1 || (n.lyric.isEmpty() && l.verse == 1)) n.lyric = l.text;
                p.notes.push_back(n);
                open = int(p.notes.size()) - 1;
            }
            tick += length;
        }
    }
    if (p.songs.empty()) p.songs.push_back(SongStart{0, p.microsecondsPerQuarter, p.keyFifths, p.title, h.tempoWords});
    if (p.metres.empty()) p.metres.push_back(TimeSignature{0, p.beatsPerBar, p.beatUnit});
    p.lengthTicks = tick;
    return p;
}

}  // namespace qn::score
