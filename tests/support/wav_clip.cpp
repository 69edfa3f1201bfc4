#include "support/wav_clip.h"

#include <cstdint>

namespace orv::test {

std::string WavClip() {
    const auto little = [](std::uint32_t value, int size) {
        std::string bytes;
        for (int i = 0; i < size; ++i)
            bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
        return bytes;
    };
    const std::string samples(2000, '\0');
    return "RIFF" + little(36 + 2000, 4) + "WAVEfmt " + little(16, 4) + little(1, 2) +
           little(1, 2) + little(22050, 4) + little(44100, 4) + little(2, 2) + little(16, 2) +
           "data" + little(2000, 4) + samples;
}

}  // namespace orv::test
