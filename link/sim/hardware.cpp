#include "link/sim/hardware.h"

#include <cmath>

#include "link/protocol.h"

namespace orv::sim {

namespace {

long Rounded(double value) {
    return std::lround(value);
}

void AppendPoint(std::string& text, std::string_view key, long value) {
    text += key;
    text += '=';
    text += std::to_string(value);
    text += "\r\n";
}

void WriteText(EepromWords& eeprom, int first, int words, std::string_view text) {
    for (int i = 0; i < words; ++i) {
        const char c = static_cast<size_t>(i) < text.size() ? text[static_cast<size_t>(i)] : ' ';
        eeprom[static_cast<size_t>(first + i)] =
            static_cast<std::uint16_t>(static_cast<unsigned char>(c));
    }
}

}  // namespace

std::string FactoryCalibrationText(const HardwareConstants& h) {
    std::string text = "Calibration date=01/Jan/2026@09:00:00\r\n";
    AppendPoint(text, "DAC@10V", Rounded(h.dacZeroCode + 10.0 * h.dacCodesPerVoltHigh));
    AppendPoint(text, "DAC@1V", Rounded(h.dacZeroCode + h.dacCodesPerVoltLow));
    AppendPoint(text, "DAC@0V", h.dacZeroCode);
    AppendPoint(text, "DAC@-1V", Rounded(h.dacZeroCode - h.dacCodesPerVoltLow));
    AppendPoint(text, "DAC@-10V", Rounded(h.dacZeroCode - 10.0 * h.dacCodesPerVoltHigh));
    AppendPoint(text, "ADC0@10V", Rounded(h.adc0ZeroCount + 10.0 * h.adc0CountsPerVolt));
    AppendPoint(text, "ADC0@0V", Rounded(h.adc0ZeroCount));
    AppendPoint(text, "ADC0@-10V", Rounded(h.adc0ZeroCount - 10.0 * h.adc0CountsPerVolt));
    AppendPoint(text, "ADC1@10V", Rounded(h.adc1ZeroCount + 10.0 * h.adc1CountsPerVolt));
    AppendPoint(text, "ADC1@0V", Rounded(h.adc1ZeroCount));
    AppendPoint(text, "ADC1@-10V", Rounded(h.adc1ZeroCount - 10.0 * h.adc1CountsPerVolt));
    AppendPoint(text, "DCBIAS@10V", Rounded(h.dcBiasZeroCode + 10.0 * h.dcBiasCodesPerVolt));
    AppendPoint(text, "DCBIAS@-10V", Rounded(h.dcBiasZeroCode - 10.0 * h.dcBiasCodesPerVolt));
    return text;
}

EepromWords FactoryEeprom(std::string_view model, const HardwareConstants& hardware) {
    EepromWords eeprom{};
    // The converter's own configuration words: its vendor and product ids.
    eeprom[1] = 0x0403;
    eeprom[2] = 0x6015;
    WriteIdentityTexts(eeprom, "Korvane", "Korvane " + std::string(model));
    const CalibrationArea area = PackCalibrationText(FactoryCalibrationText(hardware));
    for (int i = 0; i < kCalibrationWords; ++i) {
        eeprom[static_cast<size_t>(kCalibrationFirstWord + i)] = area[static_cast<size_t>(i)];
    }
    return eeprom;
}

void WriteIdentityTexts(EepromWords& eeprom, std::string_view maker, std::string_view product) {
    WriteText(eeprom, kMakerTextFirstWord, kMakerTextWords, maker);
    WriteText(eeprom, kProductTextFirstWord, kProductTextWords, product);
}

}  // namespace orv::sim
