#pragma once
// The program's float-text form: fixed point with ten decimals, then trailing zeros
// and a trailing point removed (0, 1.5, 0.1000000015); "+Infinity", "-Infinity", "NaN".

#include <cstddef>
#include <string>

namespace orv {

// Room for any float in this form, terminator included.
inline constexpr std::size_t kFloatTextCapacity = 64;

// Writes the text and a terminator into `out` (kFloatTextCapacity chars) and returns
// its length. Allocates nothing and takes no lock, so the crash report can use it.
std::size_t FormatFloatTextInto(float value, char* out);

std::string FormatFloatText(float value);

}  // namespace orv
