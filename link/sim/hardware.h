#pragma once
// The simulated instrument's analog hardware as it really is: the constants a factory
// calibration measures. The calibration text in its EEPROM is made from them, so a
// program that loads it shows the volts and amperes of the circuit under the probe.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace orv::sim {

struct HardwareConstants {
    // Amplitude DAC, signed 16-bit codes. The amplitude register holds the sine's
    // peak-to-peak size in codes; the zero register its centre.
    int dacZeroCode = 1113;
    double dacCodesPerVoltLow = 28562.0;  // output range bit clear
    double dacCodesPerVoltHigh = 2798.0;  // output range bit set
    // ADCs, 16-bit unsigned: count = zero + volts * countsPerVolt. ADC0 reads the
    // generator before its source resistor, ADC1 the probed pin.
    double adc0ZeroCount = 32754.0;
    double adc0CountsPerVolt = 2990.6;
    double adc1ZeroCount = 32781.0;
    double adc1CountsPerVolt = 3003.7;
    // DC bias DAC.
    double dcBiasZeroCode = 1024.0;
    double dcBiasCodesPerVolt = 51.2;
    double railVolts = 5.02;  // the USB supply as the instrument measures it
    double railVoltsPerCount = 0.0016121270600706339;
    double noiseCountsPerReading = 1.2;  // rms, each single ADC reading
};

inline constexpr int kEepromSize = 1024;
using EepromWords = std::array<std::uint16_t, kEepromSize>;

// "Calibration date=...", then the DAC, ADC and DC bias points of a factory
// calibration of this hardware, CR LF after each line.
std::string FactoryCalibrationText(const HardwareConstants& hardware);

// The EEPROM as it leaves the factory: converter configuration, the maker text
// "Korvane", the product text "Korvane " + model, and the calibration text.
EepromWords FactoryEeprom(std::string_view model, const HardwareConstants& hardware);

// Maker text at words 81..94, product text at words 95..119, one character per word;
// shorter texts are padded with blanks, longer ones cut.
void WriteIdentityTexts(EepromWords& eeprom, std::string_view maker, std::string_view product);

}  // namespace orv::sim
