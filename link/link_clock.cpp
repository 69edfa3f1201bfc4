#include "link/link_clock.h"

#include <chrono>
#include <thread>

#include "core/clock.h"

namespace orv {

std::int64_t NowMs(const LinkClock& clock) {
    return clock.virtualTime ? clock.virtualNowMs.load() : MonotonicMs();
}

void SleepMs(LinkClock& clock, int ms) {
    if (clock.virtualTime) {
        AdvanceMs(clock, ms);
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void UseVirtualTime(LinkClock& clock, std::int64_t startMs) {
    clock.virtualNowMs = startMs;
    clock.virtualTime = true;
}

void AdvanceMs(LinkClock& clock, std::int64_t ms) {
    clock.virtualNowMs.store(clock.virtualNowMs.load() + ms);
}

std::int32_t ElapsedMs32(std::int64_t now, std::int32_t then) {
    const std::uint32_t span = static_cast<std::uint32_t>(now) - static_cast<std::uint32_t>(then);
    return static_cast<std::int32_t>(span);
}

}  // namespace orv
