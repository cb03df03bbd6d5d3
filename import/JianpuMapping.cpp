#include "JianpuMapping.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <set>

#include "HeaderText.h"
#include "Performance.h"

namespace qn::import {

using score::Accidental;
using score::Event;
using score::EventKind;
using score::EventRef;
using score::Harmony;

namespace {

constexpr int kScale[7] = {0, 2, 4, 5, 7, 9, 11};
constexpr int kLetterPc[7] = {0, 2, 4, 5, 7, 9, 11};

int mod(int a, int m) { return ((a % m) + m) % m; }
// Floor division for a possibly negative numerator.
int floorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

struct KeyInfo {
    int fifths = 0;
    int tonicPc = 0;
    int tonicLetter = 0;          // 0 C .. 6 B
    int letterAlter[7] = {};      // what the key signature does to each letter
};

KeyInfo keyInfo(int fifths) {
    KeyInfo k;
    k.fifths = fifths;
    k.tonicPc = mod(fifths * 7, 12);
    k.tonicLetter = mod(fifths * 4, 7);
    static const int sharps[7] = {3, 0, 4, 1, 5, 2, 6}, flats[7] = {6, 2, 5, 1, 4, 0, 3};
    for (int i = 0; i < std::min(7, std::abs(fifths)); ++i) k.letterAlter[fifths > 0 ? sharps[i] : flats[i]] = fifths > 0 ? 1 : -1;
    return k;
}

struct Spelled {
    int degree = 1, alter = 0, midi = 60;
};

Spelled spell(int step, int alter, int octave, const KeyInfo& k) {
    Spelled s;
    s.midi = 12 * (octave + 1) + kLetterPc[step] + alter;
    const int semis = mod(s.midi - k.tonicPc, 12);
    const int* inKey = std::find(kScale, kScale + 7, semis);
    if (inKey != kScale + 7) {
        s.degree = int(inKey - kScale) + 1;
        return s;
    }
    // The file's letter, one sign off the key's, is kept; a lowered 5 is a raised 4.
    const int written = mod(step - k.tonicLetter, 7) + 1;
    const int rel = alter - k.letterAlter[step];
    if ((rel == 1 || rel == -1) && mod(kScale[written - 1] + rel, 12) == semis && !(written == 5 && rel == -1)) {
        s.degree = written;
        s.alter = rel;
        return s;
    }
    // Otherwise by sound, with the alterations a major key's melody takes most.
    switch (semis) {
    case 1: s.degree = 1; s.alter = 1; break;
    case 3: s.degree = 3; s.alter = -1; break;
    case 6: s.degree = 4; s.alter = 1; break;
    case 8: s.degree = 5; s.alter = 1; break;
    default: s.degree = 7; s.alter = -1; break;
    }
    return s;
}

// The octave of a spelled note when 1 without dots is `base` (a MIDI key).
int octaveOf(const Spelled& s, int base) { return floorDiv(s.midi - base - kScale[s.degree - 1] - s.alter, 12); }

// The syllable of an unpitched note: by its instrument's MIDI key, else by
// where the program's own export puts it on the staff; -1 when unclear.
int syllableOf(const XmlNote& n, const XmlPart& p) {
    const auto it = p.unpitchedKeys.find(n.instrument);
    if (it != p.unpitchedKeys.end())
        for (int s = 0; s < 5; ++s)
            if (score::PercussionKey(s) == it->second) return s;
    if (!n.instrument.isEmpty() && it != p.unpitchedKeys.end()) return -1;
    static const int steps[5] = {3, 0, 4, 5, 2}, octaves[5] = {4, 5, 5, 5, 5};
    for (int s = 0; s < 5; ++s)
        if (n.displayStep == steps[s] && n.displayOctave == octaves[s]) return s;
    return -1;
}

bool hasNotes(const XmlPart& p) {
    for (const XmlMeasure& m : p.measures)
        for (const XmlNote& n : m.notes)
            if (!n.rest && !n.grace) return true;
    return false;
}
bool isPercussion(const XmlPart& p) {
    for (const XmlMeasure& m : p.measures) {
        if (m.percussionClef) return true;
        for (const XmlNote& n : m.notes)
            if (n.unpitched) return true;
    }
    return false;
}
bool percussionClear(const XmlPart& p) {
    for (const XmlMeasure& m : p.measures)
        for (const XmlNote& n : m.notes)
            if (!n.rest && !n.grace && syllableOf(n, p) < 0) return false;
    return true;
}

enum class Triad { Major, Minor, Diminished, Augmented };
Triad diatonicTriad(int d) { return d == 1 || d == 4 || d == 5 ? Triad::Major : d == 7 ? Triad::Diminished : Triad::Minor; }
// What the chord path's MIN/MAX prints for a root.
Harmony::Quality printedQuality(int d) { return d == 1 || d == 4 || d == 5 ? Harmony::Quality::Min : Harmony::Quality::Max; }

// A chord kind as the chord path can print it; false when it prints something near.
bool chordOf(const QString& kind, int d, Harmony& h, ChordKeys& keys) {
    bool exact = true;
    Triad t = Triad::Major;
    bool seventh = false, ninth = false, fourth = false;
    const QString k = kind.trimmed();
    if (k.isEmpty() || k == QLatin1String("major")) t = Triad::Major;
    else if (k == QLatin1String("minor")) t = Triad::Minor;
    else if (k == QLatin1String("augmented")) t = Triad::Augmented;
    else if (k == QLatin1String("diminished")) t = Triad::Diminished;
    else if (k == QLatin1String("dominant")) { t = Triad::Major; seventh = true; exact = d == 5; }
    else if (k == QLatin1String("major-seventh")) { t = Triad::Major; seventh = true; exact = d != 5; }
    else if (k == QLatin1String("minor-seventh")) { t = Triad::Minor; seventh = true; }
    else if (k == QLatin1String("half-diminished")) { t = Triad::Diminished; seventh = true; }
    else if (k == QLatin1String("augmented-seventh")) { t = Triad::Augmented; seventh = true; }
    else if (k == QLatin1String("dominant-ninth") || k == QLatin1String("major-ninth")) { t = Triad::Major; ninth = true; }
    else if (k == QLatin1String("minor-ninth")) { t = Triad::Minor; ninth = true; }
    else if (k == QLatin1String("suspended-fourth")) fourth = true;
    else { exact = false; t = k.startsWith(QLatin1String("minor")) ? Triad::Minor : Triad::Major; }

    h.degree = d;
    if (t != diatonicTriad(d)) {
        if (t == Triad::Augmented) {
            keys.plus = h.plus = true;
        } else if (t == Triad::Minor) {
            if (printedQuality(d) == Harmony::Quality::Min) keys.quality = true;
            else keys.minus = h.minus = true;
        } else if (t == Triad::Major) {
            keys.quality = true;  // MAX: every root whose own triad is not major prints MAX
        } else {
            exact = false;  // a diminished triad is the seventh degree's only
        }
    }
    if (seventh) keys.seventh = h.seventh = true;
    if (fourth) keys.fourth = h.fourth = true;
    if (ninth) {
        keys.ninth = h.ninth = true;
        // The small 9 comes with the root's MIN/MAX.
        if ((printedQuality(d) == Harmony::Quality::Min) != (t == Triad::Minor)) exact = false;
    }
    if (keys.quality || keys.ninth) h.quality = printedQuality(d);
    return exact;
}

// The values one rest can be: quarters, then halves down.
std::vector<int> restPieces(int d) {
    std::vector<int> out;
    while (d >= 8) {
        out.push_back(8);
        d -= 8;
    }
    for (int v : {4, 2, 1})
        if (d >= v) {
            out.push_back(v);
            d -= v;
        }
    return out;
}

std::vector<int> notePieces(int d) {
    std::vector<int> out;
    EventShape s;
    while (d > 0) {
        if (SingleShape(d, s)) {
            out.push_back(d);
            break;
        }
        int piece = d > 8 ? d / 8 * 8 : 0;
        if (piece == 0)
            for (int v : {7, 6, 4, 3, 2, 1})
                if (v <= d) {
                    piece = v;
                    break;
                }
        out.push_back(piece);
        d -= piece;
    }
    return out;
}

struct Item {
    const XmlNote* note = nullptr;  // null: a rest filling a gap
    qint64 start = 0, end = 0;      // divisions
    int step = 0, alter = 0, octave = 4;  // the chord's top note
    bool tieStart = false, tieStop = false;
    QString graces;
};

}  // namespace

QString KeyLabelOfFifths(int fifths) {
    static const char* const labels[15] = {"B", "bG", "bD", "bA", "bE", "bB", "F", "C",
                                           "G", "D",  "A",  "E",  "B",  "bG", "bD"};
    return QLatin1String(labels[std::clamp(fifths, -7, 7) + 7]);
}

bool SingleShape(int d, EventShape& s) {
    s = EventShape{};
    switch (d) {
    case 1: s.beams = 3; return true;
    case 2: s.beams = 2; return true;
    case 3: s.beams = 2; s.dots = 1; return true;
    case 4: s.beams = 1; return true;
    case 6: s.beams = 1; s.dots = 1; return true;
    case 7: s.beams = 1; s.dots = 2; return true;
    case 8: return true;
    case 12: s.dots = 1; return true;
    case 14: s.dots = 2; return true;
    default: break;
    }
    if (d >= 16 && d % 8 == 0) {
        s.dashes = d / 8 - 1;
        return true;
    }
    return false;
}

MappedSong MapPart(const XmlScore& xml, int partNumber) {
    MappedSong out;
    out.title = xml.title;
    out.composer = xml.composer;
    if (xml.parts.empty()) {
        out.error = QStringLiteral("the score has no parts");
        return out;
    }
    const XmlPart* part = nullptr;
    if (partNumber > 0) {
        if (partNumber > int(xml.parts.size())) {
            out.error = QStringLiteral("the score has %1 parts, no part %2").arg(xml.parts.size()).arg(partNumber);
            return out;
        }
        part = &xml.parts[size_t(partNumber - 1)];
        if (!hasNotes(*part)) {
            out.error = QStringLiteral("part %1 (%2) is empty: it has no notes").arg(partNumber).arg(part->name);
            return out;
        }
        if (isPercussion(*part) && !percussionClear(*part)) {
            out.error = QStringLiteral("part %1 (%2) is percussion whose instruments have no jianpu syllable")
                            .arg(partNumber).arg(part->name);
            return out;
        }
    } else {
        for (const XmlPart& p : xml.parts) {
            if (!hasNotes(p)) continue;
            if (isPercussion(p) && !percussionClear(p)) {
                out.notes << QStringLiteral("percussion part \"%1\" skipped: its instruments have no jianpu syllable").arg(p.name);
                continue;
            }
            part = &p;
            break;
        }
        if (!part) {
            out.error = out.notes.isEmpty() ? QStringLiteral("the score is empty: no part has notes")
                                            : out.notes.join(QStringLiteral("; "));
            return out;
        }
    }
    out.partName = part->name;
    const bool percussion = isPercussion(*part);

    // The first voice: the voice of the part's first sounding note.
    QString voice;
    for (const XmlMeasure& m : part->measures) {
        for (const XmlNote& n : m.notes)
            if (!n.grace && !n.chord) {
                voice = n.voice;
                break;
            }
        if (!voice.isEmpty()) break;
    }
    auto inVoice = [&](const XmlNote& n) { return n.voice == voice || (n.voice.isEmpty() && voice == QLatin1String("1")) ||
                                                  (voice.isEmpty() && n.voice == QLatin1String("1")); };

    // The key and metre in force, measure by measure.
    struct Context {
        int divisions = 1, fifths = 0, beats = 4, beatType = 4;
        double tempo = 0;
    } ctx;
    score::Score& s = out.score;
    std::set<QString> once;
    auto noteOnce = [&](const QString& t) {
        if (once.insert(t).second) out.notes << t;
    };

    QStringList directionBars;
    // First pass: every note's spelling, to choose the octave.
    std::vector<std::vector<Item>> items(part->measures.size());
    std::vector<KeyInfo> keys(part->measures.size());
    std::vector<Context> contexts(part->measures.size());
    for (size_t mi = 0; mi < part->measures.size(); ++mi) {
        const XmlMeasure& m = part->measures[mi];
        if (m.divisions) ctx.divisions = *m.divisions;
        if (m.fifths) ctx.fifths = *m.fifths;
        if (m.beats || m.beatType) {
            const int b = m.beats.value_or(ctx.beats), t = m.beatType.value_or(ctx.beatType);
            if (b < 1 || b > 32 || !(t == 1 || t == 2 || t == 4 || t == 8 || t == 16 || t == 32)) {
                out.error = QStringLiteral("bar %1: the time signature %2/%3 cannot be written").arg(m.number).arg(b).arg(t);
                return out;
            }
            ctx.beats = b;
            ctx.beatType = t;
        }
        if (m.tempo && ctx.tempo == 0) {
            ctx.tempo = *m.tempo;
        } else if (m.tempo && std::abs(*m.tempo - ctx.tempo) > 0.5) {
            out.notes << QStringLiteral("bar %1: the tempo change to %2 quarters a minute is left out").arg(m.number).arg(std::lround(*m.tempo));
        }
        if (m.directions > 0) directionBars << m.number;
        if (m.ending) noteOnce(QStringLiteral("bar %1: a volta bracket is left out (the repeat signs stay)").arg(m.number));
        contexts[mi] = ctx;
        keys[mi] = keyInfo(ctx.fifths);
        std::vector<Item>& list = items[mi];
        QString graces;
        for (const XmlNote& n : m.notes) {
            if (!inVoice(n)) continue;
            if (n.grace) {
                if (n.rest || n.unpitched) continue;
                graces += QString::number(spell(n.step, n.alter, n.octave, keys[mi]).degree);
                continue;
            }
            if (n.chord && !list.empty() && list.back().note && list.back().start == n.offset) {
                Item& top = list.back();
                if (!n.rest && !top.note->rest &&
                    12 * n.octave + kLetterPc[n.step] + n.alter > 12 * top.octave + kLetterPc[top.step] + top.alter) {
                    top.step = n.step;
                    top.alter = n.alter;
                    top.octave = n.octave;
                    top.tieStart = n.tieStart;
                    top.tieStop = n.tieStop;
                }
                continue;
            }
            if (n.chord) continue;
            Item it;
            it.note = &n;
            it.start = n.offset;
            it.end = n.offset + n.duration;
            it.step = n.step;
            it.alter = n.alter;
            it.octave = n.octave;
            it.tieStart = n.tieStart;
            it.tieStop = n.tieStop;
            it.graces = graces;
            graces.clear();
            if (n.duration > 0) list.push_back(it);
        }
        if (!graces.isEmpty()) noteOnce(QStringLiteral("bar %1: grace notes after the last note are left out").arg(m.number));
        std::stable_sort(list.begin(), list.end(), [](const Item& a, const Item& b) { return a.start < b.start; });
    }

    // The octave of 1 without dots: the fewest dots over the song, ties to the octave from middle C.
    int bestShift = 0;
    if (!percussion) {
        long bestDots = -1;
        for (int shift : {0, -1, 1, -2, 2, -3, 3}) {
            long dots = 0;
            for (size_t mi = 0; mi < items.size(); ++mi)
                for (const Item& it : items[mi])
                    if (!it.note->rest) {
                        const Spelled sp = spell(it.step, it.alter, it.octave, keys[mi]);
                        dots += std::abs(octaveOf(sp, 60 + keys[mi].tonicPc + 12 * shift));
                    }
            if (bestDots < 0 || dots < bestDots) {
                bestDots = dots;
                bestShift = shift;
            }
        }
    }

    // Second pass: the measures.
    std::map<int, EventRef> openSlurs;
    struct PendingTie {
        bool open = false;
        EventRef from;  // the last piece of a note tied on
        int midi = 0;
    } pendingTie;
    QStringList tooFar;
    for (size_t mi = 0; mi < part->measures.size(); ++mi) {
        const XmlMeasure& m = part->measures[mi];
        const Context& c = contexts[mi];
        const KeyInfo& key = keys[mi];
        const int barLength = c.beats * 32 / c.beatType;
        const int mIndex = int(s.measures.size());

        // A new head where the key or the metre changes.
        const bool first = mi == 0;
        const bool changed = !first && (contexts[mi - 1].fifths != c.fifths || contexts[mi - 1].beats != c.beats ||
                                        contexts[mi - 1].beatType != c.beatType);
        if (first || changed) {
            score::Song song;
            song.firstMeasure = mIndex;
            score::SongHead head;
            head.title = first ? xml.title : QString();
            head.key = KeyLabelOfFifths(c.fifths);
            head.beatsPerBar = c.beats;
            head.beatUnit = c.beatType;
            const double quarters = ctx.tempo;  // the song's first tempo
            head.tempo = quarters > 0 ? TempoCaption(int(std::lround(quarters * c.beatType / 4.0)))
                                      : QStringLiteral("每分钟72拍");
            song.head = head;
            s.songs.push_back(song);
        }

        score::Measure sm;
        sm.repeatStart = m.repeatForward;
        sm.repeatEnd = m.repeatBackward;
        const QString style = m.rightStyle;
        sm.end = style == QLatin1String("light-heavy") || style == QLatin1String("heavy") ? score::BarEnd::Final
                 : style == QLatin1String("light-light")                                  ? score::BarEnd::Double
                                                                                          : score::BarEnd::Single;

        // Times in thirty-second notes, rounded where the file is finer; every
        // item keeps at least one, the bar keeps its length.
        const int div = c.divisions;
        std::vector<Item>& list = items[mi];
        bool inexact = false;
        auto t32 = [&](qint64 x) {
            if ((x * 8) % div != 0) inexact = true;
            return int(std::llround(double(x) * 8.0 / div));
        };
        std::vector<Item> filled;  // the items with the gaps as rests
        qint64 at = 0;
        for (const Item& it : list) {
            if (it.start < at) continue;  // overlaps within the voice: the first note wins
            if (it.start > at) {
                Item gap;
                gap.start = at;
                gap.end = it.start;
                filled.push_back(gap);
            }
            filled.push_back(it);
            at = it.end;
        }
        qint64 length = std::max(m.length, at);
        if (length == 0) length = qint64(barLength) * div / 8;  // an empty measure: a bar of rest
        if (at < length) {
            Item gap;
            gap.start = at;
            gap.end = length;
            filled.push_back(gap);
        }
        std::vector<int> bounds;
        for (const Item& it : filled) bounds.push_back(t32(it.start));
        bounds.push_back(t32(length));
        for (size_t i = 1; i < bounds.size(); ++i) bounds[i] = std::max(bounds[i], bounds[i - 1] + 1);
        bool tuplet = false;
        for (const Item& it : filled) tuplet = tuplet || (it.note && it.note->tuplet);
        if (inexact || tuplet)
            out.notes << QStringLiteral("bar %1: %2 written with the nearest note values")
                             .arg(m.number, tuplet ? QStringLiteral("a tuplet") : QStringLiteral("a value finer than a thirty-second note"));
        const int measureLength = bounds.back() - bounds.front();
        if (measureLength > barLength)
            out.notes << QStringLiteral("bar %1 is longer than its time signature").arg(m.number);

        std::map<std::pair<int, int>, int> inForce;  // (degree, octave) -> alter written in this bar
        for (size_t i = 0; i < filled.size(); ++i) {
            const Item& it = filled[i];
            const int d = bounds[i + 1] - bounds[i];
            const bool rest = !it.note || it.note->rest;
            Event e;
            Spelled sp;
            if (rest) {
                e.kind = EventKind::Rest;
            } else if (percussion) {
                e.kind = EventKind::Percussion;
                e.syllable = syllableOf(*it.note, *part);
            } else {
                sp = spell(it.step, it.alter, it.octave, key);
                e.kind = EventKind::Note;
                e.degree = sp.degree;
                e.octave = octaveOf(sp, 60 + key.tonicPc + 12 * bestShift);
                e.alter = sp.alter;
                if (std::abs(e.octave) > 2) tooFar << m.number;
                const auto k = std::make_pair(e.degree, e.octave);
                const auto f = inForce.find(k);
                const int shown = f == inForce.end() ? 0 : f->second;
                if (e.alter != shown) {
                    e.accidental = e.alter > 0 ? Accidental::Sharp : e.alter < 0 ? Accidental::Flat : Accidental::Natural;
                    inForce[k] = e.alter;
                }
            }
            const std::vector<int> pieces = rest ? restPieces(d) : notePieces(d);
            const EventRef firstRef{mIndex, int(sm.events.size())};
            for (size_t j = 0; j < pieces.size(); ++j) {
                Event p = e;
                if (j > 0) p.accidental = Accidental::None;
                EventShape shape;
                SingleShape(pieces[j], shape);
                p.duration = pieces[j];
                p.beams = shape.beams;
                p.dots = shape.dots;
                p.dashes = shape.dashes;
                if (!rest && j > 0) {
                    p.tiedFromPrevious = true;
                    sm.events.back().tiedToNext = true;
                    s.arcs.push_back({EventRef{mIndex, int(sm.events.size()) - 1}, EventRef{mIndex, int(sm.events.size())}, true});
                }
                if (j == 0 && !rest && it.note)
                    for (const XmlLyric& l : it.note->lyrics) {
                        if (l.verse > 2) {
                            noteOnce(QStringLiteral("verses after the second are left out"));
                            continue;
                        }
                        p.lyrics.push_back({l.verse, l.text, l.syllabic});
                    }
                sm.events.push_back(p);
            }
            const EventRef lastRef{mIndex, int(sm.events.size()) - 1};
            if (rest) continue;
            // Ties to the note before, slurs, grace notes.
            if (pendingTie.open && it.tieStop && pendingTie.midi == sp.midi && !percussion) {
                s.arcs.push_back({pendingTie.from, firstRef, true});
                Event* before = pendingTie.from.measure == mIndex ? &sm.events[size_t(pendingTie.from.event)]
                                                                  : s.event(pendingTie.from);
                if (before) before->tiedToNext = true;
                sm.events[size_t(firstRef.event)].tiedFromPrevious = true;
            }
            pendingTie = PendingTie{it.tieStart && !percussion, lastRef, sp.midi};
            for (int n : it.note->slurStops) {
                const auto o = openSlurs.find(n);
                if (o == openSlurs.end()) continue;
                if (!(o->second == lastRef)) s.arcs.push_back({o->second, lastRef, false});
                openSlurs.erase(o);
            }
            for (int n : it.note->slurStarts) openSlurs[n] = firstRef;
            if (!it.graces.isEmpty() && !percussion) {
                QString g = it.graces;
                if (g.size() > 5) {
                    out.notes << QStringLiteral("bar %1: %2 grace notes, the first five written").arg(m.number).arg(g.size());
                    g = g.left(5);
                }
                s.directions.push_back({score::Direction::Kind::Grace, g, firstRef});
            }
        }
        s.measures.push_back(std::move(sm));
        s.measures.back().events.shrink_to_fit();
        // Chord symbols: at the bar's start or under the event they begin with.
        std::vector<ChordKeys> chordKeys;
        std::vector<int> starts;
        for (size_t i = 0; i + 1 < bounds.size(); ++i) starts.push_back(bounds[i]);
        for (const XmlHarmony& xh : m.harmonies) {
            if (xh.kind.trimmed() == QLatin1String("none") || percussion) continue;
            const Spelled root = spell(std::clamp(xh.step, 0, 6), xh.alter, 4, key);
            if (root.alter != 0)
                out.notes << QStringLiteral("bar %1: the chord root %2%3 is written as %3")
                                 .arg(m.number, root.alter > 0 ? QStringLiteral("#") : QStringLiteral("b"))
                                 .arg(root.degree);
            Harmony h;
            ChordKeys k;
            if (!chordOf(xh.kind, root.degree, h, k))
                out.notes << QStringLiteral("bar %1: the chord kind \"%2\" is written as %3")
                                 .arg(m.number, xh.kind, score::HarmonyText(h));
            // The event it stands under.
            const int when = int(std::llround(double(xh.offset) * 8.0 / div));
            int event = -1, idx = 0;
            const score::Measure& placed = s.measures.back();
            int t = 0;
            for (size_t ei = 0; ei < placed.events.size(); ++ei) {
                if (t <= when) idx = int(ei);
                t += placed.events[ei].duration;
            }
            event = idx == 0 ? -1 : idx;
            if (!s.measures.back().harmonies.empty() && s.measures.back().harmonies.back().event == event) {
                out.notes << QStringLiteral("bar %1: a second chord over one note is left out").arg(m.number);
                continue;
            }
            h.event = event;
            s.measures.back().harmonies.push_back(h);
            chordKeys.push_back(k);
        }
        out.chordKeys.push_back(chordKeys);
        out.barNumbers.push_back(m.number);
    }
    if (!directionBars.isEmpty())
        out.notes << QStringLiteral("words and dynamics are left out (bar %1%2)")
                         .arg(directionBars.mid(0, 8).join(QStringLiteral(", ")), directionBars.size() > 8 ? QStringLiteral(", ...") : QString());
    if (!tooFar.isEmpty()) {
        tooFar.removeDuplicates();
        out.error = QStringLiteral("notes need more than two octave dots in bar %1").arg(tooFar.mid(0, 10).join(QStringLiteral(", ")));
        return out;
    }
    for (const auto& [n, ref] : openSlurs) noteOnce(QStringLiteral("bar %1: a slur that never ends is left out").arg(out.barNumbers[size_t(ref.measure)]));
    // A first bar shorter than the bar is a pickup.
    for (score::Song& song : s.songs) {
        if (song.firstMeasure >= int(s.measures.size()) || !song.head) continue;
        int first = 0;
        for (const Event& e : s.measures[size_t(song.firstMeasure)].events) first += e.duration;
        song.pickup = first < song.head->beatsPerBar * 32 / song.head->beatUnit;
    }
    return out;
}

}  // namespace qn::import
