// Form1: autosave into a recovery copy and recovery after a crash. The copy is
// taken here (the page copied, the sidecar bytes made) and written by the
// recovery writer's thread, so no key ever waits for the disk.
#include <QDateTime>
#include <QSettings>
#include <QTimer>

#include "Form1_Controls.h"
#include "HeaderText.h"
#include "Recovery.h"
#include "Dialogs.h"

namespace qn {

int Form1::AutosaveSeconds() {
    bool ok = false;
    const int fromEnvironment = qEnvironmentVariableIntValue("QUILLNOTE_AUTOSAVE_SECONDS", &ok);
    if (ok) return std::max(0, fromEnvironment);
    const QSettings settings(QStringLiteral("Quillnote"), QStringLiteral("Quillnote"));
    const int stored = settings.value(QStringLiteral("autosave/intervalSeconds"), 30).toInt(&ok);
    return ok ? std::max(0, stored) : 30;
}

RecoverySnapshot Form1::RecoveryState() const {
    const Controls& c = *ui;
    RecoverySnapshot s;
    s.page = editor_.page.image();  // a copy of the page's own: the next key never waits on it
    s.sidecar = PatchSidecar(QByteArray(), CurrentDocument());
    s.documentPath = editor_.st.DocumentPath;
    s.header = {c.Label2[5]->text(), c.Label18->text()};
    s.time = QDateTime::currentDateTime();
    return s;
}

void Form1::AutosaveTimer_Timer() {
    if (recovery_ && IsModified()) recovery_->submit(RecoveryState());
}

void Form1::StartRecovery() {
    const QString folder = RecoveryFolder();
    PruneDiscarded(folder, QDateTime::currentDateTime());
    // This window's own lock first: its copy is never offered to itself.
    recovery_ = std::make_unique<RecoveryWriter>(folder);
    for (const OrphanCopy& orphan : FindOrphanCopies(folder)) {
        RecoverySnapshot copy;
        const QString error = ReadRecoveryFile(orphan.path, copy);
        if (!error.isEmpty()) {
            DiscardCopy(folder, orphan.path);  // kept a while, never deleted at once
            continue;
        }
        const QString when = copy.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (dialogs_->YesNo(this, QStringLiteral("发现未保存的乐谱（%1），是否恢复？").arg(when))) {
            RemoveCopy(orphan.path);
            RestoreRecovery(copy);
            break;  // one document per window; other copies wait for the next start
        }
        DiscardCopy(folder, orphan.path);
    }
    const int seconds = AutosaveSeconds();
    autosaveTimer_ = new QTimer(this);
    autosaveTimer_->setInterval(seconds * 1000);
    connect(autosaveTimer_, &QTimer::timeout, this, [this] { AutosaveTimer_Timer(); });
    if (seconds > 0) autosaveTimer_->start();
}

bool Form1::RestoreRecovery(const RecoverySnapshot& copy) {
    Controls& c = *ui;
    ScoreDocument doc = CurrentDocument();
    const ScoreDocument::Held held = ReadSidecar(copy.sidecar, doc, false);
    Page& page = editor_.page;
    editor_.history.clear();
    page.clear();
    page.resize(std::max(page.width(), copy.page.width()), std::max(page.height(), copy.page.height()));
    page.paintPicture(copy.page, copy.page.rect(), 0, 0);
    editor_.st.DocumentPath = copy.documentPath;
    ApplyDocument(doc, held, false);
    if (copy.header.size() >= 2) {
        c.Label2[5]->setText(copy.header[0]);
        c.Label2[5]->adjustSize();
        c.Label18->setText(copy.header[1]);
        c.Label16->setText(PageNumberText(c.Label18->text(), editor_.st.PageNumber));
        c.Label16->adjustSize();
    }
    // An opened document's line spacing is fixed by its page.
    if (!copy.documentPath.isEmpty()) c.HScroll2[2]->setEnabled(false);
    editor_.history.clear();
    MarkClean();
    // Recovered, not saved: Ctrl+S writes it where it belongs.
    MarkModified();
    recovery_->submit(RecoveryState());
    return true;
}

}  // namespace qn
