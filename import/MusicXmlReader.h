#pragma once
// Reading a MusicXML file (partwise, plain or compressed .mxl) into its parts,
// measures and notes, as the file states them. Nothing here knows jianpu:
// JianpuMapping.h turns a part into a score. Every input is bounded: the file,
// the unpacked container, the number of measures, divisions and durations.

#include <QByteArray>
#include <QString>
#include <map>
#include <optional>
#include <vector>

#include "ScoreModel.h"

namespace qn::import {

inline constexpr qint64 kMaxFileBytes = 32 << 20;      // a .musicxml or .mxl on disk
inline constexpr qint64 kMaxUnpackedBytes = 64 << 20;  // the score inside a .mxl
inline constexpr int kMaxDivisions = 1 << 16;           // per quarter note
inline constexpr int kMaxQuartersPerNote = 64;          // sixteen whole notes
inline constexpr int kMaxMeasures = 20000;              // per part

struct XmlLyric {
    int verse = 1;
    QString text;
    score::Syllabic syllabic = score::Syllabic::Single;
};

struct XmlNote {
    bool rest = false, grace = false, chord = false, unpitched = false, wholeMeasureRest = false;
    int step = 0;    // pitched: letter 0 C .. 6 B
    int alter = 0;   // semitones
    int octave = 4;  // scientific octave
    QString instrument;             // unpitched: the score-instrument id
    int displayStep = 0, displayOctave = 4;
    qint64 duration = 0;            // divisions
    qint64 offset = 0;              // start in divisions from the measure's start
    int dots = 0;
    bool tieStart = false, tieStop = false;
    std::vector<int> slurStarts, slurStops;  // slur numbers
    bool tuplet = false;            // a time-modification
    QString voice;
    int staff = 1;
    std::vector<XmlLyric> lyrics;
};

struct XmlHarmony {
    int step = 0, alter = 0;  // root
    QString kind;             // MusicXML kind value ("major", "minor-seventh", ...)
    qint64 offset = 0;        // divisions from the measure's start
};

struct XmlMeasure {
    QString number;
    bool implicit = false;
    // Attributes that change here.
    std::optional<int> divisions, fifths, beats, beatType;
    QString mode;
    bool percussionClef = false;
    std::optional<double> tempo;  // quarter notes a minute
    int directions = 0;           // words, dynamics and hairpins (not imported)
    bool repeatForward = false, repeatBackward = false;
    bool ending = false;  // a volta bracket begins or ends here (not imported)
    QString rightStyle;  // bar-style of the right bar line
    qint64 length = 0;   // divisions: the furthest position any voice reached
    std::vector<XmlNote> notes;
    std::vector<XmlHarmony> harmonies;
};

struct XmlPart {
    QString id, name;
    std::map<QString, int> unpitchedKeys;  // instrument id -> MIDI key (midi-unpitched - 1)
    std::vector<XmlMeasure> measures;
};

struct XmlScore {
    QString title, composer;
    std::vector<XmlPart> parts;  // in part-list order
};

struct XmlRead {
    XmlScore score;
    QString error;  // empty on success
};

// A score-partwise document.
XmlRead ParseMusicXml(const QByteArray& bytes);
// The file: a .mxl container (a zip, found by its signature) or plain XML.
XmlRead ReadMusicXmlFile(const QString& path);
// The score file inside a .mxl container (its META-INF/container.xml's root
// file, else the first .musicxml/.xml outside META-INF); error on failure.
QByteArray UnpackMxl(const QByteArray& zip, QString& error);

}  // namespace qn::import
