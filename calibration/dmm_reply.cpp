#include "calibration/dmm_reply.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace orv {

namespace {

constexpr std::size_t kMantissaChars = 10;  // positions 2 to 11
constexpr std::size_t kLayoutChars = 15;    // sign, mantissa, "E+01"
// What a multimeter answers instead of a number when the input is over its range.
constexpr double kOverloadValue = 9.9e37;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsMantissa(std::string_view text) {
    int digits = 0, points = 0;
    for (const char c : text) {
        if (IsDigit(c)) {
            ++digits;
        } else if (c == '.') {
            ++points;
        } else {
            return false;
        }
    }
    return digits > 0 && points <= 1;
}

// "E+01", "E-03", "E123": an E, an optional sign, then digits only.
bool IsExponentField(std::string_view field) {
    if (field.size() < 3 || (field[0] != 'E' && field[0] != 'e'))
        return false;
    std::size_t at = 1;
    if (field[at] == '+' || field[at] == '-')
        ++at;
    if (at >= field.size())
        return false;
    for (; at < field.size(); ++at) {
        if (!IsDigit(field[at]))
            return false;
    }
    return true;
}

}  // namespace

std::optional<double> ParseDmmReply(std::string_view reply) {
    while (!reply.empty() &&
           (reply.back() == '\n' || reply.back() == '\r' || reply.back() == ' ')) {
        reply.remove_suffix(1);
    }
    if (reply.size() < 2 || reply.size() > kLayoutChars)
        return std::nullopt;
    if (reply[0] != '+' && reply[0] != '-')
        return std::nullopt;
    const std::string_view mantissa = reply.substr(1, kMantissaChars);
    const std::string_view exponent =
        reply.size() > 1 + kMantissaChars ? reply.substr(1 + kMantissaChars) : std::string_view();
    // A field of one or two characters is an exponent cut off, not a short reply.
    if (!IsMantissa(mantissa) || (!exponent.empty() && !IsExponentField(exponent)))
        return std::nullopt;
    // The whole text through strtod: the decimal value rounded once.
    const std::string text(reply);
    const double value = std::strtod(text.c_str(), nullptr);
    if (!std::isfinite(value) || std::fabs(value) >= kOverloadValue)
        return std::nullopt;
    return value;
}

}  // namespace orv
