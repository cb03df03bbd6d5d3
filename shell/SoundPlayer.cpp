#include "SoundPlayer.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSoundEffect>
#include <QUrl>

namespace qn {

struct SoundPlayer::Impl {
    QString folder;
    QHash<QString, QSoundEffect*> effects;  // children of the player
    QSoundEffect* current = nullptr;
};

SoundPlayer::SoundPlayer(const QString& soundFolder, QObject* parent)
    : QObject(parent), d_(new Impl)
{
    d_->folder = soundFolder;
}

SoundPlayer::~SoundPlayer()
{
    delete d_;
}

void SoundPlayer::play(const QString& name)
{
    QSoundEffect* effect = d_->effects.value(name);
    if (!effect) {
        const QString path = QDir(d_->folder).filePath(name);
        // Checked before QSoundEffect sees the name: a missing file would only
        // give a load error per key press.
        if (!QFileInfo::exists(path))
            return;
        effect = new QSoundEffect(this);
        // Loading runs in the background; a play requested meanwhile starts
        // once the sound is ready.
        effect->setSource(QUrl::fromLocalFile(path));
        d_->effects.insert(name, effect);
    }
    if (d_->current && d_->current != effect)
        d_->current->stop();
    effect->stop();  // restart from the beginning
    effect->play();
    d_->current = effect;
}

int SoundPlayer::loadedSoundCount() const
{
    return static_cast<int>(d_->effects.size());
}

}  // namespace qn
