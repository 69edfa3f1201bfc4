#pragma once
// Integers of the record editor: image pixels from cells that may hold any number,
// and pixel positions rounded from single-precision values.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace orv {

// The nearest int to a 64-bit value: a cell may hold a number no image has.
inline int SaturateToInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

// Rounded to the nearest integer, halves away from zero; not-a-number gives 0 and
// values beyond int the nearest end of it.
inline int RoundPixel(float value) {
    if (std::isnan(value))
        return 0;
    constexpr float kLimit = 2147483520.0f;  // the largest float below 2^31
    return static_cast<int>(std::round(std::clamp(value, -kLimit, kLimit)));
}

}  // namespace orv
