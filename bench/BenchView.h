#pragma once
// The window as the core's benchmarks see it: the default layout (bar width 80,
// 8 bars per line, pitch 60), automatic spacing on, no sound, no repaint.

#include "EditorView.h"

namespace qn::bench {

struct BenchView : EditorView {
    bool check4 = true;
    bool Check4() override { return check4; }
    bool Check8() override { return false; }
    QString Label6sCaption(int) override { return QStringLiteral("0.5"); }
    int HScroll2(int index) override { return index == 0 ? 80 : index == 1 ? 8 : 60; }
    int Line3X1() override { return 654; }
    QRgb Label5ForeColor() override { return 0xFF0000; }
    void PlaySoundEffect(const QString&) override {}
    void RefreshPage() override {}
    // Lines wrap when full; the automatic line break is not followed.
    void Picture1_KeyDown(Integer, Integer) override {}
};

}  // namespace qn::bench
