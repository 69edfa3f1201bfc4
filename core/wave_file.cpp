#include "core/wave_file.h"

namespace orv {

namespace {

std::uint32_t Little32(std::string_view bytes, size_t at) {
    std::uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) {
        value |= std::uint32_t{static_cast<unsigned char>(bytes[at + i])} << (8 * i);
    }
    return value;
}

std::uint16_t Little16(std::string_view bytes, size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      static_cast<unsigned char>(bytes[at + 1]) << 8);
}

constexpr std::uint16_t kPcm = 1;
constexpr std::uint16_t kFloat = 3;
constexpr std::uint16_t kExtensible = 0xFFFE;

}  // namespace

double WaveFormat::Seconds() const {
    const int frameBytes = channels * ((bitsPerSample + 7) / 8);
    if (frameBytes <= 0 || sampleRate <= 0)
        return 0;
    return static_cast<double>(dataBytes / static_cast<std::uint32_t>(frameBytes)) / sampleRate;
}

std::optional<WaveFormat> ReadWaveFormat(std::string_view bytes) {
    if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE") {
        return std::nullopt;
    }
    std::optional<WaveFormat> format;
    size_t at = 12;
    // Chunks: a four-letter name, a 32-bit size, the body, a pad byte after an odd body.
    while (bytes.size() - at >= 8) {
        const std::string_view name = bytes.substr(at, 4);
        const std::uint32_t size = Little32(bytes, at + 4);
        const size_t body = at + 8;
        if (size > bytes.size() - body)
            return std::nullopt;  // truncated
        if (name == "fmt ") {
            if (size < 16)
                return std::nullopt;
            const std::uint16_t tag = Little16(bytes, body);
            if (tag != kPcm && tag != kFloat && tag != kExtensible)
                return std::nullopt;
            WaveFormat parsed;
            parsed.channels = Little16(bytes, body + 2);
            parsed.sampleRate = static_cast<int>(Little32(bytes, body + 4) & 0x7FFFFFFF);
            parsed.bitsPerSample = Little16(bytes, body + 14);
            if (parsed.channels < 1 || parsed.sampleRate < 1 || parsed.bitsPerSample < 8 ||
                parsed.bitsPerSample > 32 || parsed.bitsPerSample % 8 != 0) {
                return std::nullopt;
            }
            format = parsed;
        } else if (name == "data") {
            if (!format || size == 0)
                return std::nullopt;
            format->dataBytes = size;
            return format;
        }
        at = body + size + (size & 1);
        if (at > bytes.size())
            break;
    }
    return std::nullopt;
}

}  // namespace orv
