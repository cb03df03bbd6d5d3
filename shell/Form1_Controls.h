#pragma once
// The controls of the main window, by their names. Arrays are indexed like the
// control arrays; an index that names no control holds nullptr.

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <array>

#include "Form1.h"
#include "LayoutMath.h"
#include "ClickLabel.h"
#include "LyricsBox.h"
#include "PageCanvas.h"
#include "PatternButton.h"
#include "RectangleShape.h"

namespace qn {

class StaffMouseArea;

// The caption of slider `HScroll2`(index): its prefix and the value.
QString Label4Caption(int index, int value);

struct Form1::Controls {
    // The window.
    std::array<PatternButton*, 4> Option1{};  // rhythm patterns
    std::array<QCheckBox*, 4> Check5{};       // patterns in the Esc cycle
    QGroupBox* Frame1 = nullptr;              // toolbar panel "选项"
    QScrollBar* VScroll1 = nullptr;           // page scroll
    PageCanvas* Picture1 = nullptr;           // page canvas
    QPushButton* Command16 = nullptr;         // "最小化"
    QPushButton* MenuButton = nullptr;        // "≡", left of Command16: the command menu
    QFrame* Picture2 = nullptr;               // options panel
    QFrame* Picture8 = nullptr;               // new-score dialog
    QTimer* Timer1 = nullptr;                 // caret blink

    // Toolbar panel Frame1.
    QPushButton* Command2 = nullptr;  // "全字符" / "半字符"
    QPushButton* Command4 = nullptr;  // "插入" / "改写"
    std::array<QPushButton*, 10> Command1{};  // document commands (8 is no button)
    std::array<QLabel*, 4> Label4{};          // slider captions
    std::array<QScrollBar*, 4> HScroll2{};    // bar width, bars per line, line spacing, chord distance
    ClickLabel* Label5 = nullptr;   // "和弦颜色", its text colour is the chord colour
    QCheckBox* Check2 = nullptr;    // "显示辅助线"
    QCheckBox* Check1 = nullptr;    // "从五线谱输入"
    QComboBox* Combo2 = nullptr;    // staff-input key
    ClickLabel* Label3 = nullptr;   // clef
    QCheckBox* Check9 = nullptr;    // "使用音效"
    QPushButton* Command10 = nullptr;  // "音符" / "和弦"
    QComboBox* Combo3 = nullptr;    // eraser size
    QLabel* Label15 = nullptr;      // "当前节奏型"
    QPushButton* Command14 = nullptr;  // "粘贴"
    QPushButton* Command15 = nullptr;  // "清除"

    // Header labels: 0..2, 4, 5, 9 on the page, 6 and 7 in the toolbar,
    // the others belong to the new-score dialog.
    std::array<ClickLabel*, 15> Label2{};
    std::array<QFrame*, 3> Line1{};         // fraction bars: 0 page, 1 toolbar, 2 dialog
    std::array<QComboBox*, 14> Combo1{};    // list editors of the Label2 of the same index
    ClickLabel* Label1 = nullptr;           // title
    ClickLabel* Label16 = nullptr;          // page number
    QScrollBar* HScroll1 = nullptr;         // tempo slider
    QListWidget* List2 = nullptr;           // tempo words ("speed.txt")

    // Panels over the page, opened by keys.
    QGroupBox* Frame2 = nullptr;   // "插入文字编辑"
    QListWidget* List1 = nullptr;  // phrases ("explin.txt")
    QPushButton* Command5 = nullptr;  // "确定"
    QPushButton* Command6 = nullptr;  // "取消"
    QGroupBox* Frame3 = nullptr;   // "图片"
    QLabel* Image2 = nullptr;      // preview
    QListWidget* File1 = nullptr;  // picture library ("s/sik/*.bmp")
    QPushButton* Command8 = nullptr;  // "确定"
    QPushButton* Command9 = nullptr;  // "取消"
    QComboBox* Combo4 = nullptr;   // tempo words in the new-score dialog
    QPushButton* Command12 = nullptr;

    // New-score dialog Picture8 (its other labels are Label2(3), (8), (10) to (14)).
    ClickLabel* Label14 = nullptr;    // title
    QScrollBar* HScroll3 = nullptr;   // tempo slider
    QPushButton* Command11 = nullptr; // "确定"

    // Staff panel Picture3.
    QFrame* Picture3 = nullptr;
    std::array<QLabel*, 2> Image1{};  // treble and bass staff
    QLabel* Image3 = nullptr;         // preview note ("wn/")
    StaffMouseArea* Label10 = nullptr;
    ClickLabel* Label12 = nullptr;    // accidental selector
    ClickLabel* Label13 = nullptr;    // dot selector
    QLabel* Label9 = nullptr;         // time-zone names
    std::array<QFrame*, 3> Line5{};   // time-zone dividers
    QCheckBox* Check7 = nullptr;      // "划分时间"
    QPushButton* Command13 = nullptr; // "X"

    // Options panel Picture2.
    std::array<ClickLabel*, 6> Label6{};   // row captions
    std::array<ClickLabel*, 6> Label6s{};  // row values
    QCheckBox* Check8 = nullptr;   // "自动分拍"
    QCheckBox* Check10 = nullptr;  // "自动输入小节线", never shown
    QCheckBox* Check11 = nullptr;  // "换行时两端对齐"
    QCheckBox* Check12 = nullptr;  // "导出图片时打开这个文件夹"
    QCheckBox* Check4 = nullptr;   // "自动分配音符间距"
    QCheckBox* Check3 = nullptr;   // "自动跳过小节线", never shown
    QLabel* Label17 = nullptr;     // "页数样式"
    ClickLabel* Label18 = nullptr; // page-number style "< p >"
    QLabel* Label19 = nullptr;     // "%"
    QPushButton* Command3 = nullptr;  // "关闭"

    // On the page canvas, for the mouse and the slur key.
    RectangleShape* Shape1 = nullptr;  // eraser square
    RectangleShape* Shape2 = nullptr;  // selection rectangle
    LyricsBox* Textgc = nullptr;       // lyrics box
    RectangleShape* Label8 = nullptr;  // slur start marker
};

}  // namespace qn
