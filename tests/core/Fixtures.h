#pragma once
// A plain-value stand-in for the main window, and pixel helpers for page tests.

#include <QImage>
#include <QString>
#include <functional>
#include <ostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "Editor.h"

// Readable geometry in failure messages.
inline void PrintTo(const QPoint& p, std::ostream* os) { *os << "(" << p.x() << ", " << p.y() << ")"; }
inline void PrintTo(const QSize& s, std::ostream* os) { *os << s.width() << " x " << s.height(); }
inline void PrintTo(const QRect& r, std::ostream* os) {
    *os << "(" << r.x() << ", " << r.y() << ", " << r.width() << " x " << r.height() << ")";
}

namespace qn::test {

struct FakeView : EditorView {
    bool check4 = true;
    bool check8 = false;
    QString beatSpacing = QStringLiteral("0.5");
    int barWidth = 80, barsPerLine = 8, pitch = 60;
    int line3 = 654;  // W - 14 of the default page
    QRgb chordColour = 0xFF0000;
    std::vector<std::string> sounds;
    std::vector<std::pair<int, int>> keys;
    int refreshes = 0;
    int restores = 0;
    std::function<void(Integer, Integer)> onKey;

    bool Check4() override { return check4; }
    bool Check8() override { return check8; }
    QString Label6sCaption(int index) override { return index == 4 ? beatSpacing : QString(); }
    int HScroll2(int index) override { return index == 0 ? barWidth : index == 1 ? barsPerLine : pitch; }
    int Line3X1() override { return line3; }
    QRgb Label5ForeColor() override { return chordColour; }
    void PlaySoundEffect(const QString& name) override { sounds.push_back(name.toStdString()); }
    void RefreshPage() override { ++refreshes; }
    void Picture1_KeyDown(Integer key, Integer shift) override {
        keys.emplace_back(key, shift);
        if (onKey) onKey(key, shift);
    }
    void StateRestored() override { ++restores; }
};

// A default page (668 x 945) with automatic spacing on, beat division off.
struct EditorFixture {
    FakeView view;
    Editor ed{view};
    void at(int x, int y) {
        ed.caret.Left = x;
        ed.caret.Top = y;
    }
};

// Describes the first difference between a page area and an expected picture.
inline std::string diffArea(const Page& page, int px, int py, const QImage& expected, const QRect& src) {
    int diffs = 0;
    std::ostringstream first;
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x) {
            const QRgb want = expected.pixel(src.x() + x, src.y() + y) | 0xFF000000u;
            const QRgb got = page.pixel(px + x, py + y);
            if (want != got) {
                if (diffs++ == 0)
                    first << "first difference at page (" << px + x << ", " << py + y << "): got #" << std::hex
                          << (got & 0xFFFFFF) << " want #" << (want & 0xFFFFFF) << std::dec;
            }
        }
    if (diffs == 0) return {};
    first << "; " << diffs << " pixels differ";
    return first.str();
}

inline bool allWhite(const Page& page, const QRect& r) {
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (page.pixel(x, y) != 0xFFFFFFFFu) return false;
    return true;
}

inline void blackRect(Page& page, const QRect& r) {
    QImage ink(r.size(), QImage::Format_RGB32);
    ink.fill(0xFF000000u);
    page.paintPicture(ink, ink.rect(), r.x(), r.y());
}

}  // namespace qn::test
