// The recognisers beside the glyph index: heads of further songs, arcs, chord
// symbols and lyrics, each compared exactly with what the program prints.
#include "PageMarks.h"

#include <QHash>
#include <algorithm>
#include <map>

#include "EditorState.h"
#include "NewScoreHead.h"
#include "Slur.h"
#include "SongFont.h"
#include "TextStamps.h"

namespace qn::score::detail {

namespace {

int bandTop(int line, int pitch) { return geom::FirstLineTop + line * pitch; }

QString textOf(const std::vector<ReadChar>& chars, size_t from = 0, size_t to = size_t(-1)) {
    QString s;
    for (size_t i = from; i < chars.size() && i < to; ++i) s += chars[i].ch;
    return s.trimmed();
}

// The glyph's ink all present with its origin at (x, top).
bool glyphFits(const InkView& ink, const TextGlyphs& font, const TextGlyph& g, int x, int top) {
    for (int i = 0; i < g.width; ++i) {
        const std::uint32_t want = g.cols[size_t(i)];
        if ((font.column(ink, x + g.left + i, top) & want) != want) return false;
    }
    return true;
}

void claimGlyph(InkView& ink, const TextGlyphs& font, const TextGlyph& g, int x, int top) {
    if (ink.record.texts)
        ink.record.texts->push_back(
            TextMark{QString(g.ch), x, top, font.font().pixelSize(), font.font().bold(), 0xFF000000u});
    for (int i = 0; i < g.width; ++i)
        for (int r = 0; r < font.height(); ++r)
            if (g.cols[size_t(i)] >> r & 1) ink.claim(x + g.left + i, top + r);
}

void skip(std::vector<Skip>& out, int line, int x, const QString& reason) { out.push_back(Skip{line, x, reason}); }

// Events that can carry a syllable, an arc end or a chord, line by line.
struct Placed {
    EventRef ref;
    const Event* event;
};
std::map<int, std::vector<Placed>> eventsByLine(const Score& score, bool withContinuations) {
    std::map<int, std::vector<Placed>> lines;
    for (size_t m = 0; m < score.measures.size(); ++m) {
        const auto& events = score.measures[m].events;
        for (size_t e = 0; e < events.size(); ++e) {
            const Event& ev = events[e];
            if (!withContinuations && (ev.kind == EventKind::Rest || ev.tiedFromPrevious)) continue;
            lines[ev.position.line].push_back(Placed{EventRef{int(m), int(e)}, &ev});
        }
    }
    for (auto& [line, list] : lines)
        std::sort(list.begin(), list.end(),
                  [](const Placed& a, const Placed& b) { return a.event->position.x < b.event->position.x; });
    return lines;
}

// The event whose cell holds x; else, within `reach` pixels, the nearest one
// (a word wider than its note starts at the margin or runs past its cell).
const Placed* eventUnder(const std::vector<Placed>& list, int x, int reach = 0) {
    const Placed* nearest = nullptr;
    int best = reach + 1;
    for (const Placed& p : list) {
        const int left = p.event->position.x, right = left + p.event->position.width - 1;
        const int d = x < left ? left - x : x > right ? x - right : 0;
        if (d < best) {
            best = d;
            nearest = &p;
        }
    }
    return nearest;
}

}  // namespace

// ---- Heads printed by the new-score dialog

std::vector<HeadReading> ReadHeads(InkView& ink, int pitch, std::vector<Skip>& skipped) {
    std::vector<HeadReading> heads;
    if (pitch < 1) return heads;
    const TextGlyphs& small = TextGlyphs::forSongFont(kHeadPixels);
    const TextGlyph* one = small.glyph(QLatin1Char('1'));
    const TextGlyph* equals = small.glyph(QLatin1Char('='));
    const TextGlyph* bar = small.glyph(QChar(0x2500));
    if (!one || !equals) return heads;
    for (int line = 1;; ++line) {
        const int keyTop = bandTop(line, pitch);
        if (keyTop >= ink.height()) break;
        // Where the dialog prints each text when the caret stood on the line before.
        const std::vector<HeadText> at = LayOutNewScoreHead(NewScoreHead{}, ink.width(), keyTop - pitch, pitch);
        const HeadText &titleAt = at[0], &keyAt = at[1], &barAt = at[2], &numAt = at[3], &denAt = at[4],
                       &tempoAt = at[5];
        if (!glyphFits(ink, small, *one, keyAt.x, keyAt.y)) continue;
        std::vector<int> unread;
        const std::vector<ReadChar> keyChars = small.read(ink, keyAt.y, keyAt.x, barAt.x, keyAt.x, &unread);
        const QString keyText = textOf(keyChars);
        if (!keyText.startsWith(QLatin1String("1=")) || !unread.empty() || keyChars.empty() ||
            keyChars[0].x - one->left != keyAt.x)
            continue;
        HeadReading h;
        h.line = line;
        h.head.key = keyText.mid(2).trimmed();
        small.claim(ink, keyAt.y, keyChars);
        if (bar && glyphFits(ink, small, *bar, barAt.x, barAt.y)) claimGlyph(ink, small, *bar, barAt.x, barAt.y);

        const auto number = [&](const HeadText& t, int& value, const char* what) {
            std::vector<int> bad;
            const std::vector<ReadChar> chars = small.read(ink, t.y, t.x, tempoAt.x, t.x, &bad);
            bool ok = false;
            const int v = textOf(chars).toInt(&ok);
            if (ok && bad.empty()) {
                value = v;
                small.claim(ink, t.y, chars);
            } else {
                skip(skipped, line, t.x, QStringLiteral("head without a readable %1").arg(QLatin1String(what)));
            }
        };
        number(numAt, h.head.beatsPerBar, "time signature numerator");
        number(denAt, h.head.beatUnit, "time signature denominator");

        // The tempo, then (after a wide gap) the credits.
        unread.clear();
        const std::vector<ReadChar> rest = small.read(ink, tempoAt.y, tempoAt.x, ink.width(), tempoAt.x, &unread);
        size_t end = 0, blanks = 0;
        for (; end < rest.size(); ++end) {
            blanks = rest[end].space ? blanks + 1 : 0;
            if (blanks >= 4) break;
        }
        h.head.tempo = textOf(rest, 0, end);
        small.claim(ink, tempoAt.y, rest);
        for (const int x : unread) skip(skipped, line, x, QStringLiteral("unread text in a song's head"));

        const TextGlyphs& big = TextGlyphs::forSongFont(kHeadTitlePixels);
        unread.clear();
        const std::vector<ReadChar> title = big.read(ink, titleAt.y, 0, ink.width(), -1, &unread);
        h.head.title = textOf(title);
        big.claim(ink, titleAt.y, title);
        for (const int x : unread) skip(skipped, line - 1, x, QStringLiteral("unread text in a song's title"));
        heads.push_back(h);
    }
    return heads;
}

// ---- Arcs drawn with L

namespace {

struct ArcShape {
    std::vector<QPoint> ink;  // relative to the piece's top-left
};

bool rawBlack(const InkView& ink, int x, int y) {
    return x >= 0 && y >= 0 && x < ink.width() && y < ink.height() && (ink.pixel(x, y) & 0xFFFFFFu) == 0;
}

class ArcShapes {
public:
    const ArcShape& get(const QRect& source, QSize size) {
        const quint64 key = (quint64(source.x()) << 40) | (quint64(size.width()) << 20) | quint64(size.height());
        auto it = cache_.find(key);
        if (it != cache_.end()) return it->second;
        ArcShape s;
        const QImage img = ScaleInk(Image4(), source, size);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if ((img.pixel(x, y) & 0xFFFFFFu) == 0) s.ink.push_back(QPoint(x, y));
        return cache_.emplace(key, std::move(s)).first->second;
    }

private:
    std::map<quint64, ArcShape> cache_;
};

bool pieceFits(const InkView& ink, ArcShapes& shapes, const SlurPiece& piece) {
    if (piece.target.isEmpty()) return false;
    const ArcShape& s = shapes.get(piece.source, piece.target.size());
    if (s.ink.empty()) return false;
    for (const QPoint& p : s.ink)
        if (!rawBlack(ink, piece.target.x() + p.x(), piece.target.y() + p.y())) return false;
    return true;
}

void claimPiece(InkView& ink, ArcShapes& shapes, const SlurPiece& piece) {
    if (ink.record.arcs) ink.record.arcs->push_back(ArcMark{piece.source, piece.target});
    for (const QPoint& p : shapes.get(piece.source, piece.target.size()).ink)
        ink.claim(piece.target.x() + p.x(), piece.target.y() + p.y());
}

bool samePitch(const Event& a, const Event& b) {
    return a.kind == EventKind::Note && b.kind == EventKind::Note && a.degree == b.degree && a.octave == b.octave &&
           a.alter == b.alter;
}

}  // namespace

void ReadArcs(InkView& ink, int pitch, Score& score) {
    const auto lines = eventsByLine(score, false);
    ArcShapes shapes;
    std::vector<std::pair<Placed, Placed>> found;
    std::vector<SlurPiece> claimedPieces;
    for (const auto& [line, list] : lines) {
        const int y = bandTop(line, pitch);
        for (size_t i = 0; i < list.size(); ++i) {
            const int x1 = list[i].event->position.x + 6;
            if (!rawBlack(ink, x1, y + 1)) continue;  // every arc ends on row 1 at its left end
            for (size_t j = i + 1; j < list.size(); ++j) {
                const int x2 = list[j].event->position.x + 6;
                if (!rawBlack(ink, x2 - 1, y + 1)) continue;
                const std::vector<SlurPiece> pieces = SlurPieces(x1, y, x2, y, ink.width());
                if (pieces.size() == 1 && pieceFits(ink, shapes, pieces[0])) {
                    found.push_back({list[i], list[j]});
                    claimedPieces.push_back(pieces[0]);
                }
            }
            // Over a line break: the left half to the line's end, the right half on the next line.
            const auto next = lines.find(line + 1);
            if (next == lines.end()) continue;
            const int y2 = bandTop(line + 1, pitch);
            for (const Placed& b : next->second) {
                const int x2 = b.event->position.x + 6;
                if (!rawBlack(ink, x2 - 1, y2 + 1)) continue;
                const std::vector<SlurPiece> pieces = SlurPieces(x1, y, x2, y2, ink.width());
                if (pieces.size() == 2 && pieceFits(ink, shapes, pieces[0]) && pieceFits(ink, shapes, pieces[1])) {
                    found.push_back({list[i], b});
                    claimedPieces.insert(claimedPieces.end(), pieces.begin(), pieces.end());
                }
            }
        }
    }
    for (const SlurPiece& p : claimedPieces) claimPiece(ink, shapes, p);

    // Neighbours: no note or rest between the two ends in reading order.
    std::map<EventRef, EventRef> nextOf;
    EventRef previous;
    for (size_t m = 0; m < score.measures.size(); ++m)
        for (size_t e = 0; e < score.measures[m].events.size(); ++e) {
            const EventRef here{int(m), int(e)};
            if (previous.valid()) nextOf[previous] = here;
            previous = here;
        }
    for (const auto& [a, b] : found) {
        Arc arc{a.ref, b.ref, false};
        const auto it = nextOf.find(a.ref);
        if (it != nextOf.end() && it->second == b.ref && samePitch(*a.event, *b.event)) {
            arc.tie = true;
            score.event(a.ref)->tiedToNext = true;
            score.event(b.ref)->tiedFromPrevious = true;
        }
        score.arcs.push_back(arc);
    }
}

// ---- Chord symbols

namespace {

constexpr int kChordRow = 26, kChordSmallDrop = 11, kChordRows = 26;

struct ChordStamp {
    QString text;  // as the chord path prints it
    int pixelSize = 0;
    bool bold = false;
    std::vector<QPoint> ink;  // relative to the text cursor and the text's top
    int advance = 0;
    int left = 0, right = 0;  // ink columns relative to the cursor
};

struct ChordStamps {
    ChordStamp root[7], plus, minus, seven, nine, four, min, max;
};

ChordStamp stampOf(TextStamps& font, const QString& text) {
    const TextStamps::Stamp& s = font.get(text);
    ChordStamp c;
    c.text = text;
    c.pixelSize = font.font().pixelSize();
    c.bold = font.font().bold();
    c.advance = s.advance;
    c.left = 1 << 20;
    c.right = -(1 << 20);
    for (int y = 0; y < s.mask.height(); ++y) {
        const uchar* row = s.mask.constScanLine(y);
        for (int x = 0; x < s.mask.width(); ++x)
            if (row[x]) {
                c.ink.push_back(QPoint(x + s.left, y));
                c.left = std::min(c.left, x + s.left);
                c.right = std::max(c.right, x + s.left);
            }
    }
    return c;
}

// The chord path's texts, rendered as it renders them.
const ChordStamps& chordStamps() {
    static const ChordStamps stamps = [] {
        ChordStamps s;
        TextStamps big(SongFont(24, true)), small(SongFont(12, false));
        for (int d = 0; d < 7; ++d) s.root[d] = stampOf(big, QStringLiteral(" %1 ").arg(d + 1));
        s.plus = stampOf(big, QStringLiteral("+"));
        s.minus = stampOf(big, QStringLiteral("-"));
        s.seven = stampOf(small, QStringLiteral(" 7 "));
        s.nine = stampOf(small, QStringLiteral(" 9 "));
        s.four = stampOf(small, QStringLiteral(" 4 "));
        s.min = stampOf(small, QStringLiteral("MIN"));
        s.max = stampOf(small, QStringLiteral("MAX"));
        return s;
    }();
    return stamps;
}

struct StampAt {
    const ChordStamp* stamp;
    int x, y;  // cursor and text top
};

bool stampFits(const InkView& ink, const ChordStamp& s, int x, int y) {
    if (s.ink.empty()) return false;
    for (const QPoint& p : s.ink)
        if (!ink.coloured(x + p.x(), y + p.y())) return false;
    return true;
}

struct ChordSearch {
    const InkView& ink;
    const ChordStamps& st;
    int x0, top;  // first coloured column, chord text top
    std::vector<StampAt> placed;
    Harmony h;
    bool found = false;
    Harmony best;
    std::vector<StampAt> bestPlaced;
    int bestInk = -1;

    // The steps of the chord path after the root: "+", "-", then lower and
    // smaller 7, 9, 4 and MIN/MAX.
    void step(int n, int cx, int cy) {
        // Each modifier stands `dx` from the cursor; `drop` lowers the rest.
        auto tryStamp = [&](const ChordStamp& s, int dx, int nextStep, bool Harmony::*flag, int dropX, int dropY) {
            const int at = cx + dx;
            if (!stampFits(ink, s, at, cy)) return;
            placed.push_back({&s, at, cy});
            h.*flag = true;
            step(nextStep, at + s.advance + dropX, cy + dropY);
            h.*flag = false;
            placed.pop_back();
        };
        switch (n) {
        case 0:
            step(1, cx, cy);
            tryStamp(st.plus, -11, 1, &Harmony::plus, 0, 0);
            return;
        case 1:
            step(2, cx - 11, cy + kChordSmallDrop);
            tryStamp(st.minus, -11, 2, &Harmony::minus, -11, kChordSmallDrop);
            return;
        case 2:
            step(3, cx, cy);
            tryStamp(st.seven, -5, 3, &Harmony::seventh, 0, 0);
            return;
        case 3:
            step(4, cx, cy);
            tryStamp(st.nine, -5, 4, &Harmony::ninth, 0, 0);
            return;
        case 4:
            step(5, cx, cy);
            tryStamp(st.four, -5, 5, &Harmony::fourth, 0, 0);
            return;
        default: {
            const int r = h.degree - 1;
            const bool minor = r == 0 || r == 3 || r == 4;
            if (!h.ninth) leaf();  // MIN/MAX follows a 9 always
            const ChordStamp& q = minor ? st.min : st.max;
            if (!stampFits(ink, q, cx, cy)) return;
            placed.push_back({&q, cx, cy});
            h.quality = minor ? Harmony::Quality::Min : Harmony::Quality::Max;
            leaf();
            h.quality = Harmony::Quality::Diatonic;
            placed.pop_back();
        }
        }
    }

    // Exact: every coloured pixel in the chord's columns belongs to its texts.
    void leaf() {
        int left = 1 << 20, right = -1;
        for (const StampAt& s : placed) {
            left = std::min(left, s.x + s.stamp->left);
            right = std::max(right, s.x + s.stamp->right);
        }
        const int w = right - left + 1, rows = kChordRows;
        std::vector<char> mine(size_t(w * rows), 0);
        int count = 0;
        for (const StampAt& s : placed)
            for (const QPoint& p : s.stamp->ink) {
                const int x = s.x + p.x() - left, y = s.y + p.y() - top;
                if (y < 0 || y >= rows) return;
                char& c = mine[size_t(y * w + x)];
                if (!c) ++count;
                c = 1;
            }
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < w; ++x)
                if (!mine[size_t(y * w + x)] && ink.coloured(left + x, top + y)) return;
        if (count > bestInk) {
            bestInk = count;
            best = h;
            bestPlaced = placed;
            found = true;
        }
    }
};

bool barLineAt(const InkView& ink, int x, int lineTop) {
    return rawBlack(ink, x, lineTop + 5) && rawBlack(ink, x, lineTop + 32);
}

}  // namespace

void ReadChords(InkView& ink, int pitch, Score& score) {
    const ChordStamps& st = chordStamps();
    const auto lines = eventsByLine(score, true);
    const int W = ink.width();
    std::vector<char> colouredColumn(size_t(std::max(W, 0)));
    for (int line = 0;; ++line) {
        const int lineTop = bandTop(line, pitch);
        if (lineTop >= ink.height()) break;
        const int top = lineTop + kChordRow;
        bool any = false;
        for (int x = 0; x < W; ++x) {
            const bool c = ink.colouredRows(x, top, kChordRows) != 0;
            colouredColumn[size_t(x)] = c;
            any = any || c;
        }
        if (!any) continue;
        const auto eventsHere = lines.find(line);
        for (int x = 0; x < W;) {
            if (!colouredColumn[size_t(x)]) {
                ++x;
                continue;
            }
            ChordSearch search{ink, st, x, top, {}, {}, false, {}, {}, -1};
            for (int d = 0; d < 7; ++d) {
                const ChordStamp& root = st.root[d];
                const int cursor = x - root.left;
                if (!stampFits(ink, root, cursor, top)) continue;
                search.h = Harmony{};
                search.h.degree = d + 1;
                search.placed = {{&root, cursor, top}};
                search.step(0, cursor + root.advance, top);
            }
            if (!search.found) {
                skip(score.skipped, line, x, QStringLiteral("chord ink that is no chord"));
                while (x < W && colouredColumn[size_t(x)]) ++x;
                continue;
            }
            int right = x;
            for (const StampAt& s : search.bestPlaced) {
                right = std::max(right, s.x + s.stamp->right);
                if (ink.record.texts && !s.stamp->ink.empty()) {
                    const QPoint first = s.stamp->ink.front();
                    ink.record.texts->push_back(TextMark{s.stamp->text, s.x, s.y, s.stamp->pixelSize, s.stamp->bold,
                                                         ink.pixel(s.x + first.x(), s.y + first.y())});
                }
                for (const QPoint& p : s.stamp->ink) ink.claim(s.x + p.x(), s.y + p.y());
            }
            Harmony h = search.best;
            const StampAt& root = search.bestPlaced.front();
            const int anchor = root.x + 8;
            h.position = PagePosition{line, lineTop, anchor, 0};
            // At a bar line: the measure after it; at 16 (no bar line): the
            // line's first measure; elsewhere (G) the note under the root.
            const Placed* target = nullptr;
            bool underNote = false;
            if (eventsHere != lines.end()) {
                const auto& list = eventsHere->second;
                if (barLineAt(ink, anchor, lineTop) || anchor == 16) {
                    for (const Placed& p : list)
                        if (p.event->position.x > anchor) {
                            target = &p;
                            break;
                        }
                } else {
                    target = eventUnder(list, root.x + (root.stamp->left + root.stamp->right) / 2);
                    underNote = true;
                }
            }
            if (!target) {
                skip(score.skipped, line, x, QStringLiteral("chord with no bar or note under it"));
            } else {
                h.event = underNote || target->ref.event > 0 ? target->ref.event : -1;
                score.measures[size_t(target->ref.measure)].harmonies.push_back(h);
            }
            x = right + 1;
        }
    }
}

// ---- Lyrics

namespace {

constexpr int kLyricsPixels = 14;  // the lyrics box's 10.5 pt
constexpr int kLyricsLeft = 20;    // the lyrics box's left edge
constexpr int kLyricsReach = 8;    // how far a syllable's middle may lie outside its note's cell

bool isHan(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 0x3400 && u <= 0x9FFF) || (u >= 0xF900 && u <= 0xFAFF);
}
bool isWordChar(QChar c) { return !isHan(c) && (c.isLetterOrNumber() || c == QLatin1Char('\'')); }

struct SyllableRead {
    QString text;
    int x0 = 0, x1 = 0;  // ink of its letters
    Syllabic syllabic = Syllabic::Single;
};

// Characters of one lyric line into syllables: each Chinese character one,
// each word of letters one, split at hyphens; punctuation joins the syllable before.
std::vector<SyllableRead> syllables(const std::vector<ReadChar>& chars) {
    std::vector<SyllableRead> out;
    bool hyphenBefore = false, inWord = false;
    std::vector<bool> continues;  // out[i] is followed by a hyphen
    for (const ReadChar& c : chars) {
        if (c.space) {
            inWord = false;
            continue;
        }
        if (c.ch == QLatin1Char('-') && !out.empty()) {
            continues.back() = true;
            hyphenBefore = true;
            inWord = false;
            continue;
        }
        if (isHan(c.ch) || isWordChar(c.ch)) {
            if (isWordChar(c.ch) && inWord) {
                out.back().text += c.ch;
                out.back().x1 = c.right;
                continue;
            }
            SyllableRead s;
            s.text = c.ch;
            s.x0 = c.x;
            s.x1 = c.right;
            s.syllabic = hyphenBefore ? Syllabic::End : Syllabic::Single;
            out.push_back(s);
            continues.push_back(false);
            hyphenBefore = false;
            inWord = isWordChar(c.ch);
            continue;
        }
        // Punctuation belongs to the word before it.
        if (!out.empty()) out.back().text += c.ch;
        inWord = false;
    }
    for (size_t i = 0; i < out.size(); ++i) {
        if (!continues[i]) continue;
        out[i].syllabic = out[i].syllabic == Syllabic::End ? Syllabic::Middle : Syllabic::Begin;
    }
    return out;
}

// The first row in [from, to) with black ink, else `to`.
int firstInkRow(const InkView& ink, int from, int to) {
    for (int y = from; y < to; y += 56) {
        const int n = std::min(56, to - y);
        std::uint64_t any = 0;
        for (int x = 0; x < ink.width(); ++x) any |= ink.blackRows(x, y, n);
        if (any) return y + __builtin_ctzll(any);
    }
    return to;
}

}  // namespace

void ReadLyrics(InkView& ink, int pitch, Score& score) {
    const TextGlyphs& font = TextGlyphs::forSongFont(kLyricsPixels);
    const auto lines = eventsByLine(score, false);
    const int W = ink.width(), h = font.height();
    for (int line = 0;; ++line) {
        const int lineTop = bandTop(line, pitch);
        if (lineTop >= ink.height()) break;
        // Below the cells to the next line's top (its rows 0..2 hold arc ends, claimed).
        const int from = lineTop + 38, to = std::min(ink.height(), lineTop + std::max(pitch, 40) + 3);
        int verse = 0;
        for (int y = from; y < to; ++y) {
            y = firstInkRow(ink, y, to);
            if (y >= to) break;
            int firstX = 0;
            while (!ink.black(firstX, y)) ++firstX;
            // The ink's first row lies somewhere in the text's rows: try each top.
            int bestTop = -1, bestInk = 0;
            std::vector<ReadChar> best;
            std::vector<int> bestUnread;
            for (int t = y - h + 1; t <= y; ++t) {
                std::vector<int> unread;
                int inkRead = 0;
                // Only a top at which the first character reads can be the line's.
                if (font.read(ink, t, 0, W, kLyricsLeft, &unread, &inkRead, 1).empty() || !unread.empty()) continue;
                std::vector<ReadChar> chars = font.read(ink, t, 0, W, kLyricsLeft, &unread, &inkRead);
                if (inkRead > bestInk) {
                    bestInk = inkRead;
                    bestTop = t;
                    best = std::move(chars);
                    bestUnread = std::move(unread);
                }
            }
            if (bestTop < 0) {
                skip(score.skipped, line, firstX, QStringLiteral("unknown ink under the notes"));
                for (int x = 0; x < W; ++x)
                    if (ink.black(x, y)) {
                        if (ink.record.unknown) ink.record.unknown->push_back(QPoint(x, y));
                        ink.claim(x, y);
                    }
                continue;
            }
            // A line with ink no character explains, or of punctuation only, is no
            // text to draw again: its characters may be pieces of a scribble.
            const bool text = ink.record.unknown == nullptr || (bestUnread.empty() && !syllables(best).empty());
            font.claim(ink, bestTop, best, text);
            for (const int x : bestUnread) skip(score.skipped, line, x, QStringLiteral("unread lyric text"));
            ++verse;
            const auto notes = lines.find(line);
            for (const SyllableRead& s : syllables(best)) {
                const Placed* under = notes == lines.end() ? nullptr : eventUnder(notes->second, (s.x0 + s.x1) / 2, kLyricsReach);
                Event* e = under ? score.event(under->ref) : nullptr;
                const bool taken = e && std::any_of(e->lyrics.begin(), e->lyrics.end(),
                                                    [&](const Lyric& l) { return l.verse == verse; });
                if (!e || taken) {
                    skip(score.skipped, line, s.x0, QStringLiteral("syllable \"%1\" under no note").arg(s.text));
                    continue;
                }
                e->lyrics.push_back(Lyric{verse, s.text, s.syllabic});
            }
            y = bestTop;  // go on below what was read (the loop steps past claimed rows)
        }
    }
}

}  // namespace qn::score::detail

namespace qn::score {

namespace {

Direction::Kind phraseKind(const QString& text) {
    static const char16_t* const dynamics[] = {u"强", u"弱", u"中强", u"中弱", u"很强", u"很弱",
                                               u"ff", u"f", u"mf", u"mp", u"p", u"pp"};
    for (const char16_t* d : dynamics)
        if (text == QString::fromUtf16(d)) return Direction::Kind::Dynamics;
    if (text == QStringLiteral("渐强") || text == QStringLiteral("cresc.")) return Direction::Kind::Crescendo;
    if (text == QStringLiteral("渐弱") || text == QStringLiteral("dim.")) return Direction::Kind::Diminuendo;
    return Direction::Kind::Words;
}

}  // namespace

void AttachOverlays(Score& score, const std::vector<OverlayMark>& overlays, int) {
    struct Cell {
        EventRef ref;
        QRect rect;
    };
    std::vector<Cell> cells;
    for (size_t m = 0; m < score.measures.size(); ++m)
        for (size_t e = 0; e < score.measures[m].events.size(); ++e) {
            const Event& ev = score.measures[m].events[e];
            if (ev.kind == EventKind::Rest || ev.tiedFromPrevious) continue;
            cells.push_back({EventRef{int(m), int(e)}, QRect(ev.position.x, ev.position.top, ev.position.width, 40)});
        }
    auto nearest = [&](QPoint p) -> const Cell* {
        const Cell* best = nullptr;
        long bestD = 0;
        for (const Cell& c : cells) {
            const QPoint d = c.rect.center() - p;
            const long dist = long(d.x()) * d.x() + long(d.y()) * d.y();
            if (!best || dist < bestD) {
                best = &c;
                bestD = dist;
            }
        }
        return best;
    };
    for (const OverlayMark& o : overlays) {
        if (o.picture) {
            // A group picture "装饰音n.bmp" at (X - 8n - 1, Y + 4) names the caret (X, Y) of O.
            static const QString group = QStringLiteral("装饰音");
            if (!o.text.startsWith(group) || !o.text.endsWith(QLatin1String(".bmp"))) continue;
            const int n = o.text.mid(group.size(), o.text.size() - group.size() - 4).toInt();
            if (n < 1 || n > 5) continue;
            const int insertX = o.rect.left() + 8 * n + 1, insertY = o.rect.top() - 4;
            QString digits;
            for (int i = 1; i <= n; ++i) {
                const QPoint at(insertX + 8 * i - 8 * n - 8, insertY - 9);
                for (const OverlayMark& d : overlays)
                    if (d.picture && d.rect.topLeft() == at && d.text.size() == 5 && d.text.endsWith(QLatin1String(".bmp")) &&
                        d.text[0] >= QLatin1Char('1') && d.text[0] <= QLatin1Char('7')) {
                        digits += d.text[0];
                        break;
                    }
            }
            const Cell* c = nearest(QPoint(insertX + 6, insertY + 20));
            if (!c || digits.size() != n) {
                score.skipped.push_back(Skip{-1, o.rect.left(), QStringLiteral("grace notes with no note or digits")});
                continue;
            }
            score.directions.push_back(Direction{Direction::Kind::Grace, digits, c->ref});
            continue;
        }
        if (o.text.trimmed().isEmpty()) continue;
        const Cell* c = nearest(o.rect.center());
        if (!c) {
            score.skipped.push_back(Skip{-1, o.rect.left(), QStringLiteral("phrase \"%1\" with no note").arg(o.text)});
            continue;
        }
        score.directions.push_back(Direction{phraseKind(o.text.trimmed()), o.text.trimmed(), c->ref});
    }
    std::stable_sort(score.directions.begin(), score.directions.end(),
                     [](const Direction& a, const Direction& b) { return a.at < b.at; });
}

}  // namespace qn::score
