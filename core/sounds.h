#pragma once
// The program's four sounds and their files. The logic only names a sound; the media
// layer loads and plays it.

#include <array>
#include <cstddef>
#include <string_view>

namespace orv {

enum class Sound { CaptureSignature, CaptureComplete, TestGood, TestBad };
inline constexpr std::size_t kSoundCount = 4;

inline constexpr std::array<std::string_view, kSoundCount> kSoundFiles = {
    "sounds/capturesignature.wav",
    "sounds/capturecomplete.wav",
    "sounds/testgood.wav",
    "sounds/testbad.wav",
};

}  // namespace orv
