#include "link/link_clock.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "core/clock.h"

namespace orv {

std::int64_t NowMs(const LinkClock& clock) {
    if (clock.virtualTime)
        return clock.virtualNowMs.load();
    const int speed = clock.speed;
    if (speed <= 1)
        return MonotonicMs();
    using namespace std::chrono;
    const auto us = duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
    return us * speed / 1000;
}

void SleepMs(LinkClock& clock, int ms) {
    if (clock.virtualTime) {
        AdvanceMs(clock, ms);
        return;
    }
    const int speed = clock.speed;
    std::this_thread::sleep_for(std::chrono::microseconds(1000LL * ms / (speed > 1 ? speed : 1)));
}

int RealMsUntil(const LinkClock& clock, std::int64_t dueMs, int maxMs) {
    const int speed = std::max(clock.speed.load(), 1);
    return static_cast<int>(std::clamp<std::int64_t>((dueMs - NowMs(clock)) / speed, 0, maxMs));
}

void UseVirtualTime(LinkClock& clock, std::int64_t startMs) {
    clock.virtualNowMs = startMs;
    clock.virtualTime = true;
}

void AdvanceMs(LinkClock& clock, std::int64_t ms) {
    clock.virtualNowMs.store(clock.virtualNowMs.load() + ms);
}

void UseFastTime(LinkClock& clock, int speed) {
    clock.virtualTime = false;
    clock.speed = speed;
}

std::int32_t ElapsedMs32(std::int64_t now, std::int32_t then) {
    const std::uint32_t span = static_cast<std::uint32_t>(now) - static_cast<std::uint32_t>(then);
    return static_cast<std::int32_t>(span);
}

}  // namespace orv
