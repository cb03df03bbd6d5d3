#include "ScoreHeader.h"

#include <algorithm>
#include <cmath>

namespace qn::score {

int TempoFromLabel(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && !(text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'))) ++i;
    long value = 0;
    bool any = false;
    for (; i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i) {
        any = true;
        value = value * 10 + (text[i].unicode() - '0');
        if (value > 999) return kDefaultTempo;
    }
    return any && value >= 1 ? int(value) : kDefaultTempo;
}

std::optional<KeySignature> KeyFromLabel(const QString& text) {
    struct Entry {
        const char* label;
        KeySignature key;
    };
    static const Entry keys[] = {
        {"C", {0, 0, 0}},   {"bD", {1, 1, -5}}, {"D", {2, 1, 2}},   {"bE", {3, 2, -3}},
        {"E", {4, 2, 4}},   {"F", {5, 3, -1}},  {"bG", {6, 4, -6}}, {"G", {7, 4, 1}},
        {"bA", {8, 5, -4}}, {"A", {9, 5, 3}},   {"bB", {10, 6, -2}}, {"B", {11, 6, 5}},
    };
    const QString t = text.trimmed();
    for (const Entry& e : keys)
        if (t == QLatin1String(e.label)) return e.key;
    return std::nullopt;
}

QString PlaceholderTitle() { return QStringLiteral("标题"); }

TempoMark TempoOfLabel(const QString& text) {
    struct Word {
        const char16_t* word;
        int bpm;
    };
    static const Word words[] = {
        {u"广板", 50},   {u"慢板", 56},   {u"柔板", 66},   {u"稍慢", 66},  {u"行板", 76},
        {u"小行板", 84}, {u"中板", 96},   {u"中速", 96},   {u"稍快", 104}, {u"小快板", 108},
        {u"快板", 132},  {u"急板", 176},  {u"自由地", 72},
    };
    TempoMark m;
    const QString t = text.trimmed();
    for (const Word& w : words)
        if (t == QString::fromUtf16(w.word)) {
            m.bpm = w.bpm;
            m.words = t;
            return m;
        }
    qsizetype i = 0;
    while (i < t.size() && !t[i].isDigit()) ++i;
    if (i == t.size()) {
        m.words = t;
        if (!t.isEmpty()) m.problem = QStringLiteral("tempo word \"%1\" is not in the tempo table, 72 used").arg(t);
        return m;
    }
    long value = 0;
    for (; i < t.size() && t[i] >= QLatin1Char('0') && t[i] <= QLatin1Char('9') && value <= 999; ++i)
        value = value * 10 + (t[i].unicode() - '0');
    if (value >= 1 && value <= 999) {
        m.bpm = int(value);
    } else {
        m.problem = QStringLiteral("tempo \"%1\" out of range 1..999, 72 used").arg(t);
    }
    return m;
}

ScoreHeader HeaderOf(const SongHead& head) {
    ScoreHeader h;
    h.title = head.title;
    h.key = head.key;
    h.beatsPerBar = head.beatsPerBar;
    h.beatUnit = head.beatUnit;
    h.tempoLabel = head.tempo;
    h.tempo = TempoOfLabel(head.tempo).bpm;
    return h;
}

std::vector<ResolvedSong> ResolveSongs(const Score& score, const ScoreHeader& page) {
    std::vector<ResolvedSong> out;
    const int n = std::max<int>(1, int(score.songs.size()));
    for (int i = 0; i < n; ++i) {
        ResolvedSong s;
        const Song* song = i < int(score.songs.size()) ? &score.songs[size_t(i)] : nullptr;
        s.first = song ? song->firstMeasure : 0;
        s.end = song ? score.songEnd(i) : int(score.measures.size());
        s.header = Resolve(song && song->head ? HeaderOf(*song->head) : page);
        if (n > 1)
            for (QString& p : s.header.problems) p = QStringLiteral("song %1: %2").arg(i + 1).arg(p);
        if (s.end - s.first > 1) {
            int first = 0;
            for (const Event& e : score.measures[size_t(s.first)].events) first += e.duration;
            s.pickup = first < s.barLength();
        }
        out.push_back(s);
    }
    return out;
}

int ResolvedHeader::microsecondsPerQuarter() const {
    return int(std::lround(60000000.0 / quarterTempo()));
}

ResolvedHeader Resolve(const ScoreHeader& header) {
    ResolvedHeader r;
    r.title = header.title.trimmed() == PlaceholderTitle() ? QString() : header.title;
    if (const auto key = KeyFromLabel(header.key)) {
        r.key = *key;
    } else {
        r.problems << QStringLiteral("unknown key \"%1\", C used").arg(header.key);
    }
    if (header.beatsPerBar >= 1 && header.beatsPerBar <= 32) {
        r.beatsPerBar = header.beatsPerBar;
    } else {
        r.problems << QStringLiteral("beats per bar %1 out of range, 4 used").arg(header.beatsPerBar);
    }
    const int u = header.beatUnit;
    if (u == 1 || u == 2 || u == 4 || u == 8 || u == 16 || u == 32) {
        r.beatUnit = u;
    } else {
        r.problems << QStringLiteral("beat unit %1 is not a note value, 4 used").arg(u);
    }
    if (!header.tempoLabel.isEmpty()) {
        const TempoMark m = TempoOfLabel(header.tempoLabel);
        r.tempo = m.bpm;
        r.tempoWords = m.words;
        if (!m.problem.isEmpty()) r.problems << m.problem;
    } else if (header.tempo >= 1 && header.tempo <= 999) {
        r.tempo = header.tempo;
    } else {
        r.problems << QStringLiteral("tempo %1 out of range, 72 used").arg(header.tempo);
    }
    return r;
}

namespace {
constexpr int kMajorScale[7] = {0, 2, 4, 5, 7, 9, 11};
constexpr int kLetterSemitone[7] = {0, 2, 4, 5, 7, 9, 11};
}  // namespace

Pitch NotePitch(const Event& note, const KeySignature& key) {
    const int d = qBound(1, note.degree, 7) - 1;
    Pitch p;
    p.midi = 60 + key.tonic + kMajorScale[d] + 12 * note.octave + note.alter;
    p.step = (key.letter + d) % 7;
    // The letter's own pitch class against the sounding one gives the alteration.
    int diff = ((key.tonic + kMajorScale[d] + note.alter - kLetterSemitone[p.step]) % 12 + 12) % 12;
    if (diff > 6) diff -= 12;
    p.alter = diff;
    p.octave = (p.midi - p.alter) / 12 - 1;
    return p;
}

QString StepName(int step) {
    static const char names[] = "CDEFGAB";
    return QString(QLatin1Char(names[qBound(0, step, 6)]));
}

}  // namespace qn::score
