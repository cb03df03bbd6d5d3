#include "MusicXmlWriter.h"

#include <QXmlStreamWriter>
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

class Writer {
public:
    Writer(QByteArray* out, const Score& score, const ResolvedHeader& header)
        : w_(out), score_(score), h_(header) {
        w_.setAutoFormatting(true);
        w_.setAutoFormattingIndent(2);
    }

    void write() {
        bool anyPercussion = false, anyPitched = false;
        for (const Measure& m : score_.measures)
            for (const Event& e : m.events) {
                anyPercussion = anyPercussion || e.kind == EventKind::Percussion;
                anyPitched = anyPitched || e.kind == EventKind::Note;
            }
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
        if (score_.measures.empty()) {
            measureStart(0, percussion, withTempo);
            w_.writeStartElement(QStringLiteral("note"));
            w_.writeEmptyElement(QStringLiteral("rest"));
            w_.writeAttribute(QStringLiteral("measure"), QStringLiteral("yes"));
            w_.writeTextElement(QStringLiteral("duration"), QString::number(h_.beatsPerBar * 32 / h_.beatUnit));
            w_.writeTextElement(QStringLiteral("voice"), QStringLiteral("1"));
            w_.writeEndElement();
            w_.writeEndElement();
        }
        for (size_t i = 0; i < score_.measures.size(); ++i) {
            const Measure& m = score_.measures[i];
            measureStart(int(i), percussion, withTempo);
            if (m.repeatStart) barline(QStringLiteral("left"), QStringLiteral("heavy-light"), QStringLiteral("forward"));
            for (const Event& e : m.events) {
                const bool sounds = percussion ? e.kind == EventKind::Percussion : e.kind == EventKind::Note;
                note(e, sounds);
            }
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

    void measureStart(int index, bool percussion, bool withTempo) {
        w_.writeStartElement(QStringLiteral("measure"));
        w_.writeAttribute(QStringLiteral("number"), QString::number(index + 1));
        const auto& ms = score_.measures;
        if (index > 0 && ms[size_t(index)].line > ms[size_t(index) - 1].line) {
            w_.writeEmptyElement(QStringLiteral("print"));
            w_.writeAttribute(QStringLiteral("new-system"), QStringLiteral("yes"));
        }
        if (index != 0) return;
        w_.writeStartElement(QStringLiteral("attributes"));
        w_.writeTextElement(QStringLiteral("divisions"), QString::number(kQuarter));
        w_.writeStartElement(QStringLiteral("key"));
        w_.writeTextElement(QStringLiteral("fifths"), QString::number(h_.key.fifths));
        w_.writeTextElement(QStringLiteral("mode"), QStringLiteral("major"));
        w_.writeEndElement();
        w_.writeStartElement(QStringLiteral("time"));
        w_.writeTextElement(QStringLiteral("beats"), QString::number(h_.beatsPerBar));
        w_.writeTextElement(QStringLiteral("beat-type"), QString::number(h_.beatUnit));
        w_.writeEndElement();
        w_.writeStartElement(QStringLiteral("clef"));
        if (percussion) {
            w_.writeTextElement(QStringLiteral("sign"), QStringLiteral("percussion"));
        } else {
            w_.writeTextElement(QStringLiteral("sign"), QStringLiteral("G"));
            w_.writeTextElement(QStringLiteral("line"), QStringLiteral("2"));
        }
        w_.writeEndElement();
        w_.writeEndElement();  // attributes
        if (!withTempo) return;
        w_.writeStartElement(QStringLiteral("direction"));
        w_.writeAttribute(QStringLiteral("placement"), QStringLiteral("above"));
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
    void note(const Event& e, bool sounds) {
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
            if (tieStop || tieStart) {
                w_.writeStartElement(QStringLiteral("notations"));
                if (tieStop) tie(QStringLiteral("tied"), QStringLiteral("stop"));
                if (tieStart) tie(QStringLiteral("tied"), QStringLiteral("start"));
                w_.writeEndElement();
            }
            w_.writeEndElement();  // note
        }
    }

    void tie(const QString& element, const QString& type) {
        w_.writeEmptyElement(element);
        w_.writeAttribute(QStringLiteral("type"), type);
    }

    QXmlStreamWriter w_;
    const Score& score_;
    const ResolvedHeader& h_;
};

}  // namespace

QByteArray MusicXml(const Score& score, const ScoreHeader& header) {
    const ResolvedHeader h = Resolve(header);
    QByteArray out;
    Writer(&out, score, h).write();
    return out;
}

QString SaveMusicXml(const Score& score, const ScoreHeader& header, const QString& path) {
    return SaveBytes(path, MusicXml(score, header));
}

}  // namespace qn::score
