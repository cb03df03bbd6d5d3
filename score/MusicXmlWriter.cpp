#include "MusicXmlWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QXmlStreamWriter>
#include <map>
#include <vector>

#include "Performance.h"
#include "SaveBytes.h"

namespace qn::score {

namespace {

struct NoteValue {
    int duration;  // thirty-second notes
    const char* type;
    int dots;
};
// Every value one note can show, longest first.
const NoteValue kValues[] = {
    {60, "whole", 3}, {56, "whole", 2}, {48, "whole", 1}, {32, "whole", 0}, {30, "half", 3},
    {28, "half", 2},  {24, "half", 1},  {16, "half", 0},  {15, "quarter", 3}, {14, "quarter", 2},
    {12, "quarter", 1}, {8, "quarter", 0}, {7, "eighth", 2}, {6, "eighth", 1}, {4, "eighth", 0},
    {3, "16th", 1},   {2, "16th", 0},   {1, "32nd", 0},
};

// A duration as tied note values.
std::vector<NoteValue> splitDuration(int duration) {
    std::vector<NoteValue> pieces;
    while (duration > 0) {
        if (duration >= 64) {  // long holds read best as whole notes
            pieces.push_back(kValues[3]);
            duration -= 32;
            continue;
        }
        for (const NoteValue& v : kValues) {
            if (v.duration <= duration) {
                pieces.push_back(v);
                duration -= v.duration;
                break;
            }
        }
    }
    return pieces;
}

const char* beatUnitName(int unit) {
    switch (unit) {
    case 1: return "whole";
    case 2: return "half";
    case 8: return "eighth";
    case 16: return "16th";
    case 32: return "32nd";
    default: return "quarter";
    }
}

const char* accidentalName(int alter) {
    switch (alter) {
    case -2: return "flat-flat";
    case -1: return "flat";
    case 1: return "sharp";
    case 2: return "double-sharp";
    default: return "natural";
    }
}

// Where a syllable sits on the percussion staff.
void percussionDisplay(int syllable, QString& step, int& octave) {
    static const char steps[] = "FCGAE";
    static const int octaves[] = {4, 5, 5, 5, 5};
    const int i = qBound(0, syllable, 4);
    step = QString(QLatin1Char(steps[i]));
    octave = octaves[i];
}

QString instrumentId(int syllable) { return QStringLiteral("P2-I%1").arg(PercussionKey(syllable)); }

// The chord symbol's MusicXML kind. The root is a degree of the key; with
// no sign its triad is the key's own (1, 4, 5 major; 2, 3, 6 minor; 7
// diminished); MIN and MAX make it minor or major, "-" minor, "+" augmented;
// a small 7 or 9 adds that degree (dominant on 5, major on 1 and 4), a
// small 4 suspends the third.
QString harmonyKind(const Harmony& h) {
    enum Triad { Major, Minor, Diminished, Augmented } t;
    const int d = qBound(1, h.degree, 7);
    t = d == 1 || d == 4 || d == 5 ? Major : d == 7 ? Diminished : Minor;
    if (h.quality == Harmony::Quality::Min) t = Minor;
    if (h.quality == Harmony::Quality::Max) t = Major;
    if (h.minus) t = Minor;
    if (h.plus) t = Augmented;
    const bool dominant = t == Major && d == 5 && h.quality == Harmony::Quality::Diatonic;
    if (h.fourth) return QStringLiteral("suspended-fourth");
    if (h.ninth) {
        if (t == Minor) return QStringLiteral("minor-ninth");
        return dominant || t != Major ? QStringLiteral("dominant-ninth") : QStringLiteral("major-ninth");
    }
    if (h.seventh) {
        switch (t) {
        case Major: return dominant ? QStringLiteral("dominant") : QStringLiteral("major-seventh");
        case Minor: return QStringLiteral("minor-seventh");
        case Diminished: return QStringLiteral("half-diminished");
        case Augmented: return QStringLiteral("augmented-seventh");
        }
    }
    switch (t) {
    case Major: return QStringLiteral("major");
    case Minor: return QStringLiteral("minor");
    case Diminished: return QStringLiteral("diminished");
    case Augmented: return QStringLiteral("augmented");
    }
    return QStringLiteral("major");
}

const char* syllabicName(Syllabic s) {
    switch (s) {
    case Syllabic::Begin: return "begin";
    case Syllabic::Middle: return "middle";
    case Syllabic::End: return "end";
    case Syllabic::Single: break;
    }
    return "single";
}

// A phrase overlay's dynamics mark ("强" is f), or nothing.
QString dynamicsMark(const QString& text) {
    static const std::pair<const char16_t*, const char*> marks[] = {
        {u"强", "f"}, {u"弱", "p"}, {u"中强", "mf"}, {u"中弱", "mp"}, {u"很强", "ff"}, {u"很弱", "pp"},
        {u"ff", "ff"}, {u"f", "f"}, {u"mf", "mf"}, {u"mp", "mp"}, {u"p", "p"}, {u"pp", "pp"},
    };
    for (const auto& [word, mark] : marks)
        if (text == QString::fromUtf16(word)) return QLatin1String(mark);
    return QString();
}

class Writer {
public:
    Writer(QByteArray* out, const Score& score, const ResolvedSong& song)
        : w_(out), score_(score), song_(song), h_(song.header) {
        w_.setAutoFormatting(true);
        w_.setAutoFormattingIndent(2);
        // Slurs of this song, numbered 1..6 in turn.
        int n = 0;
        for (const Arc& a : score_.arcs) {
            if (a.tie || !inSong(a.from.measure) || !inSong(a.to.measure)) continue;
            const int number = n++ % 6 + 1;
            slurs_[a.from].push_back({number, true});
            slurs_[a.to].push_back({number, false});
        }
    }

    void write() {
        bool anyPercussion = false, anyPitched = false;
        int low = 0, pitched = 0;
        for (int i = song_.first; i < song_.end; ++i)
            for (const Event& e : score_.measures[size_t(i)].events) {
                anyPercussion = anyPercussion || e.kind == EventKind::Percussion;
                anyPitched = anyPitched || e.kind == EventKind::Note;
                if (e.kind == EventKind::Note) {
                    ++pitched;
                    if (NotePitch(e, h_.key).midi < 60) ++low;
                }
            }
        bassClef_ = pitched > 0 && 2 * low > pitched;  // most notes below middle C
        const bool melody = anyPitched || !anyPercussion;

        w_.writeStartDocument(QStringLiteral("1.0"), false);
        w_.writeDTD(QStringLiteral(
            "<!DOCTYPE score-partwise PUBLIC \"-//Recordare//DTD MusicXML 4.0 Partwise//EN\" "
            "\"http://www.musicxml.org/dtds/partwise.dtd\">"));
        w_.writeStartElement(QStringLiteral("score-partwise"));
        w_.writeAttribute(QStringLiteral("version"), QStringLiteral("4.0"));
        if (!h_.title.isEmpty()) {
            w_.writeStartElement(QStringLiteral("work"));
            w_.writeTextElement(QStringLiteral("work-title"), h_.title);
            w_.writeEndElement();
        }
        w_.writeStartElement(QStringLiteral("identification"));
        w_.writeStartElement(QStringLiteral("encoding"));
        w_.writeTextElement(QStringLiteral("software"), QStringLiteral("Quillnote"));
        w_.writeEndElement();
        w_.writeEndElement();

        w_.writeStartElement(QStringLiteral("part-list"));
        if (melody) melodyPartHead();
        if (anyPercussion) percussionPartHead();
        w_.writeEndElement();

        if (melody) part(QStringLiteral("P1"), false, true);
        if (anyPercussion) part(QStringLiteral("P2"), true, !melody);

        w_.writeEndElement();
        w_.writeEndDocument();
    }

private:
    void melodyPartHead() {
        w_.writeStartElement(QStringLiteral("score-part"));
        w_.writeAttribute(QStringLiteral("id"), QStringLiteral("P1"));
        w_.writeTextElement(QStringLiteral("part-name"), QStringLiteral("旋律"));
        w_.writeStartElement(QStringLiteral("score-instrument"));
        w_.writeAttribute(QStringLiteral("id"), QStringLiteral("P1-I1"));
        w_.writeTextElement(QStringLiteral("instrument-name"), QStringLiteral("Piano"));
        w_.writeEndElement();
        w_.writeStartElement(QStringLiteral("midi-instrument"));
        w_.writeAttribute(QStringLiteral("id"), QStringLiteral("P1-I1"));
        w_.writeTextElement(QStringLiteral("midi-channel"), QString::number(kMelodyChannel + 1));
        w_.writeTextElement(QStringLiteral("midi-program"), QStringLiteral("1"));
        w_.writeEndElement();
        w_.writeEndElement();
    }

    void percussionPartHead() {
        static const char16_t* const names[] = {u"冬", u"X", u"仓", u"次", u"板"};
        w_.writeStartElement(QStringLiteral("score-part"));
        w_.writeAttribute(QStringLiteral("id"), QStringLiteral("P2"));
        w_.writeTextElement(QStringLiteral("part-name"), QStringLiteral("打击乐"));
        for (int s = 0; s < 5; ++s) {
            w_.writeStartElement(QStringLiteral("score-instrument"));
            w_.writeAttribute(QStringLiteral("id"), instrumentId(s));
            w_.writeTextElement(QStringLiteral("instrument-name"), QString::fromUtf16(names[s]));
            w_.writeEndElement();
        }
        for (int s = 0; s < 5; ++s) {
            w_.writeStartElement(QStringLiteral("midi-instrument"));
            w_.writeAttribute(QStringLiteral("id"), instrumentId(s));
            w_.writeTextElement(QStringLiteral("midi-channel"), QString::number(kPercussionChannel + 1));
            w_.writeTextElement(QStringLiteral("midi-unpitched"), QString::number(PercussionKey(s) + 1));
            w_.writeEndElement();
        }
        w_.writeEndElement();
    }

    void part(const QString& id, bool percussion, bool withTempo) {
        w_.writeStartElement(QStringLiteral("part"));
        w_.writeAttribute(QStringLiteral("id"), id);
        if (song_.first >= song_.end) {
            measureStart(song_.first, percussion, withTempo);
            w_.writeStartElement(QStringLiteral("note"));
            w_.writeEmptyElement(QStringLiteral("rest"));
            w_.writeAttribute(QStringLiteral("measure"), QStringLiteral("yes"));
            w_.writeTextElement(QStringLiteral("duration"), QString::number(song_.barLength()));
            w_.writeTextElement(QStringLiteral("voice"), QStringLiteral("1"));
            w_.writeEndElement();
            w_.writeEndElement();
        }
        for (int i = song_.first; i < song_.end; ++i) {
            const Measure& m = score_.measures[size_t(i)];
            measureStart(i, percussion, withTempo);
            if (m.repeatStart) barline(QStringLiteral("left"), QStringLiteral("heavy-light"), QStringLiteral("forward"));
            const std::vector<std::vector<QString>> beams = percussion ? std::vector<std::vector<QString>>(m.events.size())
                                                                       : beamsOf(m);
            bool wedgeOpen = false;
            for (size_t ei = 0; ei < m.events.size(); ++ei) {
                const Event& e = m.events[ei];
                const EventRef ref{i, int(ei)};
                if (!percussion) {
                    for (const Harmony& h : m.harmonies)
                        if (h.event == int(ei) || (h.event < 0 && ei == 0)) harmony(h);
                    for (const Direction& d : score_.directions)
                        if (d.at == ref) wedgeOpen = direction(d) || wedgeOpen;
                }
                const bool sounds = percussion ? e.kind == EventKind::Percussion : e.kind == EventKind::Note;
                note(e, sounds, ref, beams[ei]);
            }
            if (wedgeOpen) wedge(QStringLiteral("stop"));
            if (m.repeatEnd) {
                barline(QStringLiteral("right"), QStringLiteral("light-heavy"), QStringLiteral("backward"));
            } else if (m.end == BarEnd::Final) {
                barline(QStringLiteral("right"), QStringLiteral("light-heavy"), QString());
            } else if (m.end == BarEnd::Double) {
                barline(QStringLiteral("right"), QStringLiteral("light-light"), QString());
            }
            w_.writeEndElement();  // measure
        }
        w_.writeEndElement();  // part
    }

    bool inSong(int measure) const { return measure >= song_.first && measure < song_.end; }

    // The pickup is measure 0, written as implicit; the bars after it count from 1.
    void measureStart(int index, bool percussion, bool withTempo) {
        w_.writeStartElement(QStringLiteral("measure"));
        const int number = index - song_.first + (song_.pickup ? 0 : 1);
        w_.writeAttribute(QStringLiteral("number"), QString::number(number));
        if (song_.pickup && index == song_.first) w_.writeAttribute(QStringLiteral("implicit"), QStringLiteral("yes"));
        const auto& ms = score_.measures;
        if (index > song_.first && ms[size_t(index)].line > ms[size_t(index) - 1].line) {
            w_.writeEmptyElement(QStringLiteral("print"));
            w_.writeAttribute(QStringLiteral("new-system"), QStringLiteral("yes"));
        }
        if (index != song_.first) return;
        w_.writeStartElement(QStringLiteral("attributes"));
        w_.writeTextElement(QStringLiteral("divisions"), QString::number(kQuarter));
        if (!percussion) {  // a drum part has no key
            w_.writeStartElement(QStringLiteral("key"));
            w_.writeTextElement(QStringLiteral("fifths"), QString::number(h_.key.fifths));
            w_.writeTextElement(QStringLiteral("mode"), QStringLiteral("major"));
            w_.writeEndElement();
        }
        w_.writeStartElement(QStringLiteral("time"));
        w_.writeTextElement(QStringLiteral("beats"), QString::number(h_.beatsPerBar));
        w_.writeTextElement(QStringLiteral("beat-type"), QString::number(h_.beatUnit));
        w_.writeEndElement();
        w_.writeStartElement(QStringLiteral("clef"));
        if (percussion) {
            w_.writeTextElement(QStringLiteral("sign"), QStringLiteral("percussion"));
        } else if (bassClef_) {
            w_.writeTextElement(QStringLiteral("sign"), QStringLiteral("F"));
            w_.writeTextElement(QStringLiteral("line"), QStringLiteral("4"));
        } else {
            w_.writeTextElement(QStringLiteral("sign"), QStringLiteral("G"));
            w_.writeTextElement(QStringLiteral("line"), QStringLiteral("2"));
        }
        w_.writeEndElement();
        w_.writeEndElement();  // attributes
        if (!withTempo) return;
        w_.writeStartElement(QStringLiteral("direction"));
        w_.writeAttribute(QStringLiteral("placement"), QStringLiteral("above"));
        if (!h_.tempoWords.isEmpty()) {
            w_.writeStartElement(QStringLiteral("direction-type"));
            w_.writeTextElement(QStringLiteral("words"), h_.tempoWords);
            w_.writeEndElement();
        }
        w_.writeStartElement(QStringLiteral("direction-type"));
        w_.writeStartElement(QStringLiteral("metronome"));
        w_.writeTextElement(QStringLiteral("beat-unit"), QLatin1String(beatUnitName(h_.beatUnit)));
        w_.writeTextElement(QStringLiteral("per-minute"), QString::number(h_.tempo));
        w_.writeEndElement();
        w_.writeEndElement();
        w_.writeEmptyElement(QStringLiteral("sound"));
        w_.writeAttribute(QStringLiteral("tempo"), QString::number(h_.quarterTempo(), 'g', 6));
        w_.writeEndElement();  // direction
    }

    void barline(const QString& location, const QString& style, const QString& repeat) {
        w_.writeStartElement(QStringLiteral("barline"));
        w_.writeAttribute(QStringLiteral("location"), location);
        w_.writeTextElement(QStringLiteral("bar-style"), style);
        if (!repeat.isEmpty()) {
            w_.writeEmptyElement(QStringLiteral("repeat"));
            w_.writeAttribute(QStringLiteral("direction"), repeat);
        }
        w_.writeEndElement();
    }

    // One event, as tied pieces when no single value shows it. `sounds`: this
    // part plays it; otherwise it is a rest here.
    void note(const Event& e, bool sounds, EventRef ref, const std::vector<QString>& beams) {
        const std::vector<NoteValue> pieces = splitDuration(e.duration);
        const bool rest = !sounds || e.kind == EventKind::Rest;
        for (size_t j = 0; j < pieces.size(); ++j) {
            const bool tieStop = !rest && (j > 0 || e.tiedFromPrevious);
            const bool tieStart = !rest && (j + 1 < pieces.size() || e.tiedToNext);
            w_.writeStartElement(QStringLiteral("note"));
            int shownAlter = 0;
            if (rest) {
                w_.writeEmptyElement(QStringLiteral("rest"));
            } else if (e.kind == EventKind::Note) {
                const Pitch p = NotePitch(e, h_.key);
                shownAlter = p.alter;
                w_.writeStartElement(QStringLiteral("pitch"));
                w_.writeTextElement(QStringLiteral("step"), StepName(p.step));
                if (p.alter != 0) w_.writeTextElement(QStringLiteral("alter"), QString::number(p.alter));
                w_.writeTextElement(QStringLiteral("octave"), QString::number(p.octave));
                w_.writeEndElement();
            } else {
                QString step;
                int octave = 4;
                percussionDisplay(e.syllable, step, octave);
                w_.writeStartElement(QStringLiteral("unpitched"));
                w_.writeTextElement(QStringLiteral("display-step"), step);
                w_.writeTextElement(QStringLiteral("display-octave"), QString::number(octave));
                w_.writeEndElement();
            }
            w_.writeTextElement(QStringLiteral("duration"), QString::number(pieces[j].duration));
            if (tieStop) tie(QStringLiteral("tie"), QStringLiteral("stop"));
            if (tieStart) tie(QStringLiteral("tie"), QStringLiteral("start"));
            if (!rest && e.kind == EventKind::Percussion) {
                w_.writeEmptyElement(QStringLiteral("instrument"));
                w_.writeAttribute(QStringLiteral("id"), instrumentId(e.syllable));
            }
            w_.writeTextElement(QStringLiteral("voice"), QStringLiteral("1"));
            w_.writeTextElement(QStringLiteral("type"), QLatin1String(pieces[j].type));
            for (int d = 0; d < pieces[j].dots; ++d) w_.writeEmptyElement(QStringLiteral("dot"));
            if (!rest && e.kind == EventKind::Note && j == 0 && e.accidental != Accidental::None)
                w_.writeTextElement(QStringLiteral("accidental"), QLatin1String(accidentalName(shownAlter)));
            if (pieces.size() == 1 && !rest)
                for (size_t level = 0; level < beams.size(); ++level) {
                    w_.writeStartElement(QStringLiteral("beam"));
                    w_.writeAttribute(QStringLiteral("number"), QString::number(level + 1));
                    w_.writeCharacters(beams[level]);
                    w_.writeEndElement();
                }
            // A slur starts on the first piece and stops on the last.
            std::vector<std::pair<int, bool>> slurs;
            if (!rest && sounds) {
                const auto it = slurs_.find(ref);
                if (it != slurs_.end())
                    for (const auto& sl : it->second)
                        if ((sl.second && j == 0) || (!sl.second && j + 1 == pieces.size())) slurs.push_back(sl);
            }
            if (tieStop || tieStart || !slurs.empty()) {
                w_.writeStartElement(QStringLiteral("notations"));
                if (tieStop) tie(QStringLiteral("tied"), QStringLiteral("stop"));
                if (tieStart) tie(QStringLiteral("tied"), QStringLiteral("start"));
                for (const auto& [number, start] : slurs) {
                    w_.writeEmptyElement(QStringLiteral("slur"));
                    w_.writeAttribute(QStringLiteral("type"), start ? QStringLiteral("start") : QStringLiteral("stop"));
                    w_.writeAttribute(QStringLiteral("number"), QString::number(number));
                }
                w_.writeEndElement();
            }
            if (!rest && sounds && j == 0)
                for (const Lyric& l : e.lyrics) {
                    w_.writeStartElement(QStringLiteral("lyric"));
                    w_.writeAttribute(QStringLiteral("number"), QString::number(l.verse));
                    w_.writeTextElement(QStringLiteral("syllabic"), QLatin1String(syllabicName(l.syllabic)));
                    w_.writeTextElement(QStringLiteral("text"), l.text);
                    w_.writeEndElement();
                }
            w_.writeEndElement();  // note
        }
    }

    void tie(const QString& element, const QString& type) {
        w_.writeEmptyElement(element);
        w_.writeAttribute(QStringLiteral("type"), type);
    }

    void harmony(const Harmony& h) {
        Event root;
        root.degree = h.degree;
        const Pitch p = NotePitch(root, h_.key);
        w_.writeStartElement(QStringLiteral("harmony"));
        w_.writeStartElement(QStringLiteral("root"));
        w_.writeTextElement(QStringLiteral("root-step"), StepName(p.step));
        if (p.alter != 0) w_.writeTextElement(QStringLiteral("root-alter"), QString::number(p.alter));
        w_.writeEndElement();
        w_.writeStartElement(QStringLiteral("kind"));
        w_.writeAttribute(QStringLiteral("text"), HarmonyText(h).mid(1));  // the modifiers as printed
        w_.writeCharacters(harmonyKind(h));
        w_.writeEndElement();
        w_.writeEndElement();
    }

    // A phrase overlay before its note; true when it opened a hairpin.
    bool direction(const Direction& d) {
        if (d.kind == Direction::Kind::Grace) {
            graceNotes(d.text);
            return false;
        }
        w_.writeStartElement(QStringLiteral("direction"));
        w_.writeAttribute(QStringLiteral("placement"), d.kind == Direction::Kind::Words ? QStringLiteral("above")
                                                                                      : QStringLiteral("below"));
        w_.writeStartElement(QStringLiteral("direction-type"));
        bool wedgeOpened = false;
        const QString mark = dynamicsMark(d.text);
        if (d.kind == Direction::Kind::Dynamics && !mark.isEmpty()) {
            w_.writeStartElement(QStringLiteral("dynamics"));
            w_.writeEmptyElement(mark);
            w_.writeEndElement();
        } else if (d.kind == Direction::Kind::Crescendo || d.kind == Direction::Kind::Diminuendo) {
            w_.writeEmptyElement(QStringLiteral("wedge"));
            w_.writeAttribute(QStringLiteral("type"), d.kind == Direction::Kind::Crescendo ? QStringLiteral("crescendo")
                                                                                         : QStringLiteral("diminuendo"));
            wedgeOpened = true;
        } else {
            w_.writeTextElement(QStringLiteral("words"), d.text);
        }
        w_.writeEndElement();
        w_.writeEndElement();
        return wedgeOpened;
    }

    // Grace notes (scale degrees), slashed sixteenths before their note.
    void graceNotes(const QString& digits) {
        for (const QChar c : digits) {
            Event e;
            e.degree = qBound(1, c.digitValue(), 7);
            const Pitch p = NotePitch(e, h_.key);
            w_.writeStartElement(QStringLiteral("note"));
            w_.writeEmptyElement(QStringLiteral("grace"));
            w_.writeAttribute(QStringLiteral("slash"), QStringLiteral("yes"));
            w_.writeStartElement(QStringLiteral("pitch"));
            w_.writeTextElement(QStringLiteral("step"), StepName(p.step));
            if (p.alter != 0) w_.writeTextElement(QStringLiteral("alter"), QString::number(p.alter));
            w_.writeTextElement(QStringLiteral("octave"), QString::number(p.octave));
            w_.writeEndElement();
            w_.writeTextElement(QStringLiteral("voice"), QStringLiteral("1"));
            w_.writeTextElement(QStringLiteral("type"), QStringLiteral("16th"));
            w_.writeEndElement();
        }
    }

    void wedge(const QString& type) {
        w_.writeStartElement(QStringLiteral("direction"));
        w_.writeStartElement(QStringLiteral("direction-type"));
        w_.writeEmptyElement(QStringLiteral("wedge"));
        w_.writeAttribute(QStringLiteral("type"), type);
        w_.writeEndElement();
        w_.writeEndElement();
    }

    // Beams as the page draws them: the beamed notes of one beat together,
    // each level begun, continued and ended, a lone deeper level as a hook.
    std::vector<std::vector<QString>> beamsOf(const Measure& m) const {
        std::vector<std::vector<QString>> out(m.events.size());
        int beat = 32 / h_.beatUnit;
        if (h_.beatUnit == 8 && h_.beatsPerBar % 3 == 0) beat = 12;  // 6/8: three eighths a beat
        std::vector<int> beatOf(m.events.size(), -1);
        int at = 0;
        for (size_t i = 0; i < m.events.size(); ++i) {
            const Event& e = m.events[i];
            if (e.kind == EventKind::Note && e.beams > 0 && splitDuration(e.duration).size() == 1) beatOf[i] = at / beat;
            at += e.duration;
        }
        for (size_t i = 0; i < m.events.size();) {
            size_t j = i;
            while (j < m.events.size() && beatOf[j] >= 0 && beatOf[j] == beatOf[i]) ++j;
            if (j - i >= 2) {
                for (int level = 1; level <= 3; ++level)
                    for (size_t k = i; k < j; ++k) {
                        if (m.events[k].beams < level) continue;
                        const bool before = k > i && m.events[k - 1].beams >= level;
                        const bool after = k + 1 < j && m.events[k + 1].beams >= level;
                        out[k].push_back(before && after ? QStringLiteral("continue")
                                         : after         ? QStringLiteral("begin")
                                         : before        ? QStringLiteral("end")
                                         : k == i        ? QStringLiteral("forward hook")
                                                         : QStringLiteral("backward hook"));
                    }
            }
            i = j > i ? j : i + 1;
        }
        return out;
    }

    QXmlStreamWriter w_;
    const Score& score_;
    const ResolvedSong& song_;
    const ResolvedHeader& h_;
    bool bassClef_ = false;
    std::map<EventRef, std::vector<std::pair<int, bool>>> slurs_;  // number, start
};

}  // namespace

QByteArray MusicXml(const Score& score, const ScoreHeader& header, int song) {
    const std::vector<ResolvedSong> songs = ResolveSongs(score, header);
    QByteArray out;
    Writer(&out, score, songs[size_t(qBound(0, song, int(songs.size()) - 1))]).write();
    return out;
}

QString SongFilePath(const QString& path, int song) {
    if (song == 0) return path;
    const QFileInfo info(path);
    const QString suffix = info.suffix();
    const QString base = suffix.isEmpty() ? info.fileName() : info.completeBaseName();
    return info.dir().filePath(QStringLiteral("%1-%2%3").arg(base).arg(song + 1).arg(suffix.isEmpty() ? QString()
                                                                                                    : QLatin1Char('.') + suffix));
}

QString SaveMusicXml(const Score& score, const ScoreHeader& header, const QString& path, QStringList* written) {
    const int songs = std::max<int>(1, int(score.songs.size()));
    for (int i = 0; i < songs; ++i) {
        const QString target = SongFilePath(path, i);
        const QString error = SaveBytes(target, MusicXml(score, header, i));
        if (!error.isEmpty()) return error;
        if (written) *written << target;
    }
    return QString();
}

}  // namespace qn::score
