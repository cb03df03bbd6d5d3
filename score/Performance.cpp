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

Performance Perform(const Score& score, const ScoreHeader& header, int from) {
    const ResolvedHeader h = Resolve(header);
    Performance p;
    p.microsecondsPerQuarter = h.microsecondsPerQuarter();
    p.beatsPerBar = h.beatsPerBar;
    p.beatUnit = h.beatUnit;
    p.keyFifths = h.key.fifths;
    p.title = h.title;

    constexpr int ticksPer32nd = kTicksPerQuarter / kQuarter;
    std::int64_t tick = 0;
    int open = -1;  // the played note a tie would continue
    for (const int mi : PlayOrder(score, from)) {
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
                n.key = qBound(0, NotePitch(e, h.key).midi, 127);
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
                p.notes.push_back(n);
                open = int(p.notes.size()) - 1;
            }
            tick += length;
        }
    }
    p.lengthTicks = tick;
    return p;
}

}  // namespace qn::score
