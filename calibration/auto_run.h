#pragma once
// The automatic calibration run as a table: what each of the 41 steps presses, how long
// it waits before the next, and the text it shows.

#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

inline constexpr int kAutoLastStep = 41;
inline constexpr int kAutoFirstDelayMs = 1000;  // from "Go!" to step 1
inline constexpr int kZeroingStep = 30;
inline constexpr int kZeroingPasses = 50;

struct AutoStep {
    int press = 0;  // a control or pseudo-button number; 0 for none
    int delayMs = 0;
    std::string_view status;
};

// Steps 1..41; anything else is an empty step.
AutoStep AutoStepAt(int step);

// The window's record of the run.
struct AutoRun {
    int step = 0;  // 0 idle, 1..41, 42 waiting for the end
    std::int64_t nextStepMs = 0;
    int zeroingPasses = 0;
};

}  // namespace orv
