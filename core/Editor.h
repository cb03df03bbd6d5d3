#pragma once
// The editing loop: page, caret, editor state and StampSymbol with its rhythm
// bookkeeping. Headless; everything it needs of the window goes through EditorView.
//
// Implementation files by aspect:
//   Stamping.cpp     StampSymbol, the three stamping paths, backspace, WrapCaret
//   Rhythm.cpp       beat division, beams, spacing, durations, bars (steps A..I)
//   LineJustify.cpp  LineJustify
//   Chord.cpp        the chord path of StampSymbol

#include <QFont>
#include <optional>

#include "Atlas.h"
#include "EditorState.h"
#include "EditorView.h"
#include "History.h"
#include "Page.h"
#include "TextStamps.h"

namespace qn {

class Editor {
public:
    explicit Editor(EditorView& view);

    EditorState st;
    Page page;
    Caret caret;
    // The canvas's font face (宋体 or its stand-in). Text printed into the page
    // (chord symbols) uses it at the size it needs; the window sets it.
    QFont pageFont;
    History history{*this};  // undo steps of the page, the state and the window's changes

    // ---- Stamping.cpp
    void StampSymbol(Integer code, Integer beams);
    void WrapCaret();

    // ---- LineJustify.cpp
    void LineJustify();

    // ---- Modes and palette (Editor.cpp)
    Integer ToggleHalfWidthMode();   // returns the new mode
    Integer ToggleInsertMode();
    void SelectPattern(Integer index);  // NoteValue, caret picture, caret shown

    int pageWidth() const { return page.width(); }
    int linePitch() { return view_.HScroll2(2); }

    EditorView& view() { return view_; }

private:
    // Stamping.cpp
    void Backspace();
    void InsertShift(int s);
    void NotePath(Integer code, Integer beams);
    void FullWidthPath(Integer code);
    void HalfWidthPath(Integer code);

    // Chord.cpp
    void ChordPath(Integer code);
    bool IsBarLineColumn(int x, int lineTop) const;
    void PrintChordText(TextStamps& font, int& cursorX, int top, const QString& text, QRgb colour,
                        const QRect& clip = QRect());
    // The chord texts at 18 pt bold and 9 pt in pageFont, rendered on first use.
    QFont chordFace_;
    std::optional<TextStamps> chordBig_, chordSmall_;

    // Rhythm.cpp
    void BeatDivision();                       // A
    void BridgeBeamGap(Integer beams);         // C
    int AutomaticSpacing(Integer beams);       // D, returns the strip width
    void CountNote(Integer beams, Single lineTop, Single noteEnd);  // F, given where the note ended
    bool CountDot();                           // G, false when the dot is refused
    void OrnamentBookkeeping(Integer code, int gapWidth);  // H
    bool BarCompletesLine();                   // I: this bar line fills the line
    void CountBar();                           // I

    int caretX() const { return RoundHalfEven(caret.Left); }
    int caretY() const { return RoundHalfEven(caret.Top); }

    EditorView& view_;
};

}  // namespace qn
