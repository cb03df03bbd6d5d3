#pragma once
// Lays a mapped song out on pages through the editor core, as typing would:
// the key handler writes every note, sign, dot, dash and bar line (automatic
// spacing, beat division and justified line breaks on), the chord path the
// chord symbols, the lyrics print and the slur arc the marks; a key or metre
// change prints the new-score head. Then the page reader reads each page back.

#include <QImage>
#include <QRgb>
#include <QString>
#include <QStringList>
#include <vector>

#include "GraceNotes.h"
#include "JianpuMapping.h"
#include "ScoreModel.h"

namespace qn::import {

inline constexpr int kMaxPages = 100;

struct LayoutSettings {
    // The start-up page (668 pixels wide). Lines break where the next bar
    // would not fit, or after this many bars.
    int barWidth = 80;
    int barsPerLine = 8;
    int lineSpacing = 60;  // chosen by LayOutSong from what lies under the lines
    QRgb chordColour = 0xFF0000;
};

struct ImportedPage {
    QImage image;
    int firstMeasure = 0, endMeasure = 0;  // measures of the mapped score on this page
    int song = 0;                           // the song in force at its start: its head is the page's header
    std::vector<GraceOverlay> graces;       // picture overlays of the grace-note groups
    score::Score read;                      // the page read back
    // Editing state at the end of the page, for typing on after the import.
    float caretLeft = 20, caretTop = 96;
};

struct LayoutResult {
    std::vector<ImportedPage> pages;
    LayoutSettings settings;
    QStringList notes;       // marks that could not be placed
    QStringList mismatches;  // the proof: bars whose notes read back differently
    QString error;           // refused (too many pages)
};

// The number of pages the song would take, estimated without typing it.
int EstimatePages(const MappedSong& song, const LayoutSettings& settings);

LayoutResult LayOutSong(const MappedSong& song, LayoutSettings settings = {});

// The pitch and duration of every event of a measure, as the proof compares them.
QString MeasureNotes(const score::Measure& m);

}  // namespace qn::import
