#pragma once
// Grace notes: up to five digits typed into an input box become small picture
// overlays from the picture library, placed above and left of the caret, with
// one group picture below them. This decides what goes where; the window
// creates the overlays.

#include <QString>

#include <vector>

namespace qn {

constexpr int kPictureOverlaySlots = 51;  // Ima(0) .. Ima(50)
constexpr int kMaxGraceNotes = 5;

struct GraceOverlay {
    QString file;  // a name in the picture library "s/sik/": "1.bmp".."7.bmp", "装饰音<n>.bmp"
    int Left = 0;
    int Top = 0;
};

struct GraceNotePlan {
    enum class Outcome {
        Nothing,    // cancelled or empty answer: no message
        TooMany,    // more than five characters: message
        NotDigits,  // a character other than 1..7: message
        NoRoom,     // the group does not fit into the free overlay slots: refused silently
        Place,      // create `overlays` in this order, one slot each
    };
    Outcome outcome = Outcome::Nothing;
    QString message;  // shown with a critical icon, title "提示", when not empty
    std::vector<GraceOverlay> overlays;
};

// Plans the grace-note group for the input box's `answer` (empty when
// cancelled). (insertX, insertY) is the caret rounded half to even, which the
// caller also stores in OverlayInsertX/Y; `pictureOverlayCount` is the next
// free slot. For n digits the digit i (1..n) goes to Left = insertX + 8i - 8n - 8,
// Top = insertY - 9, and the group picture to Left = insertX - 8n - 1,
// Top = insertY + 4. The caller adds 1 to PictureOverlayCount per overlay.
GraceNotePlan PlanGraceNotes(const QString& answer, int insertX, int insertY, int pictureOverlayCount);

}  // namespace qn
