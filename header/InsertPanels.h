#pragma once
// The insert panels that open over the page at the caret: `Frame2` for text
// overlays (the phrase list) and `Frame3` for picture overlays (the picture
// library of "s/sik/" with a preview).

#include <QStringList>

class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QWidget;

namespace qn {

struct TextInsertPanel {
    QGroupBox* Frame2 = nullptr;   // "插入文字编辑"
    QListWidget* List1 = nullptr;  // phrases ("explin.txt")
    QPushButton* Command5 = nullptr;  // "确定"
    QPushButton* Command6 = nullptr;  // "取消"
};
TextInsertPanel CreateTextInsertPanel(QWidget* page);

struct PictureInsertPanel {
    QGroupBox* Frame3 = nullptr;   // "图片"
    QLabel* Image2 = nullptr;      // preview, at the picture's own size
    QListWidget* File1 = nullptr;  // "*.bmp" of the picture library
    QPushButton* Command8 = nullptr;  // "确定"
    QPushButton* Command9 = nullptr;  // "取消"
};
PictureInsertPanel CreatePictureInsertPanel(QWidget* page);

// The "*.bmp" files of a folder by name, in the order the library numbers them.
QStringList PictureLibraryFiles(const QString& folder);

}  // namespace qn
