#include "link/calibration.h"

#include <cstdio>
#include <string>

#include "core/files.h"
#include "core/settings.h"
#include "link/generator_tables.h"

namespace orv {

namespace {

std::string SixDecimals(float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", static_cast<double>(value));
    return text;
}

// ADC gains are volts per count. The DC bias gain is DAC codes per volt: the +-10 V
// span of a 16-bit DAC allows up to 65535 / 20, and the usual instrument has about
// 1291, which a limit of 100 would throw away.
constexpr float kAdcGainMax = 100.0f;
constexpr float kDcBiasGainMax = 65535.0f / 20.0f;

bool GainValid(float gain, float max) {
    return gain > 0.0f && gain <= max;
}

// Volts per count and the offset in counts from the readings at +10 V and -10 V. Equal
// readings give no slope: the gain is left 0, which the validation turns into the
// defaults, so an uncalibrated instrument never scales by the previous instrument's.
void DeriveAdc(std::int64_t at10, std::int64_t atMinus10, float& gain, float& offset) {
    if (at10 == atMinus10) {
        gain = 0.0f;
        offset = 0.0f;
        return;
    }
    gain = static_cast<float>(20.0 / static_cast<double>(at10 - atMinus10));
    if (gain != 0.0f) {
        offset =
            static_cast<float>(-10.0 / static_cast<double>(gain) - static_cast<double>(atMinus10));
    }
}

void ValidateGain(EventLog& log, std::string_view name, float max, float& gain, float& offset) {
    if (GainValid(gain, max))
        return;
    WriteLogLine(log, "Warning: " + std::string(name) + " gain invalid: " + SixDecimals(gain) +
                          " - resetting to defaults");
    gain = 1.0f;
    offset = 0.0f;
}

}  // namespace

void ReadInstrumentEeprom(Link& link, EventLog& log) {
    if (!link.state.Connected || link.driver == nullptr)
        return;
    for (int address = 0; address < kEepromImageWords; ++address) {
        std::uint16_t word = 0;
        const UsbStatus status = link.driver->ReadEE(static_cast<std::uint32_t>(address), word);
        if (status != kUsbOk) {
            WriteLogLine(log, "FT_ReadEE failed at address " + std::to_string(address) +
                                  " ftStatus=" + std::to_string(status));
            return;
        }
        link.state.eeprom[static_cast<size_t>(address)] = word;
    }
}

bool ReadCalibrationText(Link& link, std::string_view fileName) {
    if (!link.state.Connected || link.driver == nullptr)
        return false;
    CalibrationArea area{};
    for (int i = 0; i < kCalibrationWords; ++i) {
        // A failed word reads as 0 and so drops out of the text.
        std::uint16_t word = 0;
        link.driver->ReadEE(static_cast<std::uint32_t>(kCalibrationFirstWord + i), word);
        area[static_cast<size_t>(i)] = word;
    }
    const std::string text = UnpackCalibrationText(area);
    return ReplaceFile(fileName, std::string(fileName) + ".tmp", text) == ReplaceResult::Replaced;
}

void WriteCalibrationText(Link& link, std::string_view fileName) {
    if (!link.state.Connected || link.driver == nullptr)
        return;
    const std::optional<std::string> text = ReadWholeFile(fileName);
    if (!text)
        return;
    const CalibrationArea area = PackCalibrationText(*text);
    for (int i = 0; i < kCalibrationWords; ++i) {
        link.driver->WriteEE(static_cast<std::uint32_t>(kCalibrationFirstWord + i),
                             area[static_cast<size_t>(i)]);
    }
}

CalibrationPoints ReadCalibrationPoints(std::string_view fileName) {
    auto value = [&](std::string_view key) {
        return ParseSettingNumber(FindSettingValue(fileName, key));
    };
    CalibrationPoints points;
    points.dac10 = value("DAC@10V");
    points.dac1 = value("DAC@1V");
    points.dac0 = value("DAC@0V");
    points.dacMinus1 = value("DAC@-1V");
    points.dacMinus10 = value("DAC@-10V");
    points.adc0At10 = value("ADC0@10V");
    points.adc0At0 = value("ADC0@0V");
    points.adc0AtMinus10 = value("ADC0@-10V");
    points.adc1At10 = value("ADC1@10V");
    points.adc1At0 = value("ADC1@0V");
    points.adc1AtMinus10 = value("ADC1@-10V");
    points.dcBias10 = value("DCBIAS@10V");
    points.dcBiasMinus10 = value("DCBIAS@-10V");
    return points;
}

void DeriveCalibration(const CalibrationPoints& points, Calibration& calibration, EventLog& log) {
    const double span1 = static_cast<double>(points.dac1 - points.dacMinus1);
    const double span10 = static_cast<double>(points.dac10 - points.dacMinus10);
    for (size_t i = 0; i < kPeakVoltageSteps.size(); ++i) {
        const PeakVoltageStep& step = kPeakVoltageSteps[i];
        calibration.AmplitudeCodes[i] =
            RoundToInstrument(step.shareOfSpan * (step.highRange ? span10 : span1));
    }
    calibration.AmplitudeZeroCode = points.dac0;

    DeriveAdc(points.adc0At10, points.adc0AtMinus10, calibration.Adc0Gain, calibration.Adc0Offset);
    DeriveAdc(points.adc1At10, points.adc1AtMinus10, calibration.Adc1Gain, calibration.Adc1Offset);

    const double biasSpan = static_cast<double>(points.dcBias10 - points.dcBiasMinus10);
    calibration.DcBiasGain = static_cast<float>(biasSpan / 20.0);
    calibration.DcBiasOffset =
        static_cast<float>(biasSpan / 2.0 + static_cast<double>(points.dcBiasMinus10));

    ValidateGain(log, "ADC0", kAdcGainMax, calibration.Adc0Gain, calibration.Adc0Offset);
    ValidateGain(log, "ADC1", kAdcGainMax, calibration.Adc1Gain, calibration.Adc1Offset);
    ValidateGain(log, "DCBIAS", kDcBiasGainMax, calibration.DcBiasGain, calibration.DcBiasOffset);
    WriteLogLine(log, "Calibration loaded: ADC0_gain=" + SixDecimals(calibration.Adc0Gain) +
                          " ADC1_gain=" + SixDecimals(calibration.Adc1Gain) +
                          " DCBIAS_gain=" + SixDecimals(calibration.DcBiasGain));
}

void LoadCalibration(Link& link, EventLog& log) {
    if (!link.state.Connected)
        return;
    const CalibrationPoints points = ReadCalibrationText(link, kCalibrationFileName)
                                         ? ReadCalibrationPoints(kCalibrationFileName)
                                         : CalibrationPoints{};
    DeriveCalibration(points, link.calibration, log);
}

}  // namespace orv
