#pragma once
// The multimeter's answer to "READ?" in the fixed layout: the sign, a mantissa of up to
// ten characters and an exponent field "E+01", ended by a line feed. Anything else
// (empty, words, an error text, a reply cut short, an overload) is no reading.

#include <optional>
#include <string_view>

namespace orv {

// The value of a reply, or nothing when the reply is not in the layout. Trailing blanks,
// CR and LF are ignored. A reply without an exponent field reads as sign x mantissa.
std::optional<double> ParseDmmReply(std::string_view reply);

}  // namespace orv
