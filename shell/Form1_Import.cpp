// Form1: "导入" (Ctrl+I), a MusicXML song as the page. The importer lays the
// song out headless; the window asks for the file (and, for a song of several
// pages, where the further pages go), shows the first page as one undo step
// and says what the proof found.
#include <QDir>
#include <QFileInfo>

#include "Dialogs.h"
#include "Form1_Controls.h"
#include "Importer.h"

namespace qn {

namespace {
const QString kMusicXmlFilter = QStringLiteral("MusicXML (*.musicxml *.xml *.mxl)");
constexpr int kNotesShown = 12;  // lines of notes in the end message
}  // namespace

void Form1::ImportCommand() {
    if (!ConfirmDiscard()) return;
    const QString path = dialogs_->OpenFileName(this, QStringLiteral("导入"), kMusicXmlFilter);
    if (path.isEmpty()) return;
    import::ImportOptions options;
    options.layout.chordColour = Label5ForeColor();
    const import::ImportResult r = import::ImportMusicXmlFile(path, options);
    if (!r.error.isEmpty()) {
        dialogs_->Critical(this, QStringLiteral("无法导入乐谱。\n%1").arg(r.error));
        return;
    }
    Controls& c = *ui;
    QStringList library;
    for (int i = 0; i < c.File1->count(); ++i) library << c.File1->item(i)->text();

    QStringList notes;
    QString firstPath;
    if (r.pageCount() > 1) {
        dialogs_->Message(this, QStringLiteral("这首歌共 %1 页。第 1 页显示在窗口中，第 2 页起保存为文档"
                                               "（“歌名 2”、“歌名 3”……）：请选择保存的文件名。")
                                    .arg(r.pageCount()));
        firstPath = dialogs_->SaveFileName(this, QStringLiteral("保存"), QStringLiteral("位图(*.bmp)"));
        if (firstPath.isEmpty()) return;
        bool exists = QFileInfo::exists(firstPath);
        for (int i = 1; i < r.pageCount(); ++i) exists = exists || QFileInfo::exists(import::PageBitmapPath(firstPath, i));
        if (exists && !dialogs_->YesNo(this, QStringLiteral("已经存在的图片，是否替换原来的？"))) return;
        QStringList written;
        const QString error = import::WriteImportedPages(r, firstPath, library, 1, &written, &notes);
        if (!error.isEmpty()) {
            dialogs_->Message(this, QStringLiteral("无法保存乐谱。\n%1").arg(error));
            return;
        }
    }

    NewPage();
    {
        // The song as one step: undo gives the empty page back.
        History::Step step(editor_.history);
        const import::ImportedPage& first = r.layout.pages[0];
        const ScoreDocument doc = import::PageDocument(r, 0, library, &notes);
        ScoreDocument::Held held;
        for (bool& h : held.layout) h = true;
        held.numeratorIndex = held.denominatorIndex = held.keyIndex = true;
        held.pageNumber = held.textOverlays = held.pictureOverlays = true;
        ApplyDocument(doc, held, false);
        editor_.page.paintPicture(first.image, first.image.rect(), 0, 0);
        SetHeaderText(c.Label1, doc.title.isEmpty() ? QStringLiteral("标题") : doc.title);
        SetHeaderText(c.Label2[4], doc.tempo);
        if (!r.song.composer.isEmpty()) SetHeaderText(c.Label2[5], r.song.composer);
        editor_.caret.Left = first.caretLeft;
        editor_.caret.Top = first.caretTop;
        EditorState& st = editor_.st;
        st.BarUnits = 0;
        st.BarsInLine = 0;
        st.SpacingClass = 5;
        st.LastCellWidth = 2;
        // Typing goes on in the metre the page ends in.
        const auto& songs = r.song.score.songs;
        for (const score::Song& s : songs)
            if (s.firstMeasure < first.endMeasure && s.head) {
                st.BeatsPerBar = Integer(s.head->beatsPerBar);
                st.BeatUnit = Integer(s.head->beatUnit);
            }
    }
    editor_.st.DocumentPath = firstPath;
    c.HScroll2[2]->setEnabled(false);  // the page holds its lines at the import's spacing
    c.Picture1->update();

    QString text = r.pageCount() > 1
                       ? QStringLiteral("已导入 %1 页；第 2 页起已保存在 %2 旁。").arg(r.pageCount()).arg(QFileInfo(firstPath).fileName())
                       : QStringLiteral("已导入 1 页。");
    const int bars = int(r.song.score.measures.size());
    text += r.proved() ? QStringLiteral("\n读回检查：%1 小节的音高与时值与导入的一致。").arg(bars)
                       : QStringLiteral("\n读回检查：%1 小节中有 %2 小节读回不同（见下）。").arg(bars).arg(r.layout.mismatches.size());
    const QStringList all = r.notes() + notes;
    if (!all.isEmpty()) {
        text += QStringLiteral("\n\n未能原样写出：\n") + QStringList(all.mid(0, kNotesShown)).join(QLatin1Char('\n'));
        if (all.size() > kNotesShown) text += QStringLiteral("\n……（另有 %1 条）").arg(all.size() - kNotesShown);
    }
    dialogs_->Message(this, text);
}

}  // namespace qn
