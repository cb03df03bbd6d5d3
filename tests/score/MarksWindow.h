#pragma once
// The window stand-in of the typing tests with the mouse handler and the L key
// added: a page typed with notes, chords (K and the held keypad keys), arcs
// (L twice), lyrics (right press, text, Enter) and a new-score head (P's
// dialog printing its head), all through the program's own paths.

#include <QString>
#include <vector>

#include "MouseHandler.h"
#include "NewScoreHead.h"
#include "SlurMarker.h"
#include "SongFont.h"
#include "Typing.h"

namespace qn::test {

struct MarksWindow : TestWindow, MouseView {
    SlurMark label8;
    QString lyrics;
    int lyricsTop = 0;
    MouseHandler mouse{ed, *this};

    MarksWindow() { ed.pageFont = SongFont(24, true); }  // the canvas font of the real window

    // Keys
    void Command10_Click() override { ed.st.NoteInputMode = Integer(1 - ed.st.NoteInputMode); }
    void SlurKey() override { qn::SlurKey(ed, label8); }

    // A chord in chord input: the keypad keys held while the key is typed.
    void chord(Integer key, std::vector<Integer> held = {}, bool atCaret = false) {
        if (ed.st.NoteInputMode != 0) press(75);  // K
        if (atCaret) press(71);
        for (const Integer k : held) press(k);
        press(key);
        for (const Integer k : held) release(k);
        if (atCaret) release(71);
    }
    void notes() {
        if (ed.st.NoteInputMode == 0) press(75);
    }
    // A lyric line: right press at y, the text typed, Enter.
    void lyric(int y, const QString& text) {
        History::Step step(ed.history);  // as the window records a mouse action
        mouse.Picture1_MouseDown(2, 0, 100, Single(y));
        lyrics = text;
        mouse.Textgc_KeyDown(13, 0);
    }
    // The new-score dialog's 确定 with the caret on its line.
    void head(const QString& title, const QString& key, const QString& num, const QString& den,
              const QString& tempo) {
        History::Step step(ed.history);  // the printed head is one undo step
        NewScoreHead h;
        h.title = title;
        h.key = key;
        h.numerator = num;
        h.denominator = den;
        h.tempo = tempo;
        h.credits = QStringLiteral("Lumora 制谱");
        h.titleWidth = 200;
        h.creditsWidth = 80;
        PrintNewScoreHead(ed.page, ed.pageFont,
                          LayOutNewScoreHead(h, ed.page.width(), RoundHalfEven(ed.caret.Top), pitch));
    }
    // The caret to the start of a line band.
    void toLine(int line) {
        ed.caret.Left = 26;
        ed.caret.Top = Single(96 + line * pitch);
    }

    // MouseView
    int Combo3ListIndex() override { return 0; }
    void PlaceShape1(const QRect&) override {}
    void SetShape1Look(EraserLook) override {}
    void ShowShape2(const QRect&) override {}
    void HideShape2() override {}
    void CaretMoved() override {}
    void RepaintPage(const QRect&) override {}
    void FocusPage() override {}
    void HideInlineEditors() override {}
    void DeselectOverlay(Integer) override {}
    void OpenLyricsBox(int top, const QString&) override { lyricsTop = top; }
    void HideLyricsBox() override {}
    QString LyricsText() override { return lyrics; }
    QPoint LyricsPosition() override { return {20, lyricsTop}; }
    QFont LyricsFont() override { return SongFont(14); }
    void Beep() override {}
    void PlaySoundEffect(const QString& name) override { sounds.push_back(name.toStdString()); }
};

}  // namespace qn::test
