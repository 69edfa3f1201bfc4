// Frames as they may come off the wire: decoding never reads past the frame, and a
// frame whose checksum is right is exactly what encoding its values gives back.

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "link/protocol.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < static_cast<std::size_t>(orv::kFrameBytes))
        return 0;
    orv::RawFrame frame;
    const orv::FrameCheck check = orv::DecodeFrame(data, frame);
    if (check.received != orv::FrameChecksumWord(data))
        std::abort();
    std::uint8_t again[orv::kFrameBytes];
    orv::EncodeFrame(frame, again);
    const bool same = std::memcmp(again, data, orv::kFrameBytes) == 0;
    if (same != check.good)
        std::abort();
    return 0;
}
