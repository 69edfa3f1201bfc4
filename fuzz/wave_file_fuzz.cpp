// Any bytes given as a sound clip: a format or nothing, never a read past the end.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/wave_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::optional<orv::WaveFormat> format = orv::ReadWaveFormat(bytes);
    if (format) {
        volatile double seconds = format->Seconds();
        (void)seconds;
    }
    return 0;
}
