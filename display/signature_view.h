#pragma once
// A signature as the renderers see it: X in volts and Y in amperes, points 1..count
// (entry 0 unused), borrowed from whoever holds the buffers.

#include <algorithm>
#include <span>

namespace orv {

struct SignatureView {
    std::span<const float> x;
    std::span<const float> y;
    int count = 0;

    // Points that both arrays really hold, whatever count claims.
    int UsableCount() const {
        const auto held = static_cast<int>(std::min(x.size(), y.size()));
        return std::clamp(count, 0, std::max(0, held - 1));
    }
};

}  // namespace orv
