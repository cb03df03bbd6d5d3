#pragma once
// Types a melody into the test window through the page's key handler, the way
// a user would, from a short script of space-separated tokens:
//   0..9            the digit keys (8: 1', 9 0: brackets)            Q W E R T Y U  one dot below
//   F1..F12         dots above                 L1..L7  two dots below (no key: stamped directly)
//   /0 /1 /2 /3     note value (keypad 0..3)   r       rest (code 35, stamped directly)
//   .  -            dot, dash                  |       bar line (A)
//   [ ] \ '         repeat start / end, final bar, double bar
//   # b n           sharp (M), flat (comma), natural (N)
//   Z X C V B       percussion syllables       _       space
//   S  Ins  Enter   width, insert/overwrite, new line
//   < >  BS         Left, Right, Backspace

#include <QString>
#include <QStringList>
#include <stdexcept>
#include <string>

#include "TestWindow.h"

namespace qn::test {

inline void typeScript(TestWindow& w, const QString& script) {
    const QStringList tokens = script.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString& t : tokens) {
        if (t.size() == 1) {
            const char c = t[0].toLatin1();
            if (c >= '0' && c <= '9') {
                w.press(Integer(c));
                continue;
            }
            switch (c) {
            case 'Q': case 'W': case 'E': case 'R': case 'T': case 'Y': case 'U':
            case 'Z': case 'X': case 'C': case 'V': case 'B': case 'S':
                w.press(Integer(c));
                continue;
            case '.': w.press(190); continue;
            case '-': w.press(189); continue;
            case '|': w.press(65); continue;
            case '[': w.press(219); continue;
            case ']': w.press(221); continue;
            case '\\': w.press(220); continue;
            case '\'': w.press(222); continue;
            case '#': w.press(77); continue;
            case 'b': w.press(188); continue;
            case 'n': w.press(78); continue;
            case '_': w.press(32); continue;
            case '<': w.press(37); continue;
            case '>': w.press(39); continue;
            case 'r': w.ed.StampSymbol(35, w.ed.st.NoteValue); continue;
            default: break;
            }
        }
        if (t.size() == 2 && t[0] == QLatin1Char('/')) {
            w.press(Integer(96 + t[1].digitValue()));
        } else if (t.size() == 2 && t[0] == QLatin1Char('L')) {
            w.ed.StampSymbol(Integer(t[1].digitValue() - 1), w.ed.st.NoteValue);
        } else if (t[0] == QLatin1Char('F')) {
            w.press(Integer(111 + t.mid(1).toInt()));
        } else if (t == QLatin1String("Ins")) {
            w.press(45);
        } else if (t == QLatin1String("Enter")) {
            w.press(13);
        } else if (t == QLatin1String("BS")) {
            w.press(8);
        } else {
            throw std::invalid_argument("unknown token " + t.toStdString());
        }
    }
}

}  // namespace qn::test
