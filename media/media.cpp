#include "media/media.h"

#include "core/files.h"
#include "media/image_decoding.h"
#include "core/wave_file.h"

namespace orv {

void LoadGraphics(Media& media, EventLog& log) {
    // Only the file's presence counts: the colours themselves live in the settings.
    if (!CanOpenForReading(kColourSchemeFile)) {
        ShowUserMessage(log,
                        "Error #0003 settings/colours.txt Not found, using Default colour scheme");
    }
    for (size_t i = 0; i < kPictureCount; ++i) {
        media.pictures[i] = DecodeImageFile(kPictureFiles[i]).value_or(QImage());
    }
}

void LoadSounds(Media& media, bool soundAvailable, EventLog& log) {
    if (!soundAvailable) {
        WriteLogLine(log,
                     "ALLSoundStatus=#False, cannot load sounds - could be missing files OR "
                     "no/bad sound system on WIN/PC");
        return;
    }
    for (size_t i = 0; i < kSoundCount; ++i) {
        media.sounds[i].reset();
        const std::optional<std::string> bytes = ReadWholeFile(kSoundFiles[i]);
        if (!bytes || !ReadWaveFormat(*bytes))
            continue;
        media.sounds[i] = ui::LoadSoundClip(NativePath(kSoundFiles[i]));
    }
}

void PlaySoundIfLoaded(Media& media, Sound sound) {
    ui::SoundClipPtr& clip = media.sounds[static_cast<size_t>(sound)];
    if (clip)
        ui::PlayOnce(*clip);
}

const QImage& PictureOf(const Media& media, Picture picture) {
    return media.pictures[static_cast<size_t>(picture)];
}

const QImage& PictureNamed(const Media& media, std::string_view fileName) {
    static const QImage kNone;
    for (size_t i = 0; i < kPictureCount; ++i) {
        if (kPictureFiles[i] == fileName)
            return media.pictures[i];
    }
    return kNone;
}

}  // namespace orv
