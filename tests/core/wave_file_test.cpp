#include "core/wave_file.h"

#include <gtest/gtest.h>

#include <string>

namespace orv {
namespace {

std::string Little(std::uint32_t value, int size) {
    std::string bytes;
    for (int i = 0; i < size; ++i)
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

std::string Chunk(const std::string& name, const std::string& body) {
    std::string chunk = name + Little(static_cast<std::uint32_t>(body.size()), 4) + body;
    if (body.size() % 2 == 1)
        chunk += '\0';
    return chunk;
}

std::string Format(int tag, int channels, int rate, int bits) {
    const int frame = channels * bits / 8;
    return Chunk("fmt ", Little(tag, 2) + Little(channels, 2) + Little(rate, 4) +
                             Little(rate * frame, 4) + Little(frame, 2) + Little(bits, 2));
}

std::string Riff(const std::string& chunks) {
    return "RIFF" + Little(static_cast<std::uint32_t>(4 + chunks.size()), 4) + "WAVE" + chunks;
}

TEST(ReadWaveFormatTest, AcceptsOnlyWholePlayableClips) {
    const std::string pcm = Format(1, 1, 22050, 16);
    const std::string samples(4410, '\x10');  // 0.1 s of 16-bit mono
    struct Case {
        const char* name;
        std::string bytes;
        bool playable;
    };
    const Case cases[] = {
        {"PCM", Riff(pcm + Chunk("data", samples)), true},
        {"float stereo", Riff(Format(3, 2, 48000, 32) + Chunk("data", std::string(64, '\0'))),
         true},
        {"odd-sized chunk before the format",
         Riff(Chunk("LIST", "abc") + pcm + Chunk("data", samples)), true},
        {"empty", "", false},
        {"not RIFF", "RIFX" + Riff(pcm + Chunk("data", samples)).substr(4), false},
        {"RIFF but not WAVE", "RIFF" + Little(4, 4) + "AVI ", false},
        {"compressed samples", Riff(Format(2, 1, 22050, 4) + Chunk("data", samples)), false},
        {"data before the format", Riff(Chunk("data", samples) + pcm), false},
        {"no data", Riff(pcm), false},
        {"empty data", Riff(pcm + Chunk("data", "")), false},
        {"data cut short", Riff(pcm + Chunk("data", samples)).substr(0, 200), false},
        {"format cut short", Riff(pcm).substr(0, 24), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadWaveFormat(c.bytes).has_value(), c.playable) << c.name;
    }

    const std::optional<WaveFormat> format = ReadWaveFormat(Riff(pcm + Chunk("data", samples)));
    ASSERT_TRUE(format.has_value());
    EXPECT_EQ(format->channels, 1);
    EXPECT_EQ(format->sampleRate, 22050);
    EXPECT_EQ(format->bitsPerSample, 16);
    EXPECT_EQ(format->dataBytes, 4410u);
    EXPECT_DOUBLE_EQ(format->Seconds(), 0.1);
}

}  // namespace
}  // namespace orv
