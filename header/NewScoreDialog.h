#pragma once
// The controls of the new-score dialog `Picture8` besides the list editors it
// shares with the header: its labels (the header's label array indexes 3, 8,
// 10..14 and the title `Label14`), the fraction bar, the tempo slider and "确定".

class QFrame;
class QPushButton;
class QScrollBar;

namespace qn {

class ClickLabel;

struct NewScoreDialog {
    ClickLabel* Label2_14 = nullptr;  // "新加标题:"
    ClickLabel* Label14 = nullptr;    // title
    ClickLabel* Label2_11 = nullptr;  // "1="
    ClickLabel* Label2_3 = nullptr;   // key
    ClickLabel* Label2_13 = nullptr;  // numerator
    ClickLabel* Label2_12 = nullptr;  // denominator
    ClickLabel* Label2_10 = nullptr;  // credits
    ClickLabel* Label2_8 = nullptr;   // tempo
    QFrame* Line1_2 = nullptr;        // fraction bar
    QScrollBar* HScroll3 = nullptr;   // tempo slider
    QPushButton* Command11 = nullptr; // "确定"
};

// Adds the controls to the dialog's panel.
NewScoreDialog BuildNewScoreDialog(QFrame* picture8);

}  // namespace qn
