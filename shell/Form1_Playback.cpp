// Form1: hearing the score. Ctrl+R plays the page read back as notes from the
// first line (Ctrl+Shift+R from the caret's line) while a marker follows the
// note that sounds; Ctrl+R again or a press on the page stops it. The audio is
// pulled by the output in small pieces on this thread: typing goes on.
#include <QFrame>
#include <QTimer>

#include "Form1_Controls.h"
#include "PageReader.h"
#include "Performance.h"
#include "ScorePlayer.h"

namespace qn {

void Form1::PlayCommand(bool fromCaretLine) {
    if (player_ && player_->isPlaying()) {
        StopPlayback();
        return;
    }
    const int pitch = std::max(1, HScroll2(2));
    const score::Score notes = score::ReadPage(editor_.page, pitch);
    int from = 0;
    if (fromCaretLine)
        from = score::FirstMeasureFromLine(notes, (RoundHalfEven(editor_.caret.Top) - geom::FirstLineTop) / pitch);
    const score::Performance performance = score::Perform(notes, ScoreHeaderOf(ScreenFacts()), from);
    if (!player_) {
        player_ = new score::ScorePlayer(this);
        connect(player_, &score::ScorePlayer::finished, this, [this] {
            markerTimer_->stop();
            playbackMarker_->hide();
        });
    }
    // Nothing to hear, or no audio output: the player has said so on stderr.
    if (performance.notes.empty() || !player_->start(performance)) return;
    markerTimer_->start();
}

void Form1::StopPlayback() {
    if (player_) player_->stop();
    markerTimer_->stop();
    playbackMarker_->hide();
}

bool Form1::IsPlaying() const { return player_ && player_->isPlaying(); }

void Form1::UpdatePlaybackMarker() {
    const int index = player_ ? player_->currentNote() : -1;
    if (index < 0 || index >= int(player_->performance().notes.size())) {
        playbackMarker_->hide();
        return;
    }
    const score::PagePosition& at = player_->performance().notes[size_t(index)].position;
    playbackMarker_->setGeometry(at.x - 1, at.top - 1, at.width + 2, geom::LineHeight + 2);
    playbackMarker_->show();
    playbackMarker_->raise();
}

void Form1::CreatePlaybackControls() {
    // An outline, never black, so it can never pass for ink on a screenshot.
    playbackMarker_ = new QFrame(ui->Picture1);
    playbackMarker_->setObjectName(QStringLiteral("PlaybackMarker"));
    playbackMarker_->setFrameStyle(QFrame::Box | QFrame::Plain);
    playbackMarker_->setStyleSheet(QStringLiteral("QFrame { border: 2px solid rgb(0, 160, 255); }"));
    playbackMarker_->setAttribute(Qt::WA_TransparentForMouseEvents);
    playbackMarker_->hide();
    markerTimer_ = new QTimer(this);
    markerTimer_->setInterval(30);
    connect(markerTimer_, &QTimer::timeout, this, &Form1::UpdatePlaybackMarker);
}

}  // namespace qn
