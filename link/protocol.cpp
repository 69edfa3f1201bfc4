#include "link/protocol.h"

namespace orv {

namespace {

std::uint16_t Word(const std::uint8_t* bytes) {
    return static_cast<std::uint16_t>((bytes[0] << 8) | bytes[1]);
}

void PutWord(std::uint8_t* bytes, std::uint16_t word) {
    bytes[0] = static_cast<std::uint8_t>(word >> 8);
    bytes[1] = static_cast<std::uint8_t>(word & 0xFF);
}

std::uint8_t Low8(std::int64_t value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

constexpr int kChecksumOffset = kFrameBytes - 2;
constexpr int kFirstRecordOffset = 6;

}  // namespace

std::uint16_t PacketChecksum(const std::uint8_t* packet) {
    const unsigned sum = Word(packet) + Word(packet + 2) + Word(packet + 4) + 0x5555u;
    return static_cast<std::uint16_t>(sum & 0xFFFF);
}

Packet EncodeWritePacket(int registerNumber, std::int64_t value) {
    Packet packet{};
    packet[0] = static_cast<std::uint8_t>(0x80 | Low8(registerNumber / 256));
    packet[1] = Low8(registerNumber);
    // Truncating division, not a two's-complement split: the instrument's firmware
    // expects negative values this way.
    packet[2] = Low8(value / 16777216);
    packet[3] = Low8(value / 65536);
    packet[4] = Low8(value / 256);
    packet[5] = Low8(value);
    PutWord(&packet[6], PacketChecksum(packet.data()));
    return packet;
}

void EncodeRegisterPackets(const std::int64_t* registers, int first, int count, std::uint8_t* out) {
    for (int i = 0; i < count; ++i) {
        const Packet packet = EncodeWritePacket(first + i, registers[first + i]);
        for (int b = 0; b < kPacketBytes; ++b)
            out[kPacketBytes * i + b] = packet[b];
    }
}

DecodedPacket DecodePacket(const std::uint8_t* packet) {
    DecodedPacket decoded;
    decoded.write = (packet[0] & 0x80) != 0;
    decoded.registerNumber = ((packet[0] & 0x7F) << 8) | packet[1];
    decoded.value = (static_cast<std::uint32_t>(packet[2]) << 24) |
                    (static_cast<std::uint32_t>(packet[3]) << 16) |
                    (static_cast<std::uint32_t>(packet[4]) << 8) | packet[5];
    decoded.checksumOk = PacketChecksum(packet) == Word(packet + 6);
    return decoded;
}

FrameCheck DecodeFrame(const std::uint8_t* bytes, RawFrame& into) {
    unsigned sum = 0;
    into.FrameWord0 = Word(bytes);
    into.RailRaw = Word(bytes + 2);
    into.InstrumentStatus = Word(bytes + 4);
    sum += into.FrameWord0 + into.RailRaw + into.InstrumentStatus;
    const std::uint8_t* record = bytes + kFirstRecordOffset;
    for (int k = 1; k <= kFrameSamples; ++k, record += 8) {
        const std::uint16_t aHigh = Word(record);
        const std::uint16_t aLow = Word(record + 2);
        const std::uint16_t bHigh = Word(record + 4);
        const std::uint16_t bLow = Word(record + 6);
        sum += aHigh + aLow + bHigh + bLow;
        into.channelA[k] =
            static_cast<std::int32_t>((static_cast<std::uint32_t>(aHigh) << 16) | aLow);
        into.channelB[k] =
            static_cast<std::int32_t>((static_cast<std::uint32_t>(bHigh) << 16) | bLow);
    }
    FrameCheck check;
    check.received = Word(bytes + kChecksumOffset);
    check.good = static_cast<std::uint16_t>(sum & 0xFFFF) == check.received;
    return check;
}

void EncodeFrame(const RawFrame& frame, std::uint8_t* out) {
    unsigned sum = 0;
    auto put = [&](std::uint8_t* at, std::uint16_t word) {
        PutWord(at, word);
        sum += word;
    };
    put(out, frame.FrameWord0);
    put(out + 2, frame.RailRaw);
    put(out + 4, frame.InstrumentStatus);
    std::uint8_t* record = out + kFirstRecordOffset;
    for (int k = 1; k <= kFrameSamples; ++k, record += 8) {
        const auto a = static_cast<std::uint32_t>(frame.channelA[k]);
        const auto b = static_cast<std::uint32_t>(frame.channelB[k]);
        put(record, static_cast<std::uint16_t>(a >> 16));
        put(record + 2, static_cast<std::uint16_t>(a & 0xFFFF));
        put(record + 4, static_cast<std::uint16_t>(b >> 16));
        put(record + 6, static_cast<std::uint16_t>(b & 0xFFFF));
    }
    PutWord(out + kChecksumOffset, static_cast<std::uint16_t>(sum & 0xFFFF));
}

std::uint16_t FrameChecksumWord(const std::uint8_t* bytes) {
    return Word(bytes + kChecksumOffset);
}

void SetFrameChecksumWord(std::uint8_t* bytes, std::uint16_t checksum) {
    PutWord(bytes + kChecksumOffset, checksum);
}

std::string EepromText(const EepromImage& image, int firstWord, int words) {
    std::string text;
    text.reserve(static_cast<size_t>(words));
    for (int i = 0; i < words; ++i) {
        const int index = firstWord + i;
        const int code = (index >= 0 && index < kEepromImageWords)
                             ? static_cast<std::int16_t>(image[static_cast<size_t>(index)])
                             : 0;
        text += (code <= 32 || code >= 126) ? ' ' : static_cast<char>(code);
    }
    return text;
}

CalibrationArea PackCalibrationText(std::string_view text) {
    CalibrationArea area{};
    const size_t bytes = text.size() < static_cast<size_t>(kCalibrationBytes)
                             ? text.size()
                             : static_cast<size_t>(kCalibrationBytes);
    for (size_t i = 0; i < bytes; ++i) {
        const auto byte = static_cast<std::uint16_t>(static_cast<unsigned char>(text[i]));
        area[i / 2] |= (i % 2 == 0) ? byte : static_cast<std::uint16_t>(byte << 8);
    }
    return area;
}

std::string UnpackCalibrationText(const CalibrationArea& area) {
    std::string text;
    for (const std::uint16_t word : area) {
        const auto low = static_cast<char>(word & 0xFF);
        const auto high = static_cast<char>(word >> 8);
        if (low != 0)
            text += low;
        if (high != 0)
            text += high;
    }
    return text;
}

}  // namespace orv
