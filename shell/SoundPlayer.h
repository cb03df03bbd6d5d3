#pragma once
// Sound effects: asynchronous playback of a WAV file by name from the program
// folder's "sound" folder. A new sound cuts the one playing. A missing file or a
// machine without audio is silent and never delays the caller.

#include <QObject>
#include <QString>

namespace qn {

class SoundPlayer : public QObject {
    Q_OBJECT
public:
    explicit SoundPlayer(const QString& soundFolder, QObject* parent = nullptr);
    ~SoundPlayer() override;
    void play(const QString& name);
    // How many sounds have been loaded so far (each once, on first play).
    int loadedSoundCount() const;

private:
    struct Impl;
    Impl* d_;
};

}  // namespace qn
