#include "link/protocol.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orv {
namespace {

std::vector<std::uint8_t> Bytes(const Packet& packet) {
    return {packet.begin(), packet.end()};
}

TEST(PacketTest, WritePacketBytes) {
    struct Case {
        const char* name;
        int registerNumber;
        std::int64_t value;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {"register 1 = 2", 1, 2, {0x80, 0x01, 0x00, 0x00, 0x00, 0x02, 0xD5, 0x58}},
        {"zero", 0, 0, {0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0xD5, 0x55}},
        {"big-endian value", 4, 0x12345678, {0x80, 0x04, 0x12, 0x34, 0x56, 0x78, 0x3E, 0x05}},
        {"-10 is not two's complement", 20, -10, {0x80, 0x14, 0x00, 0x00, 0x00, 0xF6, 0xD6, 0x5F}},
        {"-1000: each quotient truncated",
         20,
         -1000,
         {0x80, 0x14, 0x00, 0x00, 0xFD, 0x18, 0xD2, 0x81}},
        {"register above 255", 0x1234, 7, {0x92, 0x34, 0x00, 0x00, 0x00, 0x07, 0xE7, 0x90}},
        {"only the low 32 bits",
         6,
         0x100000001LL,
         {0x80, 0x06, 0x00, 0x00, 0x00, 0x01, 0xD5, 0x5C}},
        {"checksum wraps", 0x7FFF, 0xFFFFFFFFLL, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x55, 0x52}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Bytes(EncodeWritePacket(c.registerNumber, c.value)), c.bytes) << c.name;
    }
}

TEST(PacketTest, PollPacketIsRegisterZeroWithoutTheWriteMark) {
    EXPECT_EQ(Bytes(kPollPacket),
              (std::vector<std::uint8_t>{0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x55, 0x55}));
    const DecodedPacket poll = DecodePacket(kPollPacket.data());
    EXPECT_FALSE(poll.write);
    EXPECT_TRUE(poll.checksumOk);
    EXPECT_EQ(poll.registerNumber, 0);
}

TEST(PacketTest, PacketsOfARangeComeBackToBack) {
    std::vector<std::int64_t> registers(40);
    registers[16] = 3;
    registers[17] = 4;
    std::vector<std::uint8_t> out(16);
    EncodeRegisterPackets(registers.data(), 16, 2, out.data());
    EXPECT_EQ(std::vector<std::uint8_t>(out.begin(), out.begin() + 8),
              Bytes(EncodeWritePacket(16, 3)));
    EXPECT_EQ(std::vector<std::uint8_t>(out.begin() + 8, out.end()),
              Bytes(EncodeWritePacket(17, 4)));
}

TEST(PacketTest, DecodingFindsRegisterValueAndDamage) {
    Packet packet = EncodeWritePacket(0x0123, 0xCAFE1234);
    DecodedPacket decoded = DecodePacket(packet.data());
    EXPECT_TRUE(decoded.write);
    EXPECT_EQ(decoded.registerNumber, 0x0123);
    EXPECT_EQ(decoded.value, 0xCAFE1234u);
    EXPECT_TRUE(decoded.checksumOk);
    for (size_t byte = 0; byte < packet.size(); ++byte) {
        Packet damaged = packet;
        damaged[byte] ^= 0x10;
        EXPECT_FALSE(DecodePacket(damaged.data()).checksumOk) << "byte " << byte;
    }
}

// A frame whose sample k carries a on channel A and b on channel B.
std::vector<std::uint8_t> EncodedFrame(std::int32_t a, std::int32_t b, std::uint16_t status = 0) {
    RawFrame frame;
    frame.FrameWord0 = 7;
    frame.RailRaw = 3114;
    frame.InstrumentStatus = status;
    for (int k = 1; k <= kFrameSamples; ++k) {
        frame.channelA[k] = a + k;
        frame.channelB[k] = b - k;
    }
    std::vector<std::uint8_t> bytes(kFrameBytes);
    EncodeFrame(frame, bytes.data());
    return bytes;
}

TEST(FrameTest, LayoutIsBigEndianWithTheSumOfWordsAsChecksum) {
    std::vector<std::uint8_t> bytes(kFrameBytes);
    RawFrame frame;
    frame.FrameWord0 = 0x0102;
    frame.RailRaw = 0x0304;
    frame.InstrumentStatus = 0x0003;
    frame.channelA[1] = 0x11223344;
    frame.channelB[1] = -2;
    EncodeFrame(frame, bytes.data());
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 14),
              (std::vector<std::uint8_t>{0x01, 0x02, 0x03, 0x04, 0x00, 0x03, 0x11, 0x22, 0x33, 0x44,
                                         0xFF, 0xFF, 0xFF, 0xFE}));
    unsigned sum = 0;
    for (int i = 0; i < kFrameBytes - 2; i += 2)
        sum += (bytes[i] << 8) | bytes[i + 1];
    EXPECT_EQ(FrameChecksumWord(bytes.data()), sum % 65536);
}

TEST(FrameTest, DecodeReadsHeaderSamplesAndChecksum) {
    const std::vector<std::uint8_t> bytes = EncodedFrame(1000, -1000, kButtonA | kButtonB);
    RawFrame frame;
    const FrameCheck check = DecodeFrame(bytes.data(), frame);
    EXPECT_TRUE(check.good);
    EXPECT_EQ(frame.FrameWord0, 7);
    EXPECT_EQ(frame.RailRaw, 3114);
    EXPECT_EQ(frame.InstrumentStatus, kButtonA | kButtonB);
    EXPECT_EQ(frame.channelA[1], 1001);
    EXPECT_EQ(frame.channelA[64], 1064);
    EXPECT_EQ(frame.channelB[64], -1064);
    EXPECT_EQ(frame.channelA[0], 0);
    EXPECT_EQ(frame.channelA[65], 0);
}

TEST(FrameTest, ValuesAbove2To31ReadNegative) {
    std::vector<std::uint8_t> bytes = EncodedFrame(0, 0);
    const std::uint8_t high[] = {0x80, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFE};
    std::copy(std::begin(high), std::end(high), bytes.begin() + 6);
    SetFrameChecksumWord(bytes.data(), 0);  // the values count, not the checksum
    RawFrame frame;
    DecodeFrame(bytes.data(), frame);
    EXPECT_EQ(frame.channelA[1], INT32_MIN);
    EXPECT_EQ(frame.channelB[1], -2);
}

TEST(FrameTest, AWrongChecksumStillStoresTheValuesAndReportsWhatCame) {
    std::vector<std::uint8_t> bytes = EncodedFrame(5, 6);
    const std::uint16_t right = FrameChecksumWord(bytes.data());
    SetFrameChecksumWord(bytes.data(), static_cast<std::uint16_t>(right + 1));
    RawFrame frame;
    const FrameCheck check = DecodeFrame(bytes.data(), frame);
    EXPECT_FALSE(check.good);
    EXPECT_EQ(check.received, static_cast<std::uint16_t>(right + 1));
    EXPECT_EQ(frame.channelA[3], 8);
}

TEST(EepromTextTest, OnlyCharacters33To125Survive) {
    struct Case {
        const char* name;
        std::vector<std::uint16_t> words;
        std::string text;
    };
    const Case cases[] = {
        {"plain", {'O', 'R', 'V'}, "ORV"},
        {"blank, tilde and DEL become blanks", {' ', '~', 127, '}'}, "   }"},
        {"control characters and 0", {'\t', 0, '\r', '!'}, "   !"},
        {"codes read as signed 16 bits", {0xFFFF, 0x8041, 0x0141, 0x00C9}, "    "},
    };
    for (const Case& c : cases) {
        EepromImage image{};
        for (size_t i = 0; i < c.words.size(); ++i)
            image[10 + i] = c.words[i];
        EXPECT_EQ(EepromText(image, 10, static_cast<int>(c.words.size())), c.text) << c.name;
    }
}

TEST(CalibrationAreaTest, PackingPutsTheEarlierByteLow) {
    const CalibrationArea area = PackCalibrationText("AB\r\nC");
    EXPECT_EQ(area[0], 'A' | ('B' << 8));
    EXPECT_EQ(area[1], '\r' | ('\n' << 8));
    EXPECT_EQ(area[2], 'C');
    EXPECT_EQ(area[3], 0);
}

TEST(CalibrationAreaTest, TextsAndWhatComesBack) {
    struct Case {
        const char* name;
        std::string text;
        std::string back;
    };
    const std::string full(kCalibrationBytes, 'x');
    const Case cases[] = {
        {"short text", "DAC@1V=3000\r\n", "DAC@1V=3000\r\n"},
        {"empty", "", ""},
        {"exactly 1792 bytes", full, full},
        {"1793 bytes: the last is cut", full + "y", full},
        {"zero bytes drop out", std::string("A\0B\0\0C", 6), "ABC"},
        {"bytes above 127 stay", "\xC3\xA9", "\xC3\xA9"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UnpackCalibrationText(PackCalibrationText(c.text)), c.back) << c.name;
    }
}

}  // namespace
}  // namespace orv
