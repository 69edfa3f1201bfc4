#include "ui/sound.h"

#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace orv::ui {

struct SoundClip {
    QSoundEffect effect;
    int timesPlayed = 0;
};

void SoundClipDeleter::operator()(SoundClip* clip) const {
    delete clip;
}

bool AudioOutputAvailable() {
    return !QMediaDevices::defaultAudioOutput().isNull();
}

SoundClipPtr LoadSoundClip(const std::string& path) {
    SoundClipPtr clip(new SoundClip);
    // The sound system wants a URL, and a file URL must be absolute.
    const QString absolute = QFileInfo(QString::fromStdString(path)).absoluteFilePath();
    clip->effect.setSource(QUrl::fromLocalFile(absolute));
    return clip;
}

void PlayOnce(SoundClip& clip) {
    clip.effect.play();
    ++clip.timesPlayed;
}

int TimesPlayed(const SoundClip& clip) {
    return clip.timesPlayed;
}

bool IsLoading(const SoundClip& clip) {
    return clip.effect.status() == QSoundEffect::Loading;
}

}  // namespace orv::ui
