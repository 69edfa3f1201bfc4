#pragma once
// Short sound clips played once, without waiting for their end.

#include <memory>
#include <string>

namespace orv::ui {

// True when the desktop has an audio output to play on.
bool AudioOutputAvailable();

struct SoundClip;  // the Qt object, known only to the implementation
struct SoundClipDeleter {
    void operator()(SoundClip* clip) const;
};
using SoundClipPtr = std::unique_ptr<SoundClip, SoundClipDeleter>;

// A clip for the WAV file at `path` (relative to the working directory). The file is
// read by the sound system in the background; check it before.
SoundClipPtr LoadSoundClip(const std::string& path);

// Starts the clip from its beginning and returns at once.
void PlayOnce(SoundClip& clip);

// How many times PlayOnce has started the clip.
int TimesPlayed(const SoundClip& clip);

// True while the sound system is still reading the clip's file.
bool IsLoading(const SoundClip& clip);

}  // namespace orv::ui
