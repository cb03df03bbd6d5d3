#pragma once
// A window stand-in holding the real editor and key handler, recording what the
// keys ask of the window.

#include <string>
#include <vector>

#include "KeyHandler.h"

namespace qn::test {

struct TestWindow : EditorView, InputView {
    // Controls
    bool check1 = false, check4 = true, check8 = false, check11 = false;
    int combo2 = 0;
    bool check5[4] = {true, true, false, false};
    int pitch = 60, barsPerLine = 8;
    // An overlay the arrows can move (SelectedOverlay names it).
    bool overlayExists = false;
    int overlayLeft = 100, overlayTop = 100;

    std::vector<std::string> actions;
    std::vector<std::string> sounds;

    Editor ed{*this};
    KeyHandler keys{ed, *this};

    void press(Integer key, Integer shift = 0) { keys.Picture1_KeyDown(key, shift); }
    void release(Integer key) { keys.Picture1_KeyUp(key, 0); }

    // EditorView
    bool Check4() override { return check4; }
    bool Check8() override { return check8; }
    QString Label6sCaption(int index) override { return index == 4 ? QStringLiteral("0.5") : QString(); }
    int HScroll2(int index) override { return index == 0 ? 80 : index == 1 ? barsPerLine : pitch; }
    int Line3X1() override { return ed.page.width() - 14; }
    QRgb Label5ForeColor() override { return 0xFF0000; }
    void PlaySoundEffect(const QString& name) override { sounds.push_back(name.toStdString()); }
    void RefreshPage() override {}
    void Picture1_KeyDown(Integer key, Integer shift) override { keys.Picture1_KeyDown(key, shift); }

    // InputView
    bool Check1() override { return check1; }
    int Combo2ListIndex() override { return combo2; }
    bool Check5(int i) override { return check5[i]; }
    bool Check11() override { return check11; }
    void Command10_Click() override { actions.push_back("Command10"); }
    void Command4_Click() override {
        ed.ToggleInsertMode();
        actions.push_back("Command4");
    }
    void Command2_Click() override {
        ed.ToggleHalfWidthMode();
        actions.push_back("Command2");
    }
    void Option1_Click(Integer i) override {
        ed.SelectPattern(i);
        actions.push_back("Option1_Click " + std::to_string(i));
    }
    void SetOption1Value(Integer i) override { actions.push_back("Option1 " + std::to_string(i)); }
    void RestartBlink() override { actions.push_back("blink"); }
    void LoadCaretPicture(Integer i) override { actions.push_back("caret k" + std::to_string(i)); }
    void ShowNewScoreDialog() override { actions.push_back("Picture8"); }
    void ShowPictureInsertPanel(int l, int t) override {
        actions.push_back("Frame3 " + std::to_string(l) + "," + std::to_string(t));
    }
    void ShowTextInsertPanel(int l, int t) override {
        actions.push_back("Frame2 " + std::to_string(l) + "," + std::to_string(t));
    }
    bool OverlayPosition(Integer, int& l, int& t) override {
        l = overlayLeft;
        t = overlayTop;
        return overlayExists;
    }
    void MoveOverlay(Integer, int l, int t) override {
        overlayLeft = l;
        overlayTop = t;
    }
    void HideOverlay(Integer sel) override { actions.push_back("hide " + std::to_string(sel)); }
    void Beep() override { actions.push_back("beep"); }
    void SlurKey() override { actions.push_back("slur"); }
    void GraceNoteKey() override { actions.push_back("grace"); }
};

}  // namespace qn::test
