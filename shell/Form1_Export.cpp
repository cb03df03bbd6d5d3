// Form1: pictures of the page. The batch export of a folder ("批量导出图片"),
// Ctrl+E (this page as BMP, PNG or PDF) and Ctrl+P (printing) all draw the
// composition of documents/, the batch off screen: the window's page, header,
// overlays and DocumentPath stay as they were.
#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QActionGroup>
#include <QMenu>
#include <QProgressDialog>
#include <QSettings>
#include <QThread>
#include <set>

#include "BatchExport.h"
#include "Form1_Controls.h"
#include "OverlaySlots.h"
#include "Dialogs.h"

namespace qn {

namespace {
const QString kPrintStyleSetting = QStringLiteral("print/style");

const QStringList kExportFilters = {QStringLiteral("BMP (*.bmp)"), QStringLiteral("PNG (*.png)"),
                                    QStringLiteral("PDF (*.pdf)"), QStringLiteral("SVG (*.svg)"),
                                    QStringLiteral("MIDI (*.mid)"),
                                    QStringLiteral("MusicXML (*.musicxml)"), QStringLiteral("WAV (*.wav)")};
}  // namespace

PageComposition Form1::ScreenComposition() const {
    const Controls& c = *ui;
    std::set<const QWidget*> shown = {c.Label1, c.Label16, c.Line1[0]};
    for (const ClickLabel* l : c.Label2)
        if (l && l->parentWidget() == c.Picture1) shown.insert(l);
    for (const ClickLabel* l : overlays_->Label7) shown.insert(l);
    for (const ClickLabel* l : overlays_->Ima) shown.insert(l);

    PageComposition out;
    out.page = editor_.page.image();
    out.facts = ScreenFacts();
    // Children are listed bottom to top, as they are stacked.
    for (const QObject* child : c.Picture1->children()) {
        const auto* w = qobject_cast<const QWidget*>(child);
        if (!w || !shown.count(w) || w->isHidden()) continue;
        ComposedItem item;
        item.rect = w->geometry();
        if (w == c.Line1[0]) {
            item.kind = ComposedItem::Rule;
        } else if (const auto* l = qobject_cast<const ClickLabel*>(w); l && !l->pixmap().isNull()) {
            item.kind = ComposedItem::Picture;
            item.image = l->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
        } else if (l) {
            item.kind = ComposedItem::Label;
            item.font = l->font();
            item.colour = l->palette().color(l->foregroundRole());
            item.alignment = l->alignment();
            item.text = l->text();
        }
        out.items.push_back(item);
    }
    return out;
}

PageFacts Form1::ScreenFacts() const {
    const Controls& c = *ui;
    PageFacts facts{c.Label1->text(), c.Label2[2]->text(), c.Label2[0]->text(), c.Label2[1]->text(),
                    c.Label2[4]->text(), c.HScroll2[2]->value(), {}};
    // Phrase overlays mark the notes (dynamics, hairpins, words).
    for (const ClickLabel* l : overlays_->Label7)
        if (l && !l->isHidden() && l->pixmap().isNull()) facts.overlays.push_back({false, l->text(), l->geometry()});
    return facts;
}

ExportSource Form1::BatchExportSource() const {
    const Controls& c = *ui;
    ExportSource s;
    // What a document's sidecar does not hold stays as the window shows it.
    s.current = CurrentDocument();
    s.context.credits = c.Label2[5]->text();
    s.context.pageNumberText = c.Label16->text();
    s.context.pageNumberStyle = c.Label18->text();
    s.context.keyText = c.Label2[2]->text();
    s.context.numeratorText = c.Label2[0]->text();
    s.context.denominatorText = c.Label2[1]->text();
    for (int i = 0; i < c.List1->count(); ++i) s.context.phrases << c.List1->item(i)->text();
    s.context.libraryFolder = PictureLibraryFolder();
    s.pdfStyle = printStyle_;
    for (int i = 0; i < c.File1->count(); ++i) s.context.libraryFiles << c.File1->item(i)->text();
    return s;
}

void Form1::BatchExportCommand() {
    Controls& c = *ui;
    const QString chosen = dialogs_->OpenFileName(this, QStringLiteral("定位文件夹"), QStringLiteral("位图(*.bmp)"));
    if (chosen.isEmpty()) return;
    const QString folder = QFileInfo(chosen).absolutePath();
    const QString outFolder = QDir(folder).filePath(ExportFolderName(QTime::currentTime()));
    if (!QDir().mkpath(outFolder)) {
        dialogs_->Message(this, QStringLiteral("无法创建文件夹 %1").arg(outFolder));
        return;
    }
    QStringList names = ExportableDocuments(folder);
    std::reverse(names.begin(), names.end());  // from the last to the first
    // The open document goes out as it stands, unsaved edits included.
    const QString open = editor_.st.DocumentPath.isEmpty() ? QString()
                                                            : QFileInfo(editor_.st.DocumentPath).canonicalFilePath();
    std::vector<ExportJob> jobs;
    for (const QString& name : names) {
        ExportJob job{QDir(folder).filePath(name), QDir(outFolder).filePath(name), nullptr};
        if (!open.isEmpty() && QFileInfo(job.source).canonicalFilePath() == open)
            job.asShown = std::make_shared<const PageComposition>(ScreenComposition());
        jobs.push_back(std::move(job));
    }

    for (int i = 0; i <= 7; ++i)
        if (c.Command1[i]) c.Command1[i]->setEnabled(false);
    QProgressDialog progress(QStringLiteral("正在导出图片……"), QStringLiteral("取消"), 0, int(jobs.size()), this);
    progress.setWindowTitle(QStringLiteral("提示"));
    progress.setMinimumDuration(300);
    const std::vector<ExportOutcome> outcomes = RunExportJobs(
        jobs, ExportFormat::Bmp, editor_.st.ExportScale, BatchExportSource(), QThread::idealThreadCount(),
        [&progress](int done, int total) {
            progress.setLabelText(QStringLiteral("正在导出图片 %1 / %2").arg(done).arg(total));
            progress.setValue(done);
            return !progress.wasCanceled();
        });
    progress.reset();
    for (int i = 0; i <= 7; ++i)
        if (c.Command1[i]) c.Command1[i]->setEnabled(true);

    QStringList failed;
    for (const ExportOutcome& o : outcomes)
        if (!o.error.isEmpty()) failed << o.error;
    if (failed.isEmpty())
        dialogs_->Message(this, QStringLiteral("导出成功"));
    else
        dialogs_->Message(this, QStringLiteral("以下乐谱未能导出：\n%1").arg(failed.join(QLatin1Char('\n'))));
    if (c.Check12->isChecked()) dialogs_->OpenFolder(outFolder);
}

void Form1::ExportPageCommand() {
    QString filter = exportFilter_;
    const QString path = dialogs_->ExportFileName(this, QStringLiteral("导出"), kExportFilters, filter);
    if (path.isEmpty()) return;
    exportFilter_ = filter;
    ExportFormat format = ExportFormat::Bmp;
    if (filter.startsWith(QLatin1String("PNG"))) format = ExportFormat::Png;
    if (filter.startsWith(QLatin1String("PDF"))) format = ExportFormat::Pdf;
    if (filter.startsWith(QLatin1String("SVG"))) format = ExportFormat::Svg;
    if (filter.startsWith(QLatin1String("MIDI"))) format = ExportFormat::Midi;
    if (filter.startsWith(QLatin1String("MusicXML"))) format = ExportFormat::MusicXml;
    if (filter.startsWith(QLatin1String("WAV"))) format = ExportFormat::Wav;
    // A typed extension wins over the file type chosen.
    ExportFormat typed = format;
    if (ExportFormatOfName(path, typed)) format = typed;
    QStringList notes;
    const QString error =
        WriteComposition(ScreenComposition(), path, format, editor_.st.ExportScale, &notes, printStyle_);
    if (!error.isEmpty())
        dialogs_->Message(this, QStringLiteral("无法导出。\n%1").arg(error));
    else if (!notes.isEmpty())
        dialogs_->Message(this, QStringLiteral("已导出，但：\n%1").arg(notes.join(QLatin1Char('\n'))));
    FocusPage();
}

void Form1::PrintCommand() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(ui->Label1->text());
    if (!dialogs_->ChoosePrinter(this, printer)) return;
    if (!RenderOnPagedDevice(ScreenComposition(), printer, printStyle_))
        dialogs_->Message(this, QStringLiteral("无法打印。"));
    FocusPage();
}

PrintStyle Form1::SavedPrintStyle() {
    const QSettings settings(QStringLiteral("Quillnote"), QStringLiteral("Quillnote"));
    PrintStyle style = PrintStyle::Vector;
    ParsePrintStyle(settings.value(kPrintStyleSetting).toString(), style);  // anything else: the default
    return style;
}

void Form1::SetPrintStyle(PrintStyle style) {
    printStyle_ = style;
    QSettings settings(QStringLiteral("Quillnote"), QStringLiteral("Quillnote"));
    settings.setValue(kPrintStyleSetting, PrintStyleKey(style));
    settings.sync();
    if (commandMenu_)
        for (QAction* a : commandMenu_->findChildren<QAction*>(QStringLiteral("PrintStyle")))
            a->setChecked(a->data().toInt() == int(style));
}

// The submenu "打印样式" under "打印": "矢量" or "原样", one checked.
void Form1::CreatePrintStyleMenu(QAction* before) {
    auto* styles = new QMenu(QStringLiteral("打印样式"), commandMenu_);
    styles->setObjectName(QStringLiteral("PrintStyleMenu"));
    auto* group = new QActionGroup(styles);
    const std::pair<QString, PrintStyle> choices[] = {{QStringLiteral("矢量"), PrintStyle::Vector},
                                                       {QStringLiteral("原样"), PrintStyle::AsShown}};
    for (const auto& [caption, style] : choices) {
        QAction* a = styles->addAction(caption);
        a->setObjectName(QStringLiteral("PrintStyle"));
        a->setCheckable(true);
        a->setData(int(style));
        a->setChecked(style == printStyle_);
        group->addAction(a);
        const PrintStyle chosen = style;
        connect(a, &QAction::triggered, this, [this, chosen] { SetPrintStyle(chosen); });
    }
    commandMenu_->insertMenu(before, styles);
}

}  // namespace qn
