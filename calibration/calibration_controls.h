#pragma once
// The calibration window's number and its control numbers, inside the range that the
// program's table of numbers (ui/control_numbers.h) keeps free for it.

#include <array>

#include "ui/control_numbers.h"

namespace orv::calibration {

inline constexpr int kWindow = kCalibrationWindow;
inline constexpr int kFirstNumber = kCalibrationFirstControl;
inline constexpr int kLastNumber = kCalibrationLastControl;

inline constexpr int kConnectText = 4001;
inline constexpr int kDcBiasConnectText = 4002;
inline constexpr int kStoreText = 4003;
inline constexpr int kStore = 4004;

// The seven blocks: +10 V, +1 V, 0 V, -1 V, -10 V, then the DC bias +10 V and -10 V.
// Each has twelve numbers from its base: the step text, "Set output", the adjust text,
// the six adjust buttons, the calibrate text and the "Calibrate" button.
inline constexpr int kBlockCount = 7;
inline constexpr int kLevelBlockCount = 5;
inline constexpr int kBlockFirst = 4010;
inline constexpr int kBlockStride = 12;
inline constexpr int kBlockStepText = 0;
inline constexpr int kBlockSetOutput = 1;
inline constexpr int kBlockAdjustText = 2;
inline constexpr int kBlockFirstAdjust = 3;  // six buttons, 3..8
inline constexpr int kBlockCalibrateText = 9;
inline constexpr int kBlockCalibrate = 10;
constexpr int BlockControl(int block, int part) {
    return kBlockFirst + block * kBlockStride + part;
}

// The "Factory/Debug only" panel.
inline constexpr int kPanel = 4110;
inline constexpr int kPanelHeader = 4111;
inline constexpr int kLoadDefaults = 4112;
inline constexpr int kDacLabel = 4113;
inline constexpr int kDacLive = 4114;  // then +10 V, +1 V, 0 V, -1 V, -10 V
inline constexpr std::array<int, 5> kDacFields = {4115, 4116, 4117, 4118, 4119};
inline constexpr int kDcBiasLabel = 4120;
inline constexpr std::array<int, 2> kDcBiasFields = {4121, 4122};  // +10 V, -10 V
inline constexpr int kAdc0Label = 4123;
inline constexpr int kAdc0Live = 4124;
inline constexpr std::array<int, 3> kAdc0Fields = {4125, 4126, 4127};  // +10 V, 0 V, -10 V
inline constexpr int kAdc1Label = 4128;
inline constexpr int kAdc1Live = 4129;
inline constexpr std::array<int, 3> kAdc1Fields = {4130, 4131, 4132};
inline constexpr int kDmmLabel = 4133;
inline constexpr int kDmmAddress = 4134;
inline constexpr int kDmmConnect = 4135;
inline constexpr int kDmmRange = 4136;
inline constexpr int kDmmMeasure = 4137;
inline constexpr int kDmmReadingField = 4138;
inline constexpr int kGo = 4139;
inline constexpr int kStatus = 4140;
inline constexpr int kCountdown = 4141;

// Buttons no one can press: what the automatic run presses besides the real ones.
inline constexpr int kPseudoReadDmm = 4190;
inline constexpr std::array<int, 5> kPseudoStoreResult = {4191, 4192, 0, 4193, 4194};  // by level
inline constexpr int kPseudoCalculate = 4195;
inline constexpr int kPseudoZeroingPass = 4196;

// Every number outside the blocks, for the clash check below.
inline constexpr std::array<int, 43> kFixedNumbers = {kConnectText,
                                                      kDcBiasConnectText,
                                                      kStoreText,
                                                      kStore,
                                                      kPanel,
                                                      kPanelHeader,
                                                      kLoadDefaults,
                                                      kDacLabel,
                                                      kDacLive,
                                                      kDacFields[0],
                                                      kDacFields[1],
                                                      kDacFields[2],
                                                      kDacFields[3],
                                                      kDacFields[4],
                                                      kDcBiasLabel,
                                                      kDcBiasFields[0],
                                                      kDcBiasFields[1],
                                                      kAdc0Label,
                                                      kAdc0Live,
                                                      kAdc0Fields[0],
                                                      kAdc0Fields[1],
                                                      kAdc0Fields[2],
                                                      kAdc1Label,
                                                      kAdc1Live,
                                                      kAdc1Fields[0],
                                                      kAdc1Fields[1],
                                                      kAdc1Fields[2],
                                                      kDmmLabel,
                                                      kDmmAddress,
                                                      kDmmConnect,
                                                      kDmmRange,
                                                      kDmmMeasure,
                                                      kDmmReadingField,
                                                      kGo,
                                                      kStatus,
                                                      kCountdown,
                                                      kPseudoReadDmm,
                                                      kPseudoStoreResult[0],
                                                      kPseudoStoreResult[1],
                                                      kPseudoStoreResult[3],
                                                      kPseudoStoreResult[4],
                                                      kPseudoCalculate,
                                                      kPseudoZeroingPass};

constexpr bool InBlocks(int number) {
    return number >= kBlockFirst && number < kBlockFirst + kBlockCount * kBlockStride;
}

// Every number within the range, none inside the blocks' run, no two alike.
constexpr bool NumbersClear() {
    if (kBlockFirst < kFirstNumber || kBlockFirst + kBlockCount * kBlockStride > kLastNumber)
        return false;
    for (std::size_t i = 0; i < kFixedNumbers.size(); ++i) {
        const int a = kFixedNumbers[i];
        if (a < kFirstNumber || a > kLastNumber || InBlocks(a))
            return false;
        for (std::size_t j = i + 1; j < kFixedNumbers.size(); ++j) {
            if (kFixedNumbers[j] == a)
                return false;
        }
    }
    return true;
}
static_assert(NumbersClear(), "calibration control numbers clash");

}  // namespace orv::calibration
