// BuildScore: the music of the symbols read from the page.
#include <algorithm>
#include <map>
#include <optional>
#include <utility>

#include "PageReader.h"

namespace qn::score {

namespace {

enum class Bar { Single, Double, Final, RepeatStart, RepeatEnd };

int strength(BarEnd e) { return int(e); }  // Open < Single < Double < Final

class Builder {
public:
    Builder() { score_.songs.push_back(Song{}); }

    // The symbols from here on are a new song: what is open ends here.
    void newSong(const HeadReading& head) {
        dropSign();
        if (!current_.events.empty()) {
            score_.measures.push_back(std::move(current_));
            current_ = Measure{};
        }
        if (repeatStartAt_) skip(*repeatStartAt_, QStringLiteral("repeat start with nothing after it"));
        repeatStartAt_.reset();
        alters_.clear();
        last_ = Last::None;
        Song song;
        song.firstMeasure = int(score_.measures.size());
        song.head = head.head;
        song.headLine = head.line;
        score_.songs.push_back(song);
    }

    Score take() {
        if (accidental_) skip(accidentalAt_, QStringLiteral("sign without a note"));
        if (!current_.events.empty()) score_.measures.push_back(std::move(current_));
        if (repeatStartAt_) skip(*repeatStartAt_, QStringLiteral("repeat start with nothing after it"));
        // A head with no music after it starts nothing.
        auto& songs = score_.songs;
        for (size_t i = songs.size(); i-- > 1;) {
            const int end = i + 1 < songs.size() ? songs[i + 1].firstMeasure : int(score_.measures.size());
            if (songs[i].firstMeasure < end) continue;
            skip(PagePosition{songs[i].headLine, 0, 16, 0}, QStringLiteral("head with no notes after it"));
            songs.erase(songs.begin() + long(i));
        }
        if (songs.size() > 1 && songs[1].firstMeasure == 0) songs.erase(songs.begin());  // the page opens with a head
        if (score_.measures.empty()) songs.clear();
        std::stable_sort(score_.skipped.begin(), score_.skipped.end(),
                         [](const Skip& a, const Skip& b) { return std::pair(a.line, a.x) < std::pair(b.line, b.x); });
        return std::move(score_);
    }

    void skip(const PagePosition& p, const QString& reason) { score_.skipped.push_back(Skip{p.line, p.x, reason}); }
    void skipped(const Skip& s) { score_.skipped.push_back(s); }
    void setLines(int lines) { score_.lines = lines; }

    void symbol(const PageSymbol& s) {
        const int c = s.code;
        if (c >= 0 && c <= 34) {
            Event e;
            e.kind = EventKind::Note;
            e.degree = c % 7 + 1;
            e.octave = c / 7 - 2;
            event(e, s);
        } else if (c == 35) {
            Event e;
            e.kind = EventKind::Rest;
            event(e, s);
        } else if (c >= 36 && c <= 40) {
            Event e;
            e.kind = EventKind::Percussion;
            e.syllable = c - 36;
            event(e, s);
        } else if (c == 41 || c == 112) {
            dash(s.position);
        } else if (c == 115 || c == 211) {
            dot(s.position);
        } else if (c == 106 || c == 201) {
            sign(Accidental::Natural, s.position);
        } else if (c == 107 || c == 202) {
            sign(Accidental::Sharp, s.position);
        } else if (c == 108 || c == 203) {
            sign(Accidental::Flat, s.position);
        } else if (c == 101 || c == 207) {
            bar(Bar::Single, s.position);
        } else if (c == 105 || c == 208) {
            bar(Bar::Double, s.position);
        } else if (c == 104 || c == 214) {
            bar(Bar::Final, s.position);
        } else if (c == 102 || c == 212) {
            bar(Bar::RepeatStart, s.position);
        } else if (c == 103 || c == 213) {
            bar(Bar::RepeatEnd, s.position);
        } else if (c == 113 || c == 114 || c == 209 || c == 210) {
            // Brackets around notes change nothing that sounds.
        } else {
            skip(s.position, QStringLiteral("symbol %1 has no place in the music").arg(c));
        }
    }

private:
    void dropSign() {
        if (!accidental_) return;
        skip(accidentalAt_, QStringLiteral("sign without a note"));
        accidental_.reset();
    }

    void openMeasure(int line) {
        if (!current_.events.empty()) return;
        current_.line = line;
        current_.repeatStart = repeatStartAt_.has_value();
        repeatStartAt_.reset();
    }

    void event(Event e, const PageSymbol& s) {
        e.beams = s.beams;
        e.duration = kQuarter >> s.beams;
        e.position = s.position;
        if (e.kind == EventKind::Note) {
            const auto pitchKey = std::pair(e.degree, e.octave);
            if (accidental_) {
                e.accidental = *accidental_;
                alters_[pitchKey] = *accidental_ == Accidental::Sharp ? 1 : *accidental_ == Accidental::Flat ? -1 : 0;
                accidental_.reset();
            }
            const auto it = alters_.find(pitchKey);
            e.alter = it == alters_.end() ? 0 : it->second;
        } else {
            dropSign();
        }
        openMeasure(s.position.line);
        current_.events.push_back(e);
        last_ = Last::Current;
        lastUnit_ = e.duration;
    }

    void dash(const PagePosition& p) {
        dropSign();
        if (last_ == Last::None) {
            skip(p, QStringLiteral("dash without a note"));
            return;
        }
        if (last_ == Last::Current) {
            Event& e = current_.events.back();
            e.duration += kQuarter;
            e.dashes += 1;
        } else {
            // After a bar line the dash holds the previous note on into this measure.
            Event& before = score_.measures.back().events.back();
            Event e;
            e.kind = before.kind;
            e.degree = before.degree;
            e.octave = before.octave;
            e.alter = before.alter;
            e.syllable = before.syllable;
            e.duration = kQuarter;
            e.position = p;
            e.tiedFromPrevious = before.kind != EventKind::Rest;
            before.tiedToNext = e.tiedFromPrevious;
            openMeasure(p.line);
            current_.events.push_back(e);
            last_ = Last::Current;
        }
        lastUnit_ = kQuarter;
    }

    void dot(const PagePosition& p) {
        dropSign();
        // As while typing: each dot adds half of what the last one added, down
        // to a thirty-second note.
        if (last_ != Last::Current || lastUnit_ < 2) {
            skip(p, last_ != Last::Current ? QStringLiteral("dot without a note") : QStringLiteral("dot too short"));
            return;
        }
        lastUnit_ /= 2;
        Event& e = current_.events.back();
        e.duration += lastUnit_;
        e.dots += 1;
    }

    void sign(Accidental a, const PagePosition& p) {
        dropSign();
        accidental_ = a;
        accidentalAt_ = p;
    }

    void bar(Bar b, const PagePosition& p) {
        dropSign();
        const bool repeatEnd = b == Bar::RepeatEnd;
        const BarEnd end = b == Bar::Double ? BarEnd::Double : b == Bar::Final ? BarEnd::Final : BarEnd::Single;
        if (!current_.events.empty()) {
            current_.end = end;
            current_.repeatEnd = repeatEnd;
            score_.measures.push_back(std::move(current_));
            current_ = Measure{};
            alters_.clear();
            last_ = Last::Closed;
        } else if (b != Bar::RepeatStart) {
            // Bar lines with nothing between them are one boundary ("| :|" after
            // an automatic bar line): the strongest sign closes the measure before.
            if (!score_.measures.empty()) {
                Measure& before = score_.measures.back();
                before.repeatEnd = before.repeatEnd || repeatEnd;
                if (strength(end) > strength(before.end)) before.end = end;
            } else if (repeatEnd) {
                skip(p, QStringLiteral("repeat end with nothing before it"));
            }
        }
        if (b == Bar::RepeatStart) repeatStartAt_ = p;
    }

    enum class Last { None, Current, Closed };

    Score score_;
    Measure current_;
    std::map<std::pair<int, int>, int> alters_;  // (degree, octave) -> alter in this measure
    std::optional<Accidental> accidental_;
    PagePosition accidentalAt_;
    std::optional<PagePosition> repeatStartAt_;
    Last last_ = Last::None;
    int lastUnit_ = 0;
};

}  // namespace

Score BuildScore(const PageReading& reading) {
    Builder b;
    b.setLines(reading.lines);
    for (const Skip& s : reading.unknownInk) b.skipped(s);
    size_t head = 0;
    for (const PageSymbol& s : reading.symbols) {
        while (head < reading.heads.size() && s.position.line >= reading.heads[head].line) b.newSong(reading.heads[head++]);
        b.symbol(s);
    }
    while (head < reading.heads.size()) b.newSong(reading.heads[head++]);
    return b.take();
}

}  // namespace qn::score
