#pragma once
// The calibration's numbers and texts without a window: the DAC codes, the multimeter
// readings taken at them, the calculation of new codes from two lines through them, the
// zeroing step, and the text of "ORV_cal.txt".

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/clock.h"

namespace orv {

// The five output levels, in window order.
enum Level { kLevelPlus10, kLevelPlus1, kLevelZero, kLevelMinus1, kLevelMinus10 };
inline constexpr int kLevelCount = 5;

struct DacCodeSet {
    std::array<std::int64_t, kLevelCount> dac{};  // by Level
    std::int64_t dcBias10 = 0;
    std::int64_t dcBiasMinus10 = 0;
};

inline constexpr DacCodeSet kDefaultDacCodes = {{28945, 29550, 1110, -27575, -27015}, 29198, 3367};

struct MeasurementPair {
    std::int64_t code = 0;
    double reading = 0.0;  // volts
};
using Measurements = std::array<MeasurementPair, kLevelCount>;  // by Level

// New +10 V, +1 V, 0 V, -1 V and -10 V codes from the lines through the +-10 V and the
// +-1 V pairs. Refused, with the codes left as they were and the reason in `refusal`,
// when a line has no slope (equal or non-finite readings) or a code would fall outside
// the 16-bit DAC.
bool CalculateValues(const Measurements& pairs, DacCodeSet& codes, std::string& refusal);

// How much one zeroing pass moves the 0 V code for a reading of `volts`.
int ZeroingAdjustment(double volts);

// Ten decimals, then trailing zeros and a trailing point removed: 0.5, 10, -0.0012.
std::string ReadingText(double value);

// "09/Dec/2026@14:05:31"
std::string CalibrationDateText(const LocalDateTime& t);

// What "Store Calibration Values" writes: the texts of the window's fields as they
// stand, in key order, CR LF after each line.
struct CalibrationFields {
    std::array<std::string, kLevelCount> dac;  // by Level
    std::array<std::string, 3> adc0;           // +10 V, 0 V, -10 V
    std::array<std::string, 3> adc1;
    std::array<std::string, 2> dcBias;  // +10 V, -10 V; written for the large family only
};
// The instrument's own values of those keys, from its calibration file.
CalibrationFields ReadCalibrationFields(std::string_view fileName);
// Each field that is not a whole number takes the instrument's value.
void KeepInstrumentValues(CalibrationFields& fields, const CalibrationFields& instrument);
std::string CalibrationFileText(const CalibrationFields& fields, const LocalDateTime& when,
                                const std::array<float, 8>& sourceResistances, bool largeFamily);

}  // namespace orv
