#include "calibration/calibration_values.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "core/settings.h"

namespace orv {

namespace {

constexpr double kCodeMin = std::numeric_limits<std::int16_t>::min();
constexpr double kCodeMax = std::numeric_limits<std::int16_t>::max();

constexpr const char* kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr const char* kResistanceKeys[8] = {"50ohm", "100ohm", "200ohm", "500ohm",
                                            "1Kohm", "2Kohm",  "5Kohm",  "10Kohm"};

struct Line {
    double slope = 0.0;   // codes per volt
    double offset = 0.0;  // code of 0 V
};

// The line through two pairs, or a reason why there is none.
bool LineThrough(const MeasurementPair& high, const MeasurementPair& low, const char* name,
                 Line& line, std::string& refusal) {
    if (!std::isfinite(high.reading) || !std::isfinite(low.reading)) {
        refusal = std::string("the readings at ") + name + " are not numbers";
        return false;
    }
    if (high.reading == low.reading) {
        refusal = std::string("the readings at ") + name + " are equal";
        return false;
    }
    line.slope = static_cast<double>(high.code - low.code) / (high.reading - low.reading);
    line.offset = static_cast<double>(high.code) - high.reading * line.slope;
    return true;
}

bool CodeAt(double value, std::int64_t& code) {
    const double rounded = std::round(value);
    if (!std::isfinite(rounded) || rounded < kCodeMin || rounded > kCodeMax)
        return false;
    code = static_cast<std::int64_t>(rounded);
    return true;
}

}  // namespace

bool CalculateValues(const Measurements& pairs, DacCodeSet& codes, std::string& refusal) {
    Line ten, one;
    if (!LineThrough(pairs[kLevelPlus10], pairs[kLevelMinus10], "+10V and -10V", ten, refusal) ||
        !LineThrough(pairs[kLevelPlus1], pairs[kLevelMinus1], "+1V and -1V", one, refusal)) {
        return false;
    }
    std::array<std::int64_t, kLevelCount> result{};
    const bool fit = CodeAt(10.0 * ten.slope + ten.offset, result[kLevelPlus10]) &&
                     CodeAt(-10.0 * ten.slope + ten.offset, result[kLevelMinus10]) &&
                     CodeAt(one.slope + one.offset, result[kLevelPlus1]) &&
                     CodeAt(-one.slope + one.offset, result[kLevelMinus1]) &&
                     CodeAt(one.offset, result[kLevelZero]);
    if (!fit) {
        refusal = "a code falls outside the DAC's range";
        return false;
    }
    codes.dac = result;
    return true;
}

int ZeroingAdjustment(double r) {
    if (r > 0.002)
        return -32;
    if (r >= 0.001)
        return -8;
    if (r >= 0.0)
        return -1;
    if (r > -0.001)
        return 1;
    if (r >= -0.002)
        return 8;
    return 32;
}

std::string ReadingText(double value) {
    char text[400];
    std::snprintf(text, sizeof text, "%.10f", value);
    std::string result = text;
    if (result.find('.') != std::string::npos) {
        while (result.back() == '0')
            result.pop_back();
        if (result.back() == '.')
            result.pop_back();
    }
    return result == "-0" ? "0" : result;
}

std::string CalibrationDateText(const LocalDateTime& t) {
    char text[64];
    const int month = t.month >= 1 && t.month <= 12 ? t.month - 1 : 0;
    std::snprintf(text, sizeof text, "%02d/%s/%04d@%02d:%02d:%02d", t.day, kMonths[month], t.year,
                  t.hour, t.minute, t.second);
    return text;
}

namespace {

bool IsWholeNumber(const std::string& text) {
    std::size_t i = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (i >= text.size())
        return false;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
    }
    return true;
}

template <std::size_t N>
void KeepNumbers(std::array<std::string, N>& fields, const std::array<std::string, N>& kept) {
    for (std::size_t i = 0; i < N; ++i) {
        if (!IsWholeNumber(fields[i]))
            fields[i] = kept[i];
    }
}

}  // namespace

CalibrationFields ReadCalibrationFields(std::string_view fileName) {
    const auto value = [&](std::string_view key) {
        return std::to_string(ParseSettingNumber(FindSettingValue(fileName, key)));
    };
    CalibrationFields f;
    f.dac = {value("DAC@10V"), value("DAC@1V"), value("DAC@0V"), value("DAC@-1V"),
             value("DAC@-10V")};
    f.adc0 = {value("ADC0@10V"), value("ADC0@0V"), value("ADC0@-10V")};
    f.adc1 = {value("ADC1@10V"), value("ADC1@0V"), value("ADC1@-10V")};
    f.dcBias = {value("DCBIAS@10V"), value("DCBIAS@-10V")};
    return f;
}

void KeepInstrumentValues(CalibrationFields& fields, const CalibrationFields& instrument) {
    KeepNumbers(fields.dac, instrument.dac);
    KeepNumbers(fields.adc0, instrument.adc0);
    KeepNumbers(fields.adc1, instrument.adc1);
    KeepNumbers(fields.dcBias, instrument.dcBias);
}

std::string CalibrationFileText(const CalibrationFields& f, const LocalDateTime& when,
                                const std::array<float, 8>& sourceResistances, bool largeFamily) {
    std::string text;
    const auto line = [&](const std::string& key, const std::string& value) {
        text += key + "=" + value + "\r\n";
    };
    line("Calibration date", CalibrationDateText(when));
    line("DAC@10V", f.dac[kLevelPlus10]);
    line("DAC@1V", f.dac[kLevelPlus1]);
    line("DAC@0V", f.dac[kLevelZero]);
    line("DAC@-1V", f.dac[kLevelMinus1]);
    line("DAC@-10V", f.dac[kLevelMinus10]);
    line("ADC0@10V", f.adc0[0]);
    line("ADC0@0V", f.adc0[1]);
    line("ADC0@-10V", f.adc0[2]);
    line("ADC1@10V", f.adc1[0]);
    line("ADC1@0V", f.adc1[1]);
    line("ADC1@-10V", f.adc1[2]);
    for (std::size_t i = 0; i < sourceResistances.size(); ++i) {
        // Whole ohms, halves to even; an unusable entry is written as 0.
        const double ohms = std::nearbyint(static_cast<double>(sourceResistances[i]));
        line(kResistanceKeys[i], std::isfinite(ohms) && std::fabs(ohms) < 1e15
                                     ? std::to_string(static_cast<long long>(ohms))
                                     : std::string("0"));
    }
    if (largeFamily) {
        line("DCBIAS@10V", f.dcBias[0]);
        line("DCBIAS@-10V", f.dcBias[1]);
    }
    return text;
}

}  // namespace orv
