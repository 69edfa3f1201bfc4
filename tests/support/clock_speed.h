#pragma once
// How many times fast the link's clock runs in a test whose program must keep up with
// it. Under ThreadSanitizer every pass of the program takes five to fifteen times as
// long, so the frames of a clock ten times fast would outrun it: there the clock runs
// a fifth as fast, and the test takes longer instead of missing frames.

#include <algorithm>

namespace orv::test {

constexpr int ClockSpeed(int speed) {
#if defined(__SANITIZE_THREAD__)
    return std::max(1, speed / 5);
#else
    return speed;
#endif
}

}  // namespace orv::test
