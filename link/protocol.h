#pragma once
// The bytes on the wire, without any device: command packets, measurement frames and
// their checksums, and the texts kept in the converter's EEPROM. Both ends use it: the
// link encodes packets and decodes frames, the simulated instrument the other way round.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

// ---- Command packets ----

inline constexpr int kPacketBytes = 8;
using Packet = std::array<std::uint8_t, kPacketBytes>;

// Register 0 without the write mark, value 0.
inline constexpr Packet kPollPacket = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x55, 0x55};

// Sum of the three big-endian words of bytes 0..5 plus 0x5555, modulo 65536.
std::uint16_t PacketChecksum(const std::uint8_t* packet);

// A write of `value` to `registerNumber` (below 32768). The value bytes are the value
// divided by 2^24, 2^16, 2^8 and 1, each truncated toward zero and cut to its low 8
// bits, as the instrument has always been sent them: -10 goes out as 00 00 00 F6.
Packet EncodeWritePacket(int registerNumber, std::int64_t value);

// One write packet per register, from `first` upwards, back to back into `out`, which
// holds 8 * count bytes.
void EncodeRegisterPackets(const std::int64_t* registers, int first, int count, std::uint8_t* out);

struct DecodedPacket {
    bool write = false;      // bit 7 of byte 0
    int registerNumber = 0;  // 15 bits
    std::uint32_t value = 0;
    bool checksumOk = false;
};

DecodedPacket DecodePacket(const std::uint8_t* packet);

// ---- Measurement frames ----

inline constexpr int kFrameBytes = 520;
inline constexpr int kFrameSamples = 64;
inline constexpr int kRawEntries = 129;  // indexed 1..64; 0 and 65..128 unused

// The contents of one frame: three header words and the two channels' sums.
struct RawFrame {
    std::uint16_t FrameWord0 = 0;
    std::uint16_t RailRaw = 0;
    std::uint16_t InstrumentStatus = 0;  // bit 0 button A held, bit 1 button B held
    std::array<std::int32_t, kRawEntries> channelA{};
    std::array<std::int32_t, kRawEntries> channelB{};
};

inline constexpr std::uint16_t kButtonA = 1;
inline constexpr std::uint16_t kButtonB = 2;

struct FrameCheck {
    bool good = false;
    std::uint16_t received = 0;  // the checksum word the frame carried
};

// Stores the header words and entries 1..64 of both channels into `into` as they are
// read, then compares the sum of the 259 words with the frame's checksum word. The
// stored values stay even when the checksum is wrong.
FrameCheck DecodeFrame(const std::uint8_t* bytes, RawFrame& into);

// The 520 bytes of a frame, entries 1..64, with its correct checksum.
void EncodeFrame(const RawFrame& frame, std::uint8_t* out);

// The checksum word of an encoded frame (the last two bytes).
std::uint16_t FrameChecksumWord(const std::uint8_t* bytes);
void SetFrameChecksumWord(std::uint8_t* bytes, std::uint16_t checksum);

// ---- EEPROM texts ----

inline constexpr int kEepromImageWords = 129;  // words 0..128, read at each connection
using EepromImage = std::array<std::uint16_t, kEepromImageWords>;

inline constexpr int kMakerTextFirstWord = 81;
inline constexpr int kMakerTextWords = 14;
inline constexpr int kProductTextFirstWord = 95;
inline constexpr int kProductTextWords = 25;

// One character per word. A word read as a signed 16-bit code of 32 or less, or of 126
// or more, becomes a blank, so only the characters 33..125 survive.
std::string EepromText(const EepromImage& image, int firstWord, int words);

inline constexpr int kCalibrationFirstWord = 128;
inline constexpr int kCalibrationWords = 896;
inline constexpr int kCalibrationBytes = 2 * kCalibrationWords;
using CalibrationArea = std::array<std::uint16_t, kCalibrationWords>;

// The first 1792 bytes of `text`, two per word, the earlier byte in the low half; the
// rest of the area is 0.
CalibrationArea PackCalibrationText(std::string_view text);

// The bytes of the area in order, low byte then high byte of each word, with every
// zero byte left out wherever it stands.
std::string UnpackCalibrationText(const CalibrationArea& area);

}  // namespace orv
