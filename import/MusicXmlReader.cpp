#include "MusicXmlReader.h"

#include <QXmlStreamReader>
#include <zip.h>

#include "RegularFile.h"

namespace qn::import {

namespace {

using score::Syllabic;

int stepOf(const QString& s) {
    static const QString letters = QStringLiteral("CDEFGAB");
    return s.size() == 1 ? int(letters.indexOf(s[0].toUpper())) : -1;
}

class Parser {
public:
    explicit Parser(const QByteArray& bytes) : x_(bytes) {}

    XmlRead run() {
        XmlRead out;
        while (x_.readNextStartElement()) {
            if (x_.name() == QLatin1String("score-partwise")) {
                scorePartwise(out.score);
            } else if (x_.name() == QLatin1String("score-timewise")) {
                fail(QStringLiteral("score-timewise MusicXML is not read, only score-partwise"));
            } else {
                fail(QStringLiteral("not MusicXML: the document is <%1>, not <score-partwise>").arg(x_.name()));
            }
            break;
        }
        if (error_.isEmpty() && x_.hasError())
            error_ = QStringLiteral("not well-formed XML (line %1): %2").arg(x_.lineNumber()).arg(x_.errorString());
        if (error_.isEmpty() && out.score.parts.empty()) error_ = QStringLiteral("not MusicXML: no <score-partwise> with parts");
        out.error = error_;
        return out;
    }

private:
    void fail(const QString& why) {
        if (error_.isEmpty()) error_ = why;
        x_.raiseError(why);
    }
    bool ok() const { return error_.isEmpty() && !x_.hasError(); }
    bool is(const char* name) const { return x_.name() == QLatin1String(name); }
    QString text() { return x_.readElementText(QXmlStreamReader::IncludeChildElements).trimmed(); }
    int intText(bool* okOut = nullptr) {
        bool good = false;
        const double v = text().toDouble(&good);
        if (okOut) *okOut = good;
        return good && v > -1e9 && v < 1e9 ? int(std::lround(v)) : 0;
    }

    void scorePartwise(XmlScore& s) {
        std::vector<std::pair<QString, QString>> listed;  // id, name
        std::map<QString, std::map<QString, int>> keys;
        while (ok() && x_.readNextStartElement()) {
            if (is("work")) {
                while (x_.readNextStartElement()) {
                    if (is("work-title")) s.title = text();
                    else x_.skipCurrentElement();
                }
            } else if (is("movement-title")) {
                const QString t = text();
                if (s.title.isEmpty()) s.title = t;
            } else if (is("identification")) {
                while (x_.readNextStartElement()) {
                    if (is("creator") && x_.attributes().value(QLatin1String("type")) == QLatin1String("composer")) {
                        const QString c = text();
                        if (s.composer.isEmpty()) s.composer = c;
                    } else {
                        x_.skipCurrentElement();
                    }
                }
            } else if (is("part-list")) {
                while (x_.readNextStartElement()) {
                    if (!is("score-part")) {
                        x_.skipCurrentElement();
                        continue;
                    }
                    const QString id = x_.attributes().value(QLatin1String("id")).toString();
                    QString name;
                    while (x_.readNextStartElement()) {
                        if (is("part-name")) {
                            name = text();
                        } else if (is("midi-instrument")) {
                            const QString inst = x_.attributes().value(QLatin1String("id")).toString();
                            while (x_.readNextStartElement()) {
                                if (is("midi-unpitched")) keys[id][inst] = intText() - 1;
                                else x_.skipCurrentElement();
                            }
                        } else {
                            x_.skipCurrentElement();
                        }
                    }
                    listed.push_back({id, name});
                }
            } else if (is("part")) {
                XmlPart p;
                p.id = x_.attributes().value(QLatin1String("id")).toString();
                for (const auto& [id, name] : listed)
                    if (id == p.id) p.name = name;
                p.unpitchedKeys = keys[p.id];
                part(p);
                s.parts.push_back(std::move(p));
            } else {
                x_.skipCurrentElement();
            }
        }
    }

    void part(XmlPart& p) {
        int divisions = 1;
        while (ok() && x_.readNextStartElement()) {
            if (!is("measure")) {
                x_.skipCurrentElement();
                continue;
            }
            if (int(p.measures.size()) >= kMaxMeasures) {
                fail(QStringLiteral("part %1 has more than %2 measures").arg(p.id).arg(kMaxMeasures));
                return;
            }
            XmlMeasure m;
            m.number = x_.attributes().value(QLatin1String("number")).toString();
            m.implicit = x_.attributes().value(QLatin1String("implicit")) == QLatin1String("yes");
            measure(m, divisions);
            p.measures.push_back(std::move(m));
        }
    }

    void measure(XmlMeasure& m, int& divisions) {
        qint64 pos = 0, lastStart = 0;
        const QString where = QStringLiteral("measure %1").arg(m.number);
        auto checkedDuration = [&](qint64 d) -> qint64 {
            if (d < 0 || d > qint64(divisions) * kMaxQuartersPerNote) {
                fail(QStringLiteral("%1: duration %2 is out of range (divisions %3)").arg(where).arg(d).arg(divisions));
                return 0;
            }
            return d;
        };
        while (ok() && x_.readNextStartElement()) {
            if (is("attributes")) {
                while (ok() && x_.readNextStartElement()) {
                    if (is("divisions")) {
                        bool good = false;
                        const int d = intText(&good);
                        if (!good || d < 1 || d > kMaxDivisions) {
                            fail(QStringLiteral("%1: divisions out of range 1..%2").arg(where).arg(kMaxDivisions));
                            return;
                        }
                        divisions = d;
                        m.divisions = d;
                    } else if (is("key")) {
                        while (x_.readNextStartElement()) {
                            if (is("fifths")) m.fifths = std::clamp(intText(), -7, 7);
                            else if (is("mode")) m.mode = text();
                            else x_.skipCurrentElement();
                        }
                    } else if (is("time")) {
                        while (x_.readNextStartElement()) {
                            if (is("beats")) m.beats = intText();  // "3+2" reads as 0: refused by the mapping
                            else if (is("beat-type")) m.beatType = intText();
                            else x_.skipCurrentElement();
                        }
                    } else if (is("clef")) {
                        while (x_.readNextStartElement()) {
                            if (is("sign")) m.percussionClef = m.percussionClef || text() == QLatin1String("percussion");
                            else x_.skipCurrentElement();
                        }
                    } else {
                        x_.skipCurrentElement();
                    }
                }
            } else if (is("note")) {
                XmlNote n;
                note(n, where);
                if (!ok()) return;
                n.duration = checkedDuration(n.duration);
                if (n.chord) {
                    n.offset = lastStart;
                } else {
                    n.offset = pos;
                    if (!n.grace) {
                        lastStart = pos;
                        pos += n.duration;
                    }
                }
                m.length = std::max(m.length, pos);
                m.notes.push_back(std::move(n));
            } else if (is("backup") || is("forward")) {
                const bool back = is("backup");
                qint64 d = 0;
                while (x_.readNextStartElement()) {
                    if (is("duration")) d = checkedDuration(intText());
                    else x_.skipCurrentElement();
                }
                pos = back ? std::max<qint64>(0, pos - d) : pos + d;
                m.length = std::max(m.length, pos);
            } else if (is("harmony")) {
                XmlHarmony h;
                h.offset = pos;
                bool root = false;
                while (x_.readNextStartElement()) {
                    if (is("root")) {
                        while (x_.readNextStartElement()) {
                            if (is("root-step")) {
                                h.step = stepOf(text());
                                root = h.step >= 0;
                            } else if (is("root-alter")) {
                                h.alter = intText();
                            } else {
                                x_.skipCurrentElement();
                            }
                        }
                    } else if (is("kind")) {
                        h.kind = text();
                    } else if (is("offset")) {
                        h.offset = pos + intText();
                    } else {
                        x_.skipCurrentElement();
                    }
                }
                if (root) m.harmonies.push_back(h);
            } else if (is("direction")) {
                while (x_.readNextStartElement()) {
                    if (is("direction-type")) {
                        while (x_.readNextStartElement()) {
                            if (is("metronome")) {
                                metronome(m);
                            } else {
                                if (is("words") || is("dynamics") || is("wedge")) ++m.directions;
                                x_.skipCurrentElement();
                            }
                        }
                    } else if (is("sound")) {
                        sound(m);
                    } else {
                        x_.skipCurrentElement();
                    }
                }
            } else if (is("sound")) {
                sound(m);
            } else if (is("barline")) {
                const bool right = x_.attributes().value(QLatin1String("location")) != QLatin1String("left");
                while (x_.readNextStartElement()) {
                    if (is("bar-style")) {
                        const QString st = text();
                        if (right) m.rightStyle = st;
                    } else if (is("ending")) {
                        m.ending = true;
                        x_.skipCurrentElement();
                    } else if (is("repeat")) {
                        const bool forward = x_.attributes().value(QLatin1String("direction")) == QLatin1String("forward");
                        (forward ? m.repeatForward : m.repeatBackward) = true;
                        x_.skipCurrentElement();
                    } else {
                        x_.skipCurrentElement();
                    }
                }
            } else {
                x_.skipCurrentElement();
            }
        }
    }

    void sound(XmlMeasure& m) {
        const auto t = x_.attributes().value(QLatin1String("tempo"));
        bool good = false;
        const double v = t.toDouble(&good);
        if (good && v > 0 && v < 1000 && !m.tempo) m.tempo = v;
        x_.skipCurrentElement();
    }

    void metronome(XmlMeasure& m) {
        QString unit;
        bool dotted = false;
        double perMinute = 0;
        while (x_.readNextStartElement()) {
            if (is("beat-unit")) unit = text();
            else if (is("beat-unit-dot")) { dotted = true; x_.skipCurrentElement(); }
            else if (is("per-minute")) perMinute = text().toDouble();
            else x_.skipCurrentElement();
        }
        double quarters = 1;
        if (unit == QLatin1String("half")) quarters = 2;
        else if (unit == QLatin1String("whole")) quarters = 4;
        else if (unit == QLatin1String("eighth")) quarters = 0.5;
        else if (unit == QLatin1String("16th")) quarters = 0.25;
        if (dotted) quarters *= 1.5;
        if (perMinute > 0 && perMinute < 1000) m.tempo = perMinute * quarters;
    }

    void note(XmlNote& n, const QString& where) {
        while (ok() && x_.readNextStartElement()) {
            if (is("grace")) {
                n.grace = true;
                x_.skipCurrentElement();
            } else if (is("chord")) {
                n.chord = true;
                x_.skipCurrentElement();
            } else if (is("rest")) {
                n.rest = true;
                n.wholeMeasureRest = x_.attributes().value(QLatin1String("measure")) == QLatin1String("yes");
                x_.skipCurrentElement();
            } else if (is("pitch")) {
                while (x_.readNextStartElement()) {
                    if (is("step")) {
                        n.step = stepOf(text());
                        if (n.step < 0) fail(QStringLiteral("%1: a pitch step is no letter C..B").arg(where));
                    } else if (is("alter")) {
                        n.alter = std::clamp(intText(), -2, 2);
                    } else if (is("octave")) {
                        n.octave = std::clamp(intText(), -1, 10);
                    } else {
                        x_.skipCurrentElement();
                    }
                }
            } else if (is("unpitched")) {
                n.unpitched = true;
                while (x_.readNextStartElement()) {
                    if (is("display-step")) n.displayStep = std::max(0, stepOf(text()));
                    else if (is("display-octave")) n.displayOctave = intText();
                    else x_.skipCurrentElement();
                }
            } else if (is("instrument")) {
                n.instrument = x_.attributes().value(QLatin1String("id")).toString();
                x_.skipCurrentElement();
            } else if (is("duration")) {
                bool good = false;
                const QString t = text();
                const double d = t.toDouble(&good);
                if (!good || d < 0 || d > 1e12) {
                    fail(QStringLiteral("%1: duration \"%2\" is out of range").arg(where, t.left(20)));
                    return;
                }
                n.duration = qint64(std::llround(d));
            } else if (is("tie")) {
                const auto type = x_.attributes().value(QLatin1String("type"));
                if (type == QLatin1String("start")) n.tieStart = true;
                if (type == QLatin1String("stop")) n.tieStop = true;
                x_.skipCurrentElement();
            } else if (is("voice")) {
                n.voice = text();
            } else if (is("staff")) {
                n.staff = intText();
            } else if (is("dot")) {
                ++n.dots;
                x_.skipCurrentElement();
            } else if (is("time-modification")) {
                n.tuplet = true;
                x_.skipCurrentElement();
            } else if (is("notations")) {
                while (x_.readNextStartElement()) {
                    if (is("slur")) {
                        const auto type = x_.attributes().value(QLatin1String("type"));
                        const int number = x_.attributes().value(QLatin1String("number")).toInt();
                        if (type == QLatin1String("start")) n.slurStarts.push_back(number);
                        if (type == QLatin1String("stop")) n.slurStops.push_back(number);
                        x_.skipCurrentElement();
                    } else if (is("tied")) {
                        const auto type = x_.attributes().value(QLatin1String("type"));
                        if (type == QLatin1String("start")) n.tieStart = true;
                        if (type == QLatin1String("stop")) n.tieStop = true;
                        x_.skipCurrentElement();
                    } else {
                        x_.skipCurrentElement();
                    }
                }
            } else if (is("lyric")) {
                XmlLyric l;
                const auto number = x_.attributes().value(QLatin1String("number"));
                l.verse = number.isEmpty() ? 1 : std::clamp(number.toInt(), 1, 99);
                while (x_.readNextStartElement()) {
                    if (is("syllabic")) {
                        const QString s = text();
                        l.syllabic = s == QLatin1String("begin")    ? Syllabic::Begin
                                     : s == QLatin1String("middle") ? Syllabic::Middle
                                     : s == QLatin1String("end")    ? Syllabic::End
                                                                    : Syllabic::Single;
                    } else if (is("text")) {
                        l.text += text();
                    } else {
                        x_.skipCurrentElement();
                    }
                }
                if (!l.text.isEmpty()) n.lyrics.push_back(l);
            } else {
                x_.skipCurrentElement();
            }
        }
    }

    QXmlStreamReader x_;
    QString error_;
};

bool isZip(const QByteArray& bytes) { return bytes.startsWith(QByteArray("PK\x03\x04", 4)); }

// One member of the archive, at most kMaxUnpackedBytes (counted as read, not
// as the archive claims).
QByteArray readMember(zip_t* z, zip_int64_t index, QString& error) {
    zip_file_t* f = zip_fopen_index(z, zip_uint64_t(index), 0);
    if (!f) {
        error = QStringLiteral("the .mxl container's score cannot be opened: %1").arg(QString::fromUtf8(zip_strerror(z)));
        return {};
    }
    QByteArray out;
    char buffer[64 * 1024];
    for (;;) {
        const zip_int64_t n = zip_fread(f, buffer, sizeof buffer);
        if (n < 0) {
            error = QStringLiteral("the .mxl container is damaged: %1").arg(QString::fromUtf8(zip_file_strerror(f)));
            break;
        }
        if (n == 0) break;
        if (out.size() + n > kMaxUnpackedBytes) {
            error = QStringLiteral("the score in the .mxl container unpacks to more than %1 MiB").arg(kMaxUnpackedBytes >> 20);
            break;
        }
        out.append(buffer, qsizetype(n));
    }
    zip_fclose(f);
    return error.isEmpty() ? out : QByteArray();
}

}  // namespace

XmlRead ParseMusicXml(const QByteArray& bytes) { return Parser(bytes).run(); }

QByteArray UnpackMxl(const QByteArray& bytes, QString& error) {
    zip_error_t ze;
    zip_error_init(&ze);
    zip_source_t* src = zip_source_buffer_create(bytes.constData(), zip_uint64_t(bytes.size()), 0, &ze);
    zip_t* z = src ? zip_open_from_source(src, ZIP_RDONLY, &ze) : nullptr;
    if (!z) {
        error = QStringLiteral("not a readable .mxl container: %1").arg(QString::fromUtf8(zip_error_strerror(&ze)));
        if (src) zip_source_free(src);
        zip_error_fini(&ze);
        return {};
    }
    zip_error_fini(&ze);
    QString rootPath;
    const zip_int64_t container = zip_name_locate(z, "META-INF/container.xml", 0);
    if (container >= 0) {
        QString e;
        QXmlStreamReader x(readMember(z, container, e));
        while (e.isEmpty() && !x.atEnd()) {
            if (x.readNext() == QXmlStreamReader::StartElement && x.name() == QLatin1String("rootfile")) {
                rootPath = x.attributes().value(QLatin1String("full-path")).toString();
                break;
            }
        }
    }
    zip_int64_t index = rootPath.isEmpty() ? -1 : zip_name_locate(z, rootPath.toUtf8().constData(), 0);
    if (index < 0) {
        const zip_int64_t n = zip_get_num_entries(z, 0);
        for (zip_int64_t i = 0; i < n && index < 0; ++i) {
            const QString name = QString::fromUtf8(zip_get_name(z, zip_uint64_t(i), 0));
            if (name.startsWith(QLatin1String("META-INF/"))) continue;
            if (name.endsWith(QLatin1String(".musicxml"), Qt::CaseInsensitive) ||
                name.endsWith(QLatin1String(".xml"), Qt::CaseInsensitive))
                index = i;
        }
    }
    QByteArray out;
    if (index < 0) {
        error = QStringLiteral("the .mxl container holds no score");
    } else {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(z, zip_uint64_t(index), 0, &st) == 0 && (st.valid & ZIP_STAT_SIZE) &&
            st.size > zip_uint64_t(kMaxUnpackedBytes)) {
            error = QStringLiteral("the score in the .mxl container unpacks to more than %1 MiB").arg(kMaxUnpackedBytes >> 20);
        } else {
            out = readMember(z, index, error);
        }
    }
    zip_discard(z);
    return out;
}

XmlRead ReadMusicXmlFile(const QString& path) {
    XmlRead out;
    const RegularFileRead read = ReadRegularFile(path, kMaxFileBytes, kMaxFileBytes);
    if (!read.error.isEmpty()) {
        out.error = read.error;
        return out;
    }
    if (read.bytes.isEmpty()) {
        out.error = QStringLiteral("the file is empty");
        return out;
    }
    if (!isZip(read.bytes)) return ParseMusicXml(read.bytes);
    QString error;
    const QByteArray xml = UnpackMxl(read.bytes, error);
    if (!error.isEmpty()) {
        out.error = error;
        return out;
    }
    return ParseMusicXml(xml);
}

}  // namespace qn::import
