#pragma once
// The link's millisecond clock. Normally the monotonic clock. In virtual time (tests,
// the simulated instrument stepped explicitly) a counter that only moves when told, so
// hours of link traffic can be run in a moment and exactly repeated. In fast time the
// monotonic clock runs `speed` times faster, for tests that run both threads for real
// but cannot wait for real seconds.

#include <cstdint>

#include "core/cross_thread.h"

namespace orv {

struct LinkClock {
    CrossThread<bool> virtualTime = false;
    CrossThread<std::int64_t> virtualNowMs = 0;
    CrossThread<int> speed = 1;
};

std::int64_t NowMs(const LinkClock& clock);

// Real or fast time: sleeps. Virtual time: moves the clock on by `ms` and returns at
// once.
void SleepMs(LinkClock& clock, int ms);

// Real milliseconds until the clock reaches `dueMs`, within 0..`maxMs`: how long a
// loop may sleep for something due then, on a clock that may run fast.
int RealMsUntil(const LinkClock& clock, std::int64_t dueMs, int maxMs);

// Virtual time from now on, starting at `startMs`.
void UseVirtualTime(LinkClock& clock, std::int64_t startMs);
void AdvanceMs(LinkClock& clock, std::int64_t ms);
// Fast time, before any thread reads the clock.
void UseFastTime(LinkClock& clock, int speed);

// Milliseconds from `then` to `now` on a clock kept in 32 bits: correct across the
// wrap of the 32-bit value, for spans below 2^31 ms.
std::int32_t ElapsedMs32(std::int64_t now, std::int32_t then);

}  // namespace orv
