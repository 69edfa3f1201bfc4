#pragma once
// The two roundings the display uses, both on single-precision values: positions in
// the layout grid, traces and board markers round halves away from zero; label
// anchors, the board crop window and the label numbers round halves to even.

#include <cmath>
#include <cstdint>

namespace orv {

// Far beyond any pixel or label value, small enough to convert without overflow.
inline constexpr float kRoundingLimit = 1.0e15f;

inline float ClampForRounding(float value) {
    if (std::isnan(value))
        return 0.0f;
    if (value > kRoundingLimit)
        return kRoundingLimit;
    if (value < -kRoundingLimit)
        return -kRoundingLimit;
    return value;
}

inline std::int64_t RoundHalfAway(float value) {
    return static_cast<std::int64_t>(std::round(ClampForRounding(value)));
}

// The default rounding of IEEE 754 arithmetic, which the program never changes.
inline std::int64_t RoundHalfEven(float value) {
    return static_cast<std::int64_t>(std::nearbyint(ClampForRounding(value)));
}

}  // namespace orv
