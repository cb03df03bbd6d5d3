#pragma once
// Small MusicXML documents for the import tests. Divisions are 8 to the
// quarter, so a duration is the thirty-second notes the page counts.
//   note("F#4", 4)        an eighth F sharp above middle C
//   note("r", 8)          a quarter rest
//   note("C4", 8, "<tie type=\"start\"/>")  more elements inside <note>

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace qn::test {

inline QString note(const QString& pitch, int duration, const QString& extra = QString(), const QString& voice = "1") {
    QString body;
    if (pitch == QLatin1String("r")) {
        body = QStringLiteral("<rest/>");
    } else {
        const QChar step = pitch[0];
        int i = 1, alter = 0;
        while (i < pitch.size() && (pitch[i] == QLatin1Char('#') || pitch[i] == QLatin1Char('b'))) {
            alter += pitch[i] == QLatin1Char('#') ? 1 : -1;
            ++i;
        }
        body = QStringLiteral("<pitch><step>%1</step>%2<octave>%3</octave></pitch>")
                   .arg(step)
                   .arg(alter ? QStringLiteral("<alter>%1</alter>").arg(alter) : QString())
                   .arg(pitch.mid(i));
    }
    // Elements that MusicXML orders before <duration> (grace, chord) go first.
    QString front, back = extra;
    for (const char* lead : {"<grace/>", "<chord/>"})
        if (back.contains(QLatin1String(lead))) {
            back.remove(QLatin1String(lead));
            front += QLatin1String(lead);
        }
    const QString length = front.contains(QLatin1String("grace")) ? QString() : QStringLiteral("<duration>%1</duration>").arg(duration);
    return QStringLiteral("<note>%1%2%3<voice>%4</voice>%5</note>").arg(front, body, length, voice, back);
}

inline QString attributes(int fifths, int beats = 4, int beatType = 4, const QString& mode = QStringLiteral("major"),
                          int divisions = 8) {
    return QStringLiteral("<attributes><divisions>%1</divisions><key><fifths>%2</fifths><mode>%3</mode></key>"
                          "<time><beats>%4</beats><beat-type>%5</beat-type></time></attributes>")
        .arg(divisions).arg(fifths).arg(mode).arg(beats).arg(beatType);
}

inline QString harmony(const QString& root, const QString& kind) {
    QString alter;
    if (root.size() > 1) alter = QStringLiteral("<root-alter>%1</root-alter>").arg(root[1] == QLatin1Char('#') ? 1 : -1);
    return QStringLiteral("<harmony><root><root-step>%1</root-step>%2</root><kind>%3</kind></harmony>").arg(root[0]).arg(alter, kind);
}

inline QString lyric(int verse, const QString& text, const QString& syllabic = QStringLiteral("single")) {
    return QStringLiteral("<lyric number=\"%1\"><syllabic>%2</syllabic><text>%3</text></lyric>").arg(verse).arg(syllabic, text);
}

// A one-part score; each string is one measure's content.
inline QByteArray scoreXml(const QStringList& measures, const QString& title = QStringLiteral("Song"), const QString& partHead = QString(),
                        const QString& partList = QString()) {
    QString out = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<score-partwise version=\"4.0\">"
                                 "<work><work-title>%1</work-title></work>"
                                 "<identification><creator type=\"composer\">Anon</creator></identification>")
                      .arg(title);
    out += partList.isEmpty() ? QStringLiteral("<part-list><score-part id=\"P1\"><part-name>Voice</part-name></score-part></part-list>")
                              : partList;
    out += QStringLiteral("<part id=\"P1\">") + partHead;
    for (int i = 0; i < measures.size(); ++i)
        out += QStringLiteral("<measure number=\"%1\">%2</measure>").arg(i + 1).arg(measures[i]);
    out += QStringLiteral("</part></score-partwise>\n");
    return out.toUtf8();
}

}  // namespace qn::test
