#include "ScoreHeader.h"

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

int ResolvedHeader::microsecondsPerQuarter() const {
    return int(std::lround(60000000.0 / quarterTempo()));
}

ResolvedHeader Resolve(const ScoreHeader& header) {
    ResolvedHeader r;
    r.title = header.title;
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
    if (header.tempo >= 1 && header.tempo <= 999) {
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
