#pragma once
// The overlays lying on the page: text overlays `Label7`(0..100) and picture
// overlays `Ima`(0..50). They are widgets over the page canvas, not part of the
// bitmap. `SelectedOverlay` names one: 0..49 text, 50 and up picture (n - 50).

#include <QObject>
#include <QPixmap>
#include <array>
#include <vector>

#include "EditorState.h"
#include "ScoreDocument.h"
#include "ClickLabel.h"

class QWidget;

namespace qn {

class OverlaySlots : public QObject {
    Q_OBJECT
public:
    static constexpr int TextSlots = 101;
    static constexpr int PictureSlots = 51;
    static constexpr int FirstPicture = 50;  // selection code of Ima(0)

    explicit OverlaySlots(QWidget* page);

    std::array<ClickLabel*, TextSlots> Label7{};
    std::array<ClickLabel*, PictureSlots> Ima{};

    // The widget a selection code names, or nullptr.
    ClickLabel* Named(Integer selected) const;

    // Selection looks: red text or a thin border; back to black or no border.
    void MarkSelected(Integer selected);
    void Unmark(Integer selected);

    void PlaceText(int slot, int left, int top, const QString& text, const QString& tag);
    void PlacePicture(int slot, int left, int top, const QPixmap& picture, const QString& tag);
    void HideTexts(int from, int to);     // slots from..to inclusive
    void HidePictures(int from, int to);

    // The visible overlays among slots 0..count-1, packed, in slot order.
    std::vector<OverlayRecord> VisibleTexts(int count) const;
    std::vector<OverlayRecord> VisiblePictures(int count) const;

signals:
    void textClicked(int slot);
    void textReleased(int slot);
    void pictureClicked(int slot);
};

}  // namespace qn
