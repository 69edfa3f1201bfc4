// Any bytes given as a product page: a version text of at most six bytes, a number,
// and an offer that names it, never a read past the end.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/release_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view page(reinterpret_cast<const char*>(data), size);
    const std::string latest = orv::LatestVersionText(page);
    if (latest.size() > 6)
        __builtin_trap();
    const float version = orv::ParseVersionText(latest);
    if (orv::IsNewerRelease(version, 25.003f)) {
        volatile std::size_t length =
            orv::ReleaseOfferText(25.003f, version, "http://host/pages/software").size();
        (void)length;
    }
    return 0;
}
