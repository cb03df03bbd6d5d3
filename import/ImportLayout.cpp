#include "ImportLayout.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

#include "Atlas.h"
#include "KeyHandler.h"
#include "LayoutMath.h"
#include "Lyrics.h"
#include "NewScoreHead.h"
#include "PageReader.h"
#include "Slur.h"
#include "SongFont.h"

namespace qn::import {

using score::Event;
using score::EventKind;
using score::EventRef;

namespace {

constexpr int kBottomMargin = 50;  // the page number's band
constexpr int kNoAutomaticBar = 32000;  // beats per bar the automatic bar line never reaches

// A window stand-in for typing: the editor and its key handler with the
// switches a clean import types with.
class Typist : public EditorView, public InputView {
public:
    Typist(const LayoutSettings& s, int width, int height) : s_(s) {
        History::Step step(ed.history);
        ed.page.resize(width, height);
        ed.pageFont = SongFont(24, true);
    }
    Editor ed{*this};
    KeyHandler keys{ed, *this};
    void press(Integer key) { keys.Picture1_KeyDown(key, 0); }
    void release(Integer key) { keys.Picture1_KeyUp(key, 0); }

    bool Check4() override { return true; }
    bool Check8() override { return true; }
    QString Label6sCaption(int index) override { return index == 4 ? QStringLiteral("0.5") : QString(); }
    int HScroll2(int index) override { return index == 0 ? s_.barWidth : index == 1 ? s_.barsPerLine : s_.lineSpacing; }
    int Line3X1() override { return ed.page.width() - 14; }
    QRgb Label5ForeColor() override { return s_.chordColour; }
    void PlaySoundEffect(const QString&) override {}
    void RefreshPage() override {}
    void Picture1_KeyDown(Integer key, Integer shift) override { keys.Picture1_KeyDown(key, shift); }

    bool Check1() override { return false; }
    int Combo2ListIndex() override { return 0; }
    bool Check5(int) override { return true; }
    bool Check11() override { return true; }
    void Command10_Click() override { ed.st.NoteInputMode = Integer(1 - ed.st.NoteInputMode); }
    void Command4_Click() override { ed.ToggleInsertMode(); }
    void Command2_Click() override { ed.ToggleHalfWidthMode(); }
    void Option1_Click(Integer i) override { ed.SelectPattern(i); }
    void SetOption1Value(Integer) override {}
    void RestartBlink() override {}
    void LoadCaretPicture(Integer) override {}
    void ShowNewScoreDialog() override {}
    void ShowPictureInsertPanel(int, int) override {}
    void ShowTextInsertPanel(int, int) override {}
    bool OverlayPosition(Integer, int&, int&) override { return false; }
    void MoveOverlay(Integer, int, int) override {}
    void HideOverlay(Integer) override {}
    void Beep() override {}
    void SlurKey() override {}
    void GraceNoteKey() override {}

private:
    LayoutSettings s_;
};

int linesPerPage(int height, int pitch) { return std::max(1, (height - kBottomMargin - geom::FirstLineTop - pitch) / pitch + 1); }

bool hasChords(const score::Score& s) {
    for (const score::Measure& m : s.measures)
        if (!m.harmonies.empty()) return true;
    return false;
}
int versesOf(const score::Score& s) {
    int v = 0;
    for (const score::Measure& m : s.measures)
        for (const Event& e : m.events)
            for (const score::Lyric& l : e.lyrics) v = std::max(v, l.verse);
    return std::min(v, 2);
}
// The first row of the lyrics under a line: below the chord symbols when there are any.
int lyricsRow(bool chords) { return chords ? 52 : 42; }

// A rough width of a measure on the page, to break lines between bars.
int estimateWidth(const score::Measure& m, int beatUnit) {
    int w = 12 + (m.repeatStart ? 12 : 0);
    int units = 0;
    const int beat = std::max(1, 32 / std::max(1, beatUnit));
    for (const Event& e : m.events) {
        w += (e.beams <= 1 ? 18 : 12) + (e.accidental != score::Accidental::None ? 6 : 0) + 12 * e.dots + 18 * e.dashes;
        w += 6 * ((units + e.duration) / beat - units / beat);
        units += e.duration;
    }
    return w;
}

// The key that writes a note of this degree and octave, 0 when none does.
Integer noteKey(int degree, int octave) {
    static const Integer low[7] = {81, 87, 69, 82, 84, 89, 85};  // Q W E R T Y U
    switch (octave) {
    case 0: return Integer(48 + degree);
    case -1: return low[degree - 1];
    case 1: return Integer(vk::F1 + degree - 1);
    case 2: return degree <= 5 ? Integer(vk::F1 + 7 + degree - 1) : Integer(0);
    default: return 0;
    }
}

bool isHan(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 0x3400 && u <= 0x9FFF) || (u >= 0xF900 && u <= 0xFAFF);
}

// How far right of its anchor a chord symbol's text reaches, as the chord
// path prints it: the root, the signs, the small numbers, MIN or MAX.
int chordReach(const score::Harmony& h, const ChordKeys& keys) {
    static const QFontMetricsF big(SongFont(24, true)), small(SongFont(12));
    double x = -8 + big.horizontalAdvance(QStringLiteral(" %1 ").arg(h.degree));
    for (bool sign : {keys.plus, keys.minus})
        if (sign) x += big.horizontalAdvance(QLatin1Char('+')) - 11;
    x -= 11;
    for (const auto& [on, n] : {std::pair{keys.seventh, 7}, std::pair{keys.ninth, 9}, std::pair{keys.fourth, 4}})
        if (on) x += small.horizontalAdvance(QStringLiteral(" %1 ").arg(n)) - 5;
    if (keys.quality || keys.ninth) x += small.horizontalAdvance(QStringLiteral("MAX"));
    return std::max(16, int(std::ceil(x)));
}

}  // namespace

QString MeasureNotes(const score::Measure& m) {
    QString out;
    for (const Event& e : m.events) {
        if (!out.isEmpty()) out += QLatin1Char(' ');
        switch (e.kind) {
        case EventKind::Rest: out += QLatin1Char('0'); break;
        case EventKind::Percussion: out += QStringLiteral("p%1").arg(e.syllable); break;
        case EventKind::Note:
            out += QStringLiteral("%1%2%3").arg(e.alter > 0 ? QStringLiteral("#") : e.alter < 0 ? QStringLiteral("b") : QString())
                       .arg(e.degree)
                       .arg(QString(std::abs(e.octave), e.octave > 0 ? QLatin1Char('\'') : QLatin1Char(',')));
            break;
        }
        out += QLatin1Char(':') + QString::number(e.duration);
    }
    return out;
}

int EstimatePages(const MappedSong& song, const LayoutSettings& settings) {
    const PageLayout l = ComputePageLayout(settings.barWidth, settings.barsPerLine, settings.lineSpacing);
    const int perPage = linesPerPage(l.pageHeight, settings.lineSpacing);
    const score::Score& s = song.score;
    long lines = 1;
    int x = geom::LeftMargin, bars = 0, beatUnit = 4;
    size_t nextSong = 0;
    for (size_t mi = 0; mi < s.measures.size(); ++mi) {
        while (nextSong < s.songs.size() && s.songs[nextSong].firstMeasure <= int(mi)) {
            if (s.songs[nextSong].head) beatUnit = s.songs[nextSong].head->beatUnit;
            if (mi > 0) {
                lines += x > geom::LeftMargin ? 3 : 2;
                x = geom::LeftMargin;
                bars = 0;
            }
            ++nextSong;
        }
        const int w = estimateWidth(s.measures[mi], beatUnit);
        if (x > geom::LeftMargin && x + w > l.pageWidth - geom::RightLimitInset) {
            ++lines;
            x = geom::LeftMargin;
            bars = 0;
        }
        x += w;
        if (++bars >= settings.barsPerLine) {
            ++lines;
            x = geom::LeftMargin;
            bars = 0;
        }
    }
    return int((lines + perPage - 1) / perPage);
}

LayoutResult LayOutSong(const MappedSong& song, LayoutSettings settings) {
    LayoutResult out;
    const score::Score& s = song.score;
    const bool chords = hasChords(s);
    const int verses = versesOf(s);
    const int below = verses > 0 ? lyricsRow(chords) + 16 * verses : chords ? 51 : 40;
    settings.lineSpacing = std::max(60, (below + (s.arcs.empty() ? 2 : 13) + 1) / 2 * 2);
    out.settings = settings;
    const PageLayout layout = ComputePageLayout(settings.barWidth, settings.barsPerLine, settings.lineSpacing);
    const int W = layout.pageWidth, H = layout.pageHeight, pitch = settings.lineSpacing;
    const int perPage = linesPerPage(H, pitch);
    const int estimate = EstimatePages(song, settings);
    if (estimate > kMaxPages) {
        out.error = QStringLiteral("the song would need about %1 pages, more than the limit of %2 pages").arg(estimate).arg(kMaxPages);
        return out;
    }

    auto songStarting = [&](int mi) -> const score::Song* {
        for (const score::Song& sg : s.songs)
            if (sg.firstMeasure == mi) return &sg;
        return nullptr;
    };
    const int n = int(s.measures.size());
    int mi = 0;
    const score::SongHead* head = s.songs.empty() || !s.songs[0].head ? nullptr : &*s.songs[0].head;
    while (mi < n) {
        if (int(out.pages.size()) >= kMaxPages) {
            out.error = QStringLiteral("the song needs more than the limit of %1 pages").arg(kMaxPages);
            out.pages.clear();
            return out;
        }
        auto t = std::make_unique<Typist>(settings, W, H);
        Editor& ed = t->ed;
        History::Step pageStep(ed.history);
        ImportedPage page;
        page.firstMeasure = mi;
        page.song = s.songOf(mi);
        if (const score::Song* sg = songStarting(mi); sg && sg->head) head = &*sg->head;
        const int beatUnit = head ? head->beatUnit : 4;
        ed.st.BeatUnit = Integer(beatUnit);
        ed.st.BeatsPerBar = kNoAutomaticBar;
        int currentUnit = beatUnit;
        auto lineOf = [&] { return (RoundHalfEven(ed.caret.Top) - geom::FirstLineTop) / pitch; };
        // Room for the chord symbols: a symbol's white blot begins two pixels
        // left of its anchor, so blanks go in until the symbol before has ended.
        int chordLine = -1, chordEnd = 0;
        int barLine = -1, barX = 0;  // where the last bar line went
        auto roomForChord = [&](int anchorOffset, const score::Harmony& h, const ChordKeys& keys) {
            for (int i = 0; i < 40 && lineOf() == chordLine && ed.caret.Left + anchorOffset - 2 <= chordEnd; ++i)
                t->press(vk::Space);
            chordLine = lineOf();
            chordEnd = RoundHalfEven(ed.caret.Left) + anchorOffset + chordReach(h, keys);
        };
        auto atLineStart = [&] { return ed.caret.Left <= geom::LeftMargin; };
        while (mi < n) {
            const score::Song* starts = mi > page.firstMeasure ? songStarting(mi) : nullptr;
            if (starts && starts->head) {
                // The new-score head: its title line, its key line, then the music.
                // Without lyrics the empty title line may be the last line of music.
                if (!atLineStart()) t->press(vk::Enter);
                const bool compact = verses == 0 && lineOf() > 0;
                if (compact) ed.caret.Top -= pitch;
                if (lineOf() + 2 >= perPage) {
                    if (compact) ed.caret.Top += pitch;
                    break;
                }
                NewScoreHead h;
                h.key = starts->head->key;
                h.numerator = QString::number(starts->head->beatsPerBar);
                h.denominator = QString::number(starts->head->beatUnit);
                h.tempo = starts->head->tempo;
                PrintNewScoreHead(ed.page, ed.pageFont, LayOutNewScoreHead(h, W, RoundHalfEven(ed.caret.Top), pitch));
                ed.caret.Top += 2 * pitch;
                ed.caret.Left = geom::LeftMargin;
                ed.st.BarsInLine = 0;
                ed.st.BarUnits = 0;
                currentUnit = starts->head->beatUnit;
                ed.st.BeatUnit = Integer(currentUnit);
                head = &*starts->head;
            }
            const score::Measure& m = s.measures[size_t(mi)];
            if (!atLineStart() && ed.caret.Left + estimateWidth(m, currentUnit) > W - geom::RightLimitInset)
                t->press(vk::Enter);
            if (lineOf() >= perPage) break;
            // A chord at the bar's start covers the dots under its first note:
            // blanks move the note out from under the symbol.
            if (!m.harmonies.empty() && m.harmonies[0].event < 0 && !m.events.empty() &&
                m.events[0].kind == EventKind::Note && m.events[0].octave < 0) {
                const int anchor = lineOf() == barLine ? barX : 16;
                const int reach = anchor + chordReach(m.harmonies[0], song.chordKeys[size_t(mi)][0]);
                for (int i = 0; i < 8 && ed.caret.Left + 6 < reach; ++i) t->press(vk::Space);
            }
            // The bar as typed: signs, notes, dots and dashes, then its bar line.
            if (m.repeatStart) {
                ed.st.BarsInLine = Integer(std::max(0, ed.st.BarsInLine - 1));  // the sign is not a bar of its own
                t->press(vk::LeftBracket);
            }
            for (size_t ei = 0; ei < m.events.size(); ++ei) {
                const Event& e = m.events[ei];
                for (size_t hi = 0; hi < m.harmonies.size(); ++hi)
                    if (m.harmonies[hi].event == int(ei) && ei > 0) roomForChord(6, m.harmonies[hi], song.chordKeys[size_t(mi)][hi]);
                if (ed.st.NoteValue != e.beams) t->press(Integer(vk::Numpad0 + e.beams));
                switch (e.accidental) {
                case score::Accidental::Sharp: t->press(77); break;
                case score::Accidental::Flat: t->press(vk::Comma); break;
                case score::Accidental::Natural: t->press(78); break;
                case score::Accidental::None: break;
                }
                if (e.kind == EventKind::Rest) {
                    t->press(vk::Semicolon);
                } else if (e.kind == EventKind::Percussion) {
                    static const Integer drums[5] = {90, 88, 67, 86, 66};  // Z X C V B
                    t->press(drums[std::clamp(e.syllable, 0, 4)]);
                } else if (const Integer key = noteKey(e.degree, e.octave)) {
                    t->press(key);
                } else {
                    // Two dots below, and 6 and 7 with two above, have no key.
                    History::Step step(ed.history);
                    ed.st.GlyphBand = 0;
                    ed.StampSymbol(Integer(14 + 7 * e.octave + e.degree - 1), ed.st.NoteValue);
                }
                for (int k = 0; k < e.dots; ++k) t->press(vk::Period);
                for (int k = 0; k < e.dashes; ++k) t->press(vk::Minus);
            }
            // The next bar's chord hangs from this bar line.
            if (mi + 1 < n && !s.measures[size_t(mi) + 1].harmonies.empty() &&
                s.measures[size_t(mi) + 1].harmonies[0].event < 0)
                roomForChord(6, s.measures[size_t(mi) + 1].harmonies[0], song.chordKeys[size_t(mi) + 1][0]);
            barLine = lineOf();
            barX = RoundHalfEven(ed.caret.Left) + 6;
            const Integer bar = m.repeatEnd                        ? vk::RightBracket
                                : m.end == score::BarEnd::Final  ? vk::Backslash
                                : m.end == score::BarEnd::Double ? vk::Apostrophe
                                                                 : Integer(65);
            t->press(bar);
            ++mi;
            if (lineOf() >= perPage) break;
        }
        page.endMeasure = mi;

        // Where everything landed, for the marks.
        const score::Score placed = score::BuildScore(score::ReadSymbols(ed.page, pitch));
        const int count = page.endMeasure - page.firstMeasure;
        auto at = [&](EventRef r) -> const Event* {
            const int k = r.measure - page.firstMeasure;
            if (k < 0 || k >= count || k >= int(placed.measures.size())) return nullptr;
            const auto& es = placed.measures[size_t(k)].events;
            return r.event >= 0 && r.event < int(es.size()) ? &es[size_t(r.event)] : nullptr;
        };
        auto bar = [&](int measure) { return song.barNumbers[size_t(measure)]; };

        // Chord symbols, in chord input with the keypad keys held.
        for (int k = page.firstMeasure; k < page.endMeasure; ++k) {
            const score::Measure& m = s.measures[size_t(k)];
            for (size_t hi = 0; hi < m.harmonies.size(); ++hi) {
                const score::Harmony& h = m.harmonies[hi];
                const Event* under = at(EventRef{k, std::max(0, h.event)});
                if (!under) continue;
                const ChordKeys& keys = song.chordKeys[size_t(k)][hi];
                History::Step step(ed.history);
                ed.caret.Top = float(under->position.top);
                ed.caret.Left = float(under->position.x + 3);
                ed.st.NoteInputMode = 0;
                ed.st.ChordAtCaret = h.event >= 0 ? 1 : 0;
                const std::pair<bool, int> held[] = {{keys.plus, 5}, {keys.minus, 6}, {keys.seventh, 7},
                                                     {keys.ninth, 9}, {keys.fourth, 4}, {keys.quality && !keys.ninth, 8}};
                for (const auto& [on, slot] : held) ed.st.KeypadHeld[size_t(slot)] = on ? 1 : 0;
                ed.StampSymbol(Integer(h.degree - 1), 0);
                ed.st.KeypadHeld.fill(0);
                ed.st.ChordAtCaret = 0;
                ed.st.NoteInputMode = 1;
            }
        }
        // The blots take the dots under the notes beside them with them: the
        // cells' ink of every bar with a chord is stamped again.
        for (int k = page.firstMeasure; k < page.endMeasure; ++k) {
            const score::Measure& m = s.measures[size_t(k)];
            const bool near = !m.harmonies.empty();
            if (!near) continue;
            History::Step step(ed.history);
            for (size_t ei = 0; ei < m.events.size(); ++ei) {
                const Event& e = m.events[ei];
                const Event* p = at(EventRef{k, int(ei)});
                if (!p) continue;
                const int code = e.kind == EventKind::Rest         ? 35
                                 : e.kind == EventKind::Percussion ? 36 + std::clamp(e.syllable, 0, 4)
                                                                   : 14 + 7 * e.octave + e.degree - 1;
                ed.page.paintInk(Picmode().copy(NoteCellRect(code, e.beams)), p->position.x, p->position.top);
            }
        }

        // Lyrics: one printed line per verse and line, each syllable centred under its note.
        {
            const QFont font = SongFont(14);
            const QFontMetricsF fm(font);
            const double space = fm.horizontalAdvance(QLatin1Char(' '));
            std::map<std::pair<int, int>, std::vector<std::pair<int, QString>>> rows;  // (line, verse) -> (centre, text)
            std::map<int, int> lineTops;
            for (int k = page.firstMeasure; k < page.endMeasure; ++k) {
                const score::Measure& m = s.measures[size_t(k)];
                for (size_t ei = 0; ei < m.events.size(); ++ei)
                    for (const score::Lyric& l : m.events[ei].lyrics) {
                        const Event* e = at(EventRef{k, int(ei)});
                        if (!e) continue;
                        QString text = l.text;
                        if (l.syllabic == score::Syllabic::Begin || l.syllabic == score::Syllabic::Middle) text += QLatin1Char('-');
                        rows[{e->position.line, l.verse}].push_back({e->position.x + 6, text});
                        lineTops[e->position.line] = e->position.top;
                    }
            }
            History::Step step(ed.history);
            for (auto& [key, syllables] : rows) {
                QString line;
                double cursor = geom::LeftMargin;
                QChar last;
                for (const auto& [centre, text] : syllables) {
                    const double width = fm.horizontalAdvance(text);
                    double letters = width;
                    if (text.endsWith(QLatin1Char('-')) && text.size() > 1) letters -= fm.horizontalAdvance(QLatin1Char('-'));
                    const double start = centre - letters / 2;
                    const bool joins = line.isEmpty() || (isHan(text[0]) && isHan(last));
                    const int blanks = std::max(joins ? 0 : 1, int(std::lround((start - cursor) / space)));
                    line += QString(blanks, QLatin1Char(' ')) + text;
                    cursor += blanks * space + width;
                    last = text.back();
                }
                PrintLyrics(ed.page, line, geom::LeftMargin, lineTops[key.first] + lyricsRow(chords) + 16 * (key.second - 1), font);
            }
        }

        // Ties and slurs as arcs.
        for (const score::Arc& a : s.arcs) {
            const bool fromHere = a.from.measure >= page.firstMeasure && a.from.measure < page.endMeasure;
            const bool toHere = a.to.measure >= page.firstMeasure && a.to.measure < page.endMeasure;
            if (!fromHere && !toHere) continue;
            const Event* p = at(a.from);
            const Event* q = at(a.to);
            if (!fromHere || !toHere) {
                if (fromHere) out.notes << QStringLiteral("bar %1: a %2 over a page break is left out").arg(bar(a.from.measure), a.tie ? QStringLiteral("tie") : QStringLiteral("slur"));
                continue;
            }
            if (!p || !q) continue;
            if (q->position.line - p->position.line > 1) {
                out.notes << QStringLiteral("bar %1: a slur over more than two lines is left out").arg(bar(a.from.measure));
                continue;
            }
            History::Step step(ed.history);
            DrawSlur(ed.page, p->position.x + 6, p->position.top, q->position.x + 6, q->position.top);
        }

        // Grace-note groups: the overlays O would make at the note's cell.
        int pictures = 0;
        for (const score::Direction& d : s.directions) {
            if (d.kind != score::Direction::Kind::Grace || d.at.measure < page.firstMeasure || d.at.measure >= page.endMeasure) continue;
            const Event* e = at(d.at);
            if (!e) continue;
            const GraceNotePlan plan = PlanGraceNotes(d.text, e->position.x, e->position.top, pictures);
            if (plan.outcome != GraceNotePlan::Outcome::Place) {
                out.notes << QStringLiteral("bar %1: grace notes %2 left out (%3)").arg(bar(d.at.measure), d.text,
                                                                                        plan.message.isEmpty() ? QStringLiteral("no room") : plan.message);
                continue;
            }
            for (const GraceOverlay& o : plan.overlays) page.graces.push_back(o);
            pictures += int(plan.overlays.size());
        }

        // The proof: the page read back as a whole.
        page.read = score::ReadPage(ed.page, pitch);
        for (int k = page.firstMeasure; k < page.endMeasure; ++k) {
            const int r = k - page.firstMeasure;
            const QString want = MeasureNotes(s.measures[size_t(k)]);
            const QString got = r < int(page.read.measures.size()) ? MeasureNotes(page.read.measures[size_t(r)]) : QString();
            if (want != got) out.mismatches << QStringLiteral("bar %1: expected %2, read %3").arg(bar(k), want, got.isEmpty() ? QStringLiteral("nothing") : got);
        }
        // The marks are checked as well; a difference there is a note, not a failed proof.
        auto marksOf = [](const score::Measure& m) {
            QStringList words, symbols;
            for (const Event& e : m.events)
                for (const score::Lyric& l : e.lyrics) words << QStringLiteral("%1:%2").arg(l.verse).arg(l.text);
            for (const score::Harmony& h : m.harmonies) symbols << QStringLiteral("%1@%2").arg(score::HarmonyText(h)).arg(h.event);
            words.sort();
            return std::make_pair(words.join(QLatin1Char(' ')), symbols.join(QLatin1Char(' ')));
        };
        for (int k = page.firstMeasure; k < page.endMeasure && k - page.firstMeasure < int(page.read.measures.size()); ++k) {
            const auto want = marksOf(s.measures[size_t(k)]);
            const auto got = marksOf(page.read.measures[size_t(k - page.firstMeasure)]);
            if (want.first != got.first) out.notes << QStringLiteral("bar %1: the lyrics read back as \"%2\", not \"%3\"").arg(bar(k), got.first, want.first);
            if (want.second != got.second) out.notes << QStringLiteral("bar %1: the chords read back as \"%2\", not \"%3\"").arg(bar(k), got.second, want.second);
        }
        if (int(page.read.measures.size()) > count)
            out.mismatches << QStringLiteral("page %1: %2 more measures read than written").arg(out.pages.size() + 1).arg(int(page.read.measures.size()) - count);
        page.caretLeft = ed.caret.Left;
        page.caretTop = ed.caret.Top;
        page.image = ed.page.image();
        const bool stuck = page.endMeasure == page.firstMeasure;
        out.pages.push_back(std::move(page));
        if (stuck) {
            out.error = QStringLiteral("bar %1 does not fit on a page").arg(bar(mi));
            return out;
        }
    }
    return out;
}

}  // namespace qn::import
