#include "ScoreModel.h"

#include <QStringList>

#include "ScoreHeader.h"

namespace qn::score {

int Score::eventCount() const {
    int n = 0;
    for (const Measure& m : measures) n += int(m.events.size());
    return n;
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
