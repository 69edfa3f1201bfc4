#pragma once
// The values the signal generator can take, with the texts the controls offer them as,
// and what each means for the registers and the receiver.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "link/link_state.h"

namespace orv {

struct PeakVoltageStep {
    int millivolts;
    std::string_view label;  // empty: not offered (the start value only)
    double shareOfSpan;      // of DAC@1V - DAC@-1V, or of DAC@10V - DAC@-10V on the high range
    bool highRange;          // bit 5 of register 1
};

inline constexpr std::array<PeakVoltageStep, kPeakVoltageStepCount> kPeakVoltageSteps = {{
    {0, "", 0.0, false},
    {200, "Voltage: 0.2Vpk", 0.2, false},
    {400, "Voltage: 0.4Vpk", 0.4, false},
    {600, "Voltage: 0.6Vpk", 0.6, false},
    {800, "Voltage: 0.8Vpk", 0.8, false},
    {1000, "Voltage: 1Vpk", 1.0, false},
    {2000, "Voltage: 2Vpk", 0.2, true},
    {3000, "Voltage: 3Vpk", 0.3, true},
    {4000, "Voltage: 4Vpk", 0.4, true},
    {5000, "Voltage: 5Vpk", 0.5, true},
    {10000, "Voltage: 10Vpk", 1.0, true},
}};

// Index into kPeakVoltageSteps, or -1 for a voltage that is not a step.
int PeakVoltageStepIndex(std::int64_t millivolts);

struct ResistanceStep {
    int ohms;
    std::string_view label;
};

inline constexpr std::array<ResistanceStep, 3> kSmallFamilyResistances = {{
    {10000, "Resistance: 10K ohms"},
    {1000, "Resistance: 1K ohms"},
    {100, "Resistance: 100 ohms"},
}};

inline constexpr std::array<ResistanceStep, 8> kLargeFamilyResistances = {{
    {10000, "Resistance: 10K ohms"},
    {5000, "Resistance: 5K ohms"},
    {2000, "Resistance: 2K ohms"},
    {1000, "Resistance: 1K ohms"},
    {500, "Resistance: 500 ohms"},
    {200, "Resistance: 200 ohms"},
    {100, "Resistance: 100 ohms"},
    {50, "Resistance: 50 ohms"},
}};

// The source resistances the model offers, in the order offered.
std::span<const ResistanceStep> SourceResistancesFor(std::string_view model);

struct FrequencyStep {
    int hertz;
    std::string_view label;
    int pointCount;
    int accumulateA;
    int accumulateB;
};

inline constexpr std::array<FrequencyStep, 7> kFrequencySteps = {{
    {10, "Frequency: 10Hz", 64, 100, 1},
    {20, "Frequency: 20Hz", 64, 50, 2},
    {50, "Frequency: 50Hz", 64, 20, 4},
    {100, "Frequency: 100Hz", 64, 10, 8},
    {200, "Frequency: 200Hz", 64, 5, 16},
    {500, "Frequency: 500Hz", 64, 2, 40},
    {1000, "Frequency: 1KHz", 64, 1, 80},
}};

// The step of a frequency, or null when it is not one.
const FrequencyStep* FindFrequencyStep(std::int64_t hertz);

// Register 22, offered in this order.
inline constexpr std::array<std::string_view, 6> kDcGeneratorModes = {
    "Off (HiZ)", "Off (0V)", "DC", "Sqr-Hard", "Sqr-Soft", "Pulse"};

struct DcLevelStep {
    std::string_view label;
    float volts;
};

inline constexpr std::array<DcLevelStep, 40> kDcLevels = {{
    {"+10.00V", 10.0f}, {" +9.00V", 9.0f},   {" +8.00V", 8.0f},  {" +7.00V", 7.0f},
    {" +6.00V", 6.0f},  {" +5.00V", 5.0f},   {" +4.00V", 4.0f},  {" +3.3V", 3.3f},
    {" +3.0V", 3.0f},   {" +2.75V", 2.75f},  {" +2.50V", 2.5f},  {" +2.25V", 2.25f},
    {" +2.00V", 2.0f},  {" +1.75V", 1.75f},  {" +1.50V", 1.5f},  {" +1.25V", 1.25f},
    {" +1.00V", 1.0f},  {" +0.75V", 0.75f},  {" +0.50V", 0.5f},  {" +0.25V", 0.25f},
    {" 0V", 0.0f},      {" -0.25V", -0.25f}, {" -0.50V", -0.5f}, {" -0.75V", -0.75f},
    {" -1.00V", -1.0f}, {" -1.25V", -1.25f}, {" -1.50V", -1.5f}, {" -1.75V", -1.75f},
    {" -2.00V", -2.0f}, {" -2.25V", -2.25f}, {" -2.50V", -2.5f}, {" -2.75V", -2.75f},
    {" -3.00V", -3.0f}, {" -4.00V", -4.0f},  {" -5.00V", -5.0f}, {" -6.00V", -6.0f},
    {" -7.00V", -7.0f}, {" -8.00V", -8.0f},  {" -9.00V", -9.0f}, {" -10.00V", -10.0f},
}};

inline constexpr int kScannerChannels = 40;

// Integers sent to the instrument: nearest, halves to even.
std::int64_t RoundToInstrument(double value);

}  // namespace orv
