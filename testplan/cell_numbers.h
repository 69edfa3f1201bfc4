#pragma once
// Numbers kept as cell text. Integers are plain decimal; floats use the program's
// float text (core/number_text.h). Reading skips leading blanks and tabs, takes a
// sign, and reads the number at that place; anything else reads as 0.

#include <cstdint>
#include <string>
#include <string_view>

#include "testplan/test_plan.h"

namespace orv {

std::string IntegerText(std::int64_t value);

// The nearest integer, a half going to the even neighbour; not-a-number gives 0 and
// values beyond the 64-bit range the nearest end of it.
std::int64_t RoundToInteger(double value);

// The decimal digits after blanks and a sign, up to the first other character.
std::int64_t ReadIntegerText(std::string_view text);

// The decimal number (with fraction and exponent) after blanks and a sign, rounded to
// single precision; "+Infinity", "-Infinity" and "NaN" in any letter case.
float ReadFloatText(std::string_view text);

std::int64_t IntegerCell(const TestPlan& plan, int row, int col);
float FloatCell(const TestPlan& plan, int row, int col);

}  // namespace orv
