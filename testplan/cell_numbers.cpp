#include "testplan/cell_numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace orv {

namespace {

// Skips blanks and tabs and takes a sign; true for a minus.
bool TakeSign(std::string_view& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    text.remove_prefix(i);
    return negative;
}

bool StartsWithNoCase(std::string_view text, std::string_view word) {
    if (text.size() < word.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        const char c = text[i];
        const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        if (lower != word[i])
            return false;
    }
    return true;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The power of ten of a decimal number's leading digit ("250" 2, "0.01" -2), for
// numbers too large or too small for a float; the exponent is read saturated.
long DecimalMagnitude(std::string_view text) {
    std::size_t i = 0;
    long magnitude = -1;
    long wholeDigits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        if (wholeDigits > 0 || text[i] != '0')
            magnitude = wholeDigits++;
    }
    if (i < text.size() && text[i] == '.') {
        long position = 0;
        for (++i; i < text.size() && IsDigit(text[i]); ++i) {
            --position;
            if (wholeDigits == 0 && text[i] != '0') {
                magnitude = position;
                wholeDigits = -1;  // the leading digit is found
            }
        }
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negative = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            negative = text[i++] == '-';
        long exponent = 0;
        while (i < text.size() && IsDigit(text[i])) {
            exponent = std::min(exponent * 10 + (text[i] - '0'), 100000L);
            ++i;
        }
        magnitude += negative ? -exponent : exponent;
    }
    return magnitude;
}

}  // namespace

std::string IntegerText(std::int64_t value) {
    return std::to_string(value);
}

std::int64_t RoundToInteger(double value) {
    if (std::isnan(value))
        return 0;
    const double rounded = std::nearbyint(value);
    // 2^63 is the first double beyond the range.
    if (rounded >= 9223372036854775808.0)
        return std::numeric_limits<std::int64_t>::max();
    if (rounded <= -9223372036854775808.0)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(rounded);
}

std::int64_t ReadIntegerText(std::string_view text) {
    const bool negative = TakeSign(text);
    constexpr std::int64_t kLimit = std::numeric_limits<std::int64_t>::max();
    std::int64_t value = 0;
    for (const char c : text) {
        if (!IsDigit(c))
            break;
        const int digit = c - '0';
        value = value > (kLimit - digit) / 10 ? kLimit : value * 10 + digit;
    }
    return negative ? -value : value;
}

float ReadFloatText(std::string_view text) {
    const bool negative = TakeSign(text);
    if (StartsWithNoCase(text, "infinity")) {
        return negative ? -std::numeric_limits<float>::infinity()
                        : std::numeric_limits<float>::infinity();
    }
    if (StartsWithNoCase(text, "nan"))
        return std::numeric_limits<float>::quiet_NaN();
    const bool startsNumber =
        !text.empty() &&
        (IsDigit(text[0]) || (text[0] == '.' && text.size() > 1 && IsDigit(text[1])));
    if (!startsNumber)
        return 0;
    float value = 0;
    const std::errc error = std::from_chars(text.data(), text.data() + text.size(), value).ec;
    if (error == std::errc::result_out_of_range) {
        value = DecimalMagnitude(text) >= 0 ? std::numeric_limits<float>::infinity() : 0.0f;
    }
    return negative ? -value : value;
}

std::int64_t IntegerCell(const TestPlan& plan, int row, int col) {
    return ReadIntegerText(CellView(plan, row, col));
}

float FloatCell(const TestPlan& plan, int row, int col) {
    return ReadFloatText(CellView(plan, row, col));
}

}  // namespace orv
