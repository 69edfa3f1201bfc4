#include "calibration/auto_run.h"

#include <array>

#include "calibration/calibration_controls.h"
#include "calibration/calibration_values.h"

namespace orv {

namespace {

using namespace calibration;

constexpr int SetOutput(int level) {
    return BlockControl(level, kBlockSetOutput);
}
constexpr int Calibrate(int level) {
    return BlockControl(level, kBlockCalibrate);
}

// Steps 3 to 15; steps 16 to 28 repeat them with longer waits.
constexpr std::array<AutoStep, 13> kMeasureAndCalculate = {{
    {SetOutput(kLevelPlus10), 1000, ": set to +10V"},
    {kPseudoReadDmm, 1000, ": read DMM"},
    {kPseudoStoreResult[kLevelPlus10], 1000, ": store +10V result"},
    {SetOutput(kLevelPlus1), 1000, ": set to +1V"},
    {kPseudoReadDmm, 1000, ": read DMM"},
    {kPseudoStoreResult[kLevelPlus1], 1000, ": store +1V result"},
    {SetOutput(kLevelMinus1), 1000, ": set to -1V"},
    {kPseudoReadDmm, 1000, ": read DMM"},
    {kPseudoStoreResult[kLevelMinus1], 1000, ": store -1V result"},
    {SetOutput(kLevelMinus10), 1000, ": set to -10V"},
    {kPseudoReadDmm, 1000, ": read DMM"},
    {kPseudoStoreResult[kLevelMinus10], 1000, ": store -10V result"},
    {kPseudoCalculate, 1000, ": calculate values "},
}};

// Steps 29 to 41.
constexpr std::array<AutoStep, 13> kZeroAndStore = {{
    {SetOutput(kLevelZero), 2000, ": setup for zeroing the 0V"},
    {kPseudoZeroingPass, 500, ": zeroing in on 0V, pass:"},
    {SetOutput(kLevelPlus10), 2000, ": +10V cal, set"},
    {Calibrate(kLevelPlus10), 2000, ": +10V cal, store"},
    {SetOutput(kLevelPlus1), 2000, ": +1V cal, set"},
    {Calibrate(kLevelPlus1), 2000, ": +1V cal, store"},
    {SetOutput(kLevelZero), 2000, ": 0V cal, set"},
    {Calibrate(kLevelZero), 2000, ": 0V cal, store"},
    {SetOutput(kLevelMinus1), 2000, ": -1V cal, set"},
    {Calibrate(kLevelMinus1), 2000, ": -1V cal, store"},
    {SetOutput(kLevelMinus10), 2000, ": -10V cal, set"},
    {Calibrate(kLevelMinus10), 2000, ": -10V cal, store"},
    {kStore, 2000, ": store all values"},
}};

}  // namespace

AutoStep AutoStepAt(int step) {
    if (step == 1)
        return {0, 1000, ": starting calibration"};
    if (step == 2)
        return {kLoadDefaults, 1000, ": load default values"};
    if (step >= 3 && step <= 15)
        return kMeasureAndCalculate[static_cast<std::size_t>(step - 3)];
    if (step >= 16 && step <= 28) {
        AutoStep repeat = kMeasureAndCalculate[static_cast<std::size_t>(step - 16)];
        repeat.delayMs = 2000;
        return repeat;
    }
    if (step >= 29 && step <= kAutoLastStep)
        return kZeroAndStore[static_cast<std::size_t>(step - 29)];
    return {};
}

}  // namespace orv
