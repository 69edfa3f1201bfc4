// Any reply a multimeter may send to "READ?": a reading is a finite number below the
// overload value, and only a reply of the fixed layout's length gives one.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "calibration/dmm_reply.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view reply(reinterpret_cast<const char*>(data), size);
    const std::optional<double> value = orv::ParseDmmReply(reply);
    if (!value)
        return 0;
    if (!std::isfinite(*value) || std::fabs(*value) >= 9.9e37)
        std::abort();
    while (!reply.empty() && (reply.back() == '\n' || reply.back() == '\r' || reply.back() == ' '))
        reply.remove_suffix(1);
    if (reply.size() > 15 || (reply[0] != '+' && reply[0] != '-'))
        std::abort();
    return 0;
}
