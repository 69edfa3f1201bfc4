#include "core/number_text.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace orv {

namespace {

// Decimal digits of `value`, most significant first; returns the count.
std::size_t WriteUnsigned(std::uint64_t value, char* out) {
    char reversed[24];
    std::size_t n = 0;
    do {
        reversed[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    for (std::size_t i = 0; i < n; ++i)
        out[i] = reversed[n - 1 - i];
    return n;
}

// Exact decimal digits of a whole number m * 2^e too large for 64 bits (floats up
// to 3.4e38 have at most 39 digits).
std::size_t WriteLargeWhole(double value, char* out) {
    int exponent = 0;
    const double fraction = std::frexp(value, &exponent);  // value = fraction * 2^exponent
    std::uint64_t mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    exponent -= 53;
    unsigned char digits[48] = {};  // least significant first
    std::size_t count = 0;
    while (mantissa != 0) {
        digits[count++] = static_cast<unsigned char>(mantissa % 10);
        mantissa /= 10;
    }
    for (int i = 0; i < exponent; ++i) {
        int carry = 0;
        for (std::size_t d = 0; d < count; ++d) {
            const int doubled = digits[d] * 2 + carry;
            digits[d] = static_cast<unsigned char>(doubled % 10);
            carry = doubled / 10;
        }
        if (carry != 0)
            digits[count++] = static_cast<unsigned char>(carry);
    }
    for (std::size_t i = 0; i < count; ++i)
        out[i] = static_cast<char>('0' + digits[count - 1 - i]);
    return count;
}

}  // namespace

std::size_t FormatFloatTextInto(float value, char* out) {
    if (std::isnan(value)) {
        std::memcpy(out, "NaN", 4);
        return 3;
    }
    if (std::isinf(value)) {
        const char* text = value > 0 ? "+Infinity" : "-Infinity";
        std::memcpy(out, text, 10);
        return 9;
    }
    std::size_t n = 0;
    if (std::signbit(value))
        out[n++] = '-';
    const double magnitude = std::fabs(static_cast<double>(value));
    if (magnitude >= 9.0e18) {
        // Whole numbers only at this size: no fraction to print.
        n += WriteLargeWhole(magnitude, out + n);
        out[n] = '\0';
        return n;
    }
    std::uint64_t whole = static_cast<std::uint64_t>(magnitude);
    // A float's fraction times 10^10 is exact in a double, so rounding it here rounds
    // the true decimal value, halves to even, as printf("%.10f") does.
    double scaled = std::nearbyint((magnitude - static_cast<double>(whole)) * 1e10);
    if (scaled >= 1e10) {
        whole += 1;
        scaled = 0;
    }
    n += WriteUnsigned(whole, out + n);
    std::uint64_t decimals = static_cast<std::uint64_t>(scaled);
    if (decimals != 0) {
        out[n++] = '.';
        char digits[10];
        for (int i = 9; i >= 0; --i) {
            digits[i] = static_cast<char>('0' + decimals % 10);
            decimals /= 10;
        }
        int last = 9;
        while (digits[last] == '0')
            --last;
        for (int i = 0; i <= last; ++i)
            out[n++] = digits[i];
    }
    out[n] = '\0';
    return n;
}

std::string FormatFloatText(float value) {
    char text[kFloatTextCapacity];
    const std::size_t n = FormatFloatTextInto(value, text);
    return std::string(text, n);
}

}  // namespace orv
