#include "ScoreModel.h"

#include <QStringList>
#include <algorithm>
#include <utility>

#include "ScoreHeader.h"

namespace qn::score {

int Score::eventCount() const {
    int n = 0;
    for (const Measure& m : measures) n += int(m.events.size());
    return n;
}

const Event* Score::event(EventRef r) const {
    if (r.measure < 0 || r.measure >= int(measures.size())) return nullptr;
    const auto& es = measures[size_t(r.measure)].events;
    return r.event >= 0 && r.event < int(es.size()) ? &es[size_t(r.event)] : nullptr;
}

Event* Score::event(EventRef r) { return const_cast<Event*>(std::as_const(*this).event(r)); }

int Score::songOf(int measure) const {
    int song = 0;
    for (size_t i = 0; i < songs.size(); ++i)
        if (songs[i].firstMeasure <= measure) song = int(i);
    return song;
}

int Score::songEnd(int song) const {
    return song + 1 < int(songs.size()) ? songs[size_t(song) + 1].firstMeasure : int(measures.size());
}

namespace {
const char16_t* const kSyllables[] = {u"冬", u"X", u"仓", u"次", u"板"};

QString eventText(const Event& e) {
    QString s;
    if (e.tiedFromPrevious) s += QLatin1Char('~');
    switch (e.kind) {
    case EventKind::Note:
        switch (e.accidental) {
        case Accidental::Sharp: s += QLatin1Char('#'); break;
        case Accidental::Flat: s += QLatin1Char('b'); break;
        case Accidental::Natural: s += QLatin1Char('n'); break;
        case Accidental::None: break;
        }
        s += QString::number(e.degree);
        s += QString(qAbs(e.octave), e.octave > 0 ? QLatin1Char('\'') : QLatin1Char(','));
        break;
    case EventKind::Rest: s += QLatin1Char('0'); break;
    case EventKind::Percussion:
        s += (e.syllable >= 0 && e.syllable < 5) ? QString::fromUtf16(kSyllables[e.syllable]) : QStringLiteral("?");
        break;
    }
    return s + QLatin1Char(':') + QString::number(e.duration);
}
}  // namespace

QString ScoreText(const Score& score) {
    QStringList parts;
    for (const Measure& m : score.measures) {
        if (m.repeatStart) parts << QStringLiteral("|:");
        for (const Event& e : m.events) parts << eventText(e);
        if (m.repeatEnd) {
            parts << QStringLiteral(":|");
            continue;
        }
        switch (m.end) {
        case BarEnd::Single: parts << QStringLiteral("|"); break;
        case BarEnd::Double: parts << QStringLiteral("||"); break;
        case BarEnd::Final: parts << QStringLiteral("|]"); break;
        case BarEnd::Open: break;
        }
    }
    return parts.join(QLatin1Char(' '));
}

}  // namespace qn::score

namespace qn::score {

QString HarmonyText(const Harmony& h) {
    QString s = QString::number(h.degree);
    if (h.plus) s += QLatin1Char('+');
    if (h.minus) s += QLatin1Char('-');
    if (h.seventh) s += QLatin1Char('7');
    if (h.ninth) s += QLatin1Char('9');
    if (h.fourth) s += QLatin1Char('4');
    if (h.quality == Harmony::Quality::Min) s += QStringLiteral("MIN");
    if (h.quality == Harmony::Quality::Max) s += QStringLiteral("MAX");
    return s;
}

QString MarksText(const Score& score) {
    QStringList parts;
    auto ref = [](EventRef r) { return QStringLiteral("%1.%2").arg(r.measure).arg(r.event); };
    for (size_t i = 0; i < score.songs.size(); ++i) {
        const Song& song = score.songs[i];
        if (!song.head) continue;
        parts << QStringLiteral("song@%1 \"%2\" 1=%3 %4/%5 %6")
                     .arg(song.firstMeasure)
                     .arg(song.head->title, song.head->key)
                     .arg(song.head->beatsPerBar)
                     .arg(song.head->beatUnit)
                     .arg(song.head->tempo);
    }
    for (size_t m = 0; m < score.measures.size(); ++m) {
        for (const Harmony& h : score.measures[m].harmonies)
            parts << QStringLiteral("chord@%1%2 %3")
                         .arg(m)
                         .arg(h.event >= 0 ? QStringLiteral(".%1").arg(h.event) : QString())
                         .arg(HarmonyText(h));
    }
    for (const Arc& a : score.arcs)
        parts << QStringLiteral("%1 %2-%3").arg(a.tie ? QStringLiteral("tie") : QStringLiteral("slur"), ref(a.from),
                                               ref(a.to));
    // Lyrics verse by verse, syllables joined as the words read.
    int verses = 0;
    for (const Measure& m : score.measures)
        for (const Event& e : m.events)
            for (const Lyric& l : e.lyrics) verses = std::max(verses, l.verse);
    for (int v = 1; v <= verses; ++v) {
        QString text;
        for (const Measure& m : score.measures)
            for (const Event& e : m.events)
                for (const Lyric& l : e.lyrics) {
                    if (l.verse != v) continue;
                    if (!text.isEmpty() && (l.syllabic == Syllabic::Single || l.syllabic == Syllabic::Begin))
                        text += QLatin1Char(' ');
                    else if (!text.isEmpty())
                        text += QLatin1Char('-');
                    text += l.text;
                }
        parts << QStringLiteral("verse%1 %2").arg(v).arg(text);
    }
    for (const Direction& d : score.directions) {
        static const char* const kinds[] = {"words", "dynamics", "cresc", "dim", "grace"};
        parts << QStringLiteral("%1@%2 %3").arg(QLatin1String(kinds[int(d.kind)]), ref(d.at), d.text);
    }
    return parts.join(QStringLiteral(" | "));
}

}  // namespace qn::score
