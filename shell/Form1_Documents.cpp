// Form1: the document commands of the toolbar (`Command1_Click`), `SaveScore`
// and `OpenScore`, and the question before unsaved work is dropped. The bytes
// of the files are documents/' business; here the values are gathered from the
// controls and given back to them.
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>

#include "Form1_Controls.h"
#include "HeaderText.h"
#include "OutlineWindow.h"
#include "OverlaySlots.h"
#include "Dialogs.h"
#include "Recovery.h"

namespace qn {

namespace {
const QString kBitmapFilter = QStringLiteral("位图(*.bmp)");

Byte listIndex(const QComboBox* list) { return Byte(std::max(list->currentIndex(), 0)); }

// A stored byte as a check box value: 0 or 1, anything else is refused.
void applySwitch(QCheckBox* box, bool held, Byte value) {
    if (held && value <= 1) box->setChecked(value == 1);
}
}  // namespace

void Form1::Command1_Click(int index) {
    switch (index) {
    case 0: OpenCommand(); break;
    case 1: SaveCommand(false); break;
    case 2: SaveCommand(true); break;
    case 3: BatchExportCommand(); break;
    case 5:  // "退出"
        if (!ConfirmDiscard()) break;
        closing_ = true;
        QApplication::quit();
        return;
    case 6:  // "新建"
        if (ConfirmDiscard()) NewPage();
        break;
    case 7:  // "选项"
        ui->Picture2->setVisible(!ui->Picture2->isVisible());
        if (ui->Picture2->isVisible()) ui->Picture2->raise();
        break;
    default: break;
    }
    FocusPage();
}

void Form1::OpenCommand() {
    Controls& c = *ui;
    c.VScroll1->setValue(0);
    VScroll1_Change();
    if (!ConfirmDiscard()) return;
    const QString path = dialogs_->OpenFileName(this, QStringLiteral("打开"), kBitmapFilter);
    if (path.isEmpty()) return;
    const QString error = OpenScore(path);
    if (!error.isEmpty()) {
        // Nothing was replaced: the page, its path and its settings stay.
        dialogs_->Message(this, QStringLiteral("无法打开乐谱。\n%1").arg(error));
        return;
    }
    // The bitmap holds its lines at the stored spacing.
    c.HScroll2[2]->setEnabled(false);
}

bool Form1::SaveCommand(bool askName) {
    EditorState& st = editor_.st;
    QString path = st.DocumentPath;
    if (askName || path.isEmpty()) {
        path = dialogs_->SaveFileName(this, QStringLiteral("保存"), kBitmapFilter);
        if (path.isEmpty()) return false;
        if (QFileInfo::exists(path) &&
            !dialogs_->YesNo(this, QStringLiteral("已经存在的图片，是否替换原来的？")))
            return false;
    }
    const QString before = st.DocumentPath;
    st.DocumentPath = path;
    const QString error = SaveScore();
    if (!error.isEmpty()) {
        st.DocumentPath = before;
        dialogs_->Message(this, QStringLiteral("无法保存乐谱。\n%1").arg(error));
        return false;
    }
    return true;
}

QString Form1::SaveScore() {
    const QString& path = editor_.st.DocumentPath;
    if (path.isEmpty()) return QStringLiteral("没有文件名");
    const QString error = SaveScoreFiles(path, editor_.page.image(), CurrentDocument());
    if (!error.isEmpty()) return error;
    MarkClean();
    Beep();
    return QString();
}

ScoreDocument Form1::CurrentDocument() const {
    const Controls& c = *ui;
    const EditorState& st = editor_.st;
    ScoreDocument d;
    d.barWidth = Integer(c.HScroll2[0]->value());
    d.barsPerLine = Integer(c.HScroll2[1]->value());
    d.lineSpacing = Integer(c.HScroll2[2]->value());
    d.staffInput = c.Check1->isChecked() ? 1 : 0;
    d.guideLines = c.Check2->isChecked() ? 1 : 0;
    d.skipBarLines = c.Check3->isChecked() ? 1 : 0;
    d.autoSpacing = c.Check4->isChecked() ? 1 : 0;
    d.staffKey = listIndex(c.Combo2);
    for (int i = 0; i < 4; ++i) d.spacing[size_t(i)] = st.SpacingValues[size_t(i)];
    d.numeratorIndex = listIndex(c.Combo1[0]);
    d.denominatorIndex = listIndex(c.Combo1[1]);
    d.keyIndex = listIndex(c.Combo1[2]);
    d.title = c.Label1->text();
    d.pageNumber = st.PageNumber;
    d.textOverlays = overlays_->VisibleTexts(st.TextOverlayCount);
    d.pictureOverlays = overlays_->VisiblePictures(st.PictureOverlayCount);
    d.tempo = c.Label2[4]->text();
    return d;
}

QString Form1::OpenScore(const QString& path, bool batchExport) {
    QImage bitmap;
    const QString error = LoadPageBitmap(path, bitmap);
    if (!error.isEmpty()) return error;

    ScoreDocument doc = CurrentDocument();
    ScoreDocument::Held held;
    // The sidecar's steps are guarded one by one: what cannot be read keeps its value.
    QByteArray sidecarBytes;
    const QString sidecarError = ReadSidecarFile(SidecarPath(path), doc, batchExport, &held, &sidecarBytes);
    // A save cut off between its two renames leaves one file of each save.
    const bool mixed = CheckPair(sidecarBytes, bitmap) == PairCheck::Mixed;

    Page& page = editor_.page;
    editor_.history.clear();  // what opening does is no step
    page.clear();
    page.resize(std::max(page.width(), bitmap.width()), std::max(page.height(), bitmap.height()));
    page.paintPicture(bitmap, bitmap.rect(), 0, 0);
    editor_.st.DocumentPath = path;
    ApplyDocument(doc, held, batchExport);
    editor_.history.clear();
    MarkClean();
    Beep();
    if (!sidecarError.isEmpty())
        dialogs_->Message(this, QStringLiteral("乐谱的附属文件无法读取，设置保持不变。\n%1").arg(sidecarError));
    if (mixed)
        dialogs_->Message(this, QStringLiteral("位图和附属文件不是同一次保存的（保存可能被中断）："
                                               "页面与标题、设置或叠加内容可能不相配，请核对后重新保存。\n%1")
                                    .arg(path));
    return QString();
}

void Form1::ApplyDocument(const ScoreDocument& d, const ScoreDocument::Held& held, bool batchExport) {
    Controls& c = *ui;
    EditorState& st = editor_.st;

    const Integer layout[3] = {d.barWidth, d.barsPerLine, d.lineSpacing};
    for (int i = 0; i < 3; ++i) {
        QScrollBar* bar = c.HScroll2[i];
        // A value the slider cannot take leaves it as it was.
        if (held.layout[i] && layout[i] >= bar->minimum() && layout[i] <= bar->maximum())
            bar->setValue(layout[i]);
    }
    if (!batchExport) {
        applySwitch(c.Check1, held.staffInput, d.staffInput);
        applySwitch(c.Check2, held.guideLines, d.guideLines);
    }
    applySwitch(c.Check3, held.skipBarLines, d.skipBarLines);
    applySwitch(c.Check4, held.autoSpacing, d.autoSpacing);
    if (held.staffKey && d.staffKey < c.Combo2->count()) {
        c.Combo2->setCurrentIndex(d.staffKey);
        Combo2_Click();
    }
    for (int i = 0; i < 4; ++i) {
        if (!held.spacing[i]) continue;
        st.SpacingValues[size_t(i)] = d.spacing[size_t(i)];
        c.Label6s[i]->setText(QString::number(double(d.spacing[size_t(i)])));
    }
    const std::pair<int, Byte> lists[3] = {{0, d.numeratorIndex}, {1, d.denominatorIndex}, {2, d.keyIndex}};
    const bool listHeld[3] = {held.numeratorIndex, held.denominatorIndex, held.keyIndex};
    for (int i = 0; i < 3; ++i)
        if (listHeld[i] && lists[i].second < c.Combo1[lists[i].first]->count())
            SelectCombo1Entry(lists[i].first, lists[i].second);
    if (held.title) c.Label1->setText(d.title);
    if (held.pageNumber) {
        st.PageNumber = d.pageNumber;
        c.Label16->setText(PageNumberText(c.Label18->text(), st.PageNumber));
        c.Label16->adjustSize();
    }
    if (held.textOverlays) {
        const int n = int(d.textOverlays.size());
        for (int k = 0; k < n; ++k) {
            const OverlayRecord& r = d.textOverlays[size_t(k)];
            // A phrase number past the list gives an empty text.
            const QListWidgetItem* phrase = r.index >= 0 ? c.List1->item(r.index) : nullptr;
            overlays_->PlaceText(k, r.left, r.top, phrase ? phrase->text() : QString(),
                                 QString::number(r.index));
        }
        st.TextOverlayCount = Integer(n);
        overlays_->HideTexts(n, OverlaySlots::TextSlots - 1);
    }
    if (held.pictureOverlays) {
        const int m = int(d.pictureOverlays.size());
        for (int k = 0; k < m; ++k) {
            const OverlayRecord& r = d.pictureOverlays[size_t(k)];
            const QListWidgetItem* file = r.index >= 0 ? c.File1->item(r.index) : nullptr;
            QPixmap picture;
            // No such file, or no picture in it: the slot keeps the picture it had.
            if (file) picture.load(QDir(PictureLibraryFolder()).filePath(file->text()));
            overlays_->PlacePicture(k, r.left, r.top, picture, QString::number(r.index));
        }
        st.PictureOverlayCount = Integer(m);
        overlays_->HidePictures(m, OverlaySlots::PictureSlots - 1);
    }
    if (held.tempo) {
        c.Label2[4]->setText(d.tempo);
        c.Label2[4]->adjustSize();
    }
    LayoutPage();
}

void Form1::NewPage() {
    Controls& c = *ui;
    EditorState& st = editor_.st;
    st.SpacingClass = 5;
    st.PendingBeamGap = 0;
    st.LastCellWidth = 2;
    st.BarsInLine = 0;
    st.BarUnits = 0;
    c.HScroll2[0]->setValue(80);
    c.HScroll2[1]->setValue(12);
    editor_.caret.Left = 20;
    editor_.caret.Top = 96;
    st.DocumentPath.clear();
    editor_.page.clear();
    c.HScroll2[2]->setEnabled(true);
    c.Picture1->update();
    overlays_->HideTexts(0, OverlaySlots::TextSlots - 1);
    overlays_->HidePictures(0, OverlaySlots::PictureSlots - 1);
    c.Label1->setText(QStringLiteral("标题"));
    st.PictureOverlayCount = 0;
    st.TextOverlayCount = 0;
    editor_.history.clear();
    MarkClean();
}

bool Form1::IsModified() const {
    // Undoing back to the saved point makes the document clean again.
    return headerOrOverlaysChanged_ || !editor_.history.isClean() ||
           editor_.page.unrecordedChanges() != savedUnrecorded_;
}

void Form1::MarkClean() {
    headerOrOverlaysChanged_ = false;
    editor_.history.setClean();
    savedUnrecorded_ = editor_.page.unrecordedChanges();
    // Saved, new or opened: nothing is left to recover.
    if (recovery_) recovery_->remove();
}

bool Form1::ConfirmDiscard() {
    if (!IsModified()) return true;
    switch (dialogs_->AskSaveChanges(this)) {
    case SaveChangesAnswer::Yes: return SaveCommand(false);
    case SaveChangesAnswer::No: return true;
    case SaveChangesAnswer::Cancel: return false;
    }
    return false;
}

void Form1::closeEvent(QCloseEvent* event) {
    // The exit command has asked already; any other close asks now.
    if (closing_ || ConfirmDiscard()) {
        closing_ = true;
        form2_->hide();
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace qn
