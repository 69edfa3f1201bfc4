#pragma once
// The header of a WAV sound clip, checked before the clip is handed to the sound
// system, so that a damaged file counts as not loaded.

#include <cstdint>
#include <optional>
#include <string_view>

namespace orv {

struct WaveFormat {
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    std::uint32_t dataBytes = 0;

    double Seconds() const;
};

// The format of a RIFF WAVE file holding PCM or float samples, with its whole data
// chunk present; nothing for anything else.
std::optional<WaveFormat> ReadWaveFormat(std::string_view bytes);

}  // namespace orv
