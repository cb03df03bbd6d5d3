#pragma once
// A window stand-in for the mouse: the real editor and mouse handler, with the
// window's side recorded as plain values.

#include <string>
#include <vector>

#include "MouseHandler.h"

namespace qn::test {

inline std::string rectText(const QRect& r) {
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
           std::to_string(r.height());
}

struct MouseWindow : EditorView, MouseView {
    int combo3 = 0;
    int pitch = 60;

    QRect shape1;
    EraserLook shape1Look = EraserLook::Idle;
    bool shape2Visible = false;
    QRect shape2;
    bool lyricsOpen = false;
    int lyricsTop = 0;
    QString lyricsText;
    QFont lyricsFont{QStringLiteral("AR PL UMing CN"), 10};
    std::vector<std::string> actions;  // window calls other than shapes and repaints
    std::vector<std::string> sounds;
    std::vector<QRect> repaints;

    Editor ed{*this};
    MouseHandler mouse{ed, *this};

    void down(Integer button, Single x, Single y) { mouse.Picture1_MouseDown(button, 0, x, y); }
    void move(Integer button, Single x, Single y) { mouse.Picture1_MouseMove(button, 0, x, y); }
    void up(Integer button, Single x, Single y) { mouse.Picture1_MouseUp(button, 0, x, y); }
    // A left drag from one point to another, released there.
    void drag(Single x0, Single y0, Single x1, Single y1) {
        down(mouse::LeftButton, x0, y0);
        move(mouse::LeftButton, x1, y1);
        up(mouse::LeftButton, x1, y1);
    }
    void chooseMode(int k) {
        combo3 = k;
        mouse.Combo3_Click();
    }

    // EditorView
    bool Check4() override { return true; }
    bool Check8() override { return false; }
    QString Label6sCaption(int index) override { return index == 4 ? QStringLiteral("0.5") : QString(); }
    int HScroll2(int index) override { return index == 0 ? 80 : index == 1 ? 8 : pitch; }
    int Line3X1() override { return ed.page.width() - 14; }
    QRgb Label5ForeColor() override { return 0xFF0000; }
    void RefreshPage() override { actions.push_back("refresh"); }
    void Picture1_KeyDown(Integer, Integer) override { actions.push_back("key"); }

    // MouseView
    int Combo3ListIndex() override { return combo3; }
    void PlaceShape1(const QRect& r) override { shape1 = r; }
    void SetShape1Look(EraserLook look) override { shape1Look = look; }
    void ShowShape2(const QRect& r) override {
        shape2Visible = true;
        shape2 = r;
    }
    void HideShape2() override { shape2Visible = false; }
    void CaretMoved() override { actions.push_back("caret"); }
    void RepaintPage(const QRect& area) override { repaints.push_back(area); }
    void FocusPage() override { actions.push_back("focus"); }
    void HideInlineEditors() override { actions.push_back("hide editors"); }
    void DeselectOverlay(Integer selected) override { actions.push_back("deselect " + std::to_string(selected)); }
    void OpenLyricsBox(int top, const QString& prompt) override {
        lyricsOpen = true;
        lyricsTop = top;
        lyricsText = prompt;
        actions.push_back("lyrics " + std::to_string(top));
    }
    void HideLyricsBox() override { lyricsOpen = false; }
    QString LyricsText() override { return lyricsText; }
    QPoint LyricsPosition() override { return {20, lyricsTop}; }
    QFont LyricsFont() override { return lyricsFont; }
    void Beep() override { actions.push_back("beep"); }
    void PlaySoundEffect(const QString& name) override { sounds.push_back(name.toStdString()); }
};

}  // namespace qn::test
