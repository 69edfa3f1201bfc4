#include "link/sim/frame_synthesis.h"

#include <algorithm>
#include <cmath>

#include "link/commands.h"

namespace orv::sim {

namespace {

constexpr double kAdcMaxCount = 65535.0;
constexpr double kDefaultSourceOhms = 10000.0;
constexpr double kDefaultFrequencyHz = 50.0;
constexpr std::uint32_t kDcModeDc = 2;  // modes 2..5 drive the DC level
// What the hardware can do at all, whatever the registers say: a 16-bit amplitude DAC,
// outputs within the +-12 V rails, the generator's frequency range, its resistor bank,
// and at most 1000 readings summed into one sample.
constexpr std::uint32_t kAmplitudeCodeMax = 65535;
constexpr double kRailVolts = 12.0;
constexpr double kFrequencyMinHz = 1.0;
constexpr double kFrequencyMaxHz = 10000.0;
constexpr double kSourceOhmsMin = 10.0;
constexpr double kSourceOhmsMax = 1.0e6;
constexpr int kReadingsMax = 1000;

std::int32_t Signed32(std::uint32_t value) {
    return static_cast<std::int32_t>(value);
}

double Counts(double volts, double zero, double perVolt) {
    return std::clamp(zero + volts * perVolt, 0.0, kAdcMaxCount);
}

std::int32_t Accumulated(double countPerReading, int readings, double noiseRms,
                         NoiseSource& noise) {
    const double sum = countPerReading * readings +
                       Gaussian(noise) * noiseRms * std::sqrt(static_cast<double>(readings));
    return static_cast<std::int32_t>(std::lround(std::max(0.0, sum)));
}

}  // namespace

std::int16_t DacCodeFromRegister(std::uint32_t value) {
    const auto code = static_cast<std::int16_t>(value & 0xFFFF);
    const bool truncatingSplit = (value >> 16) == 0;
    return truncatingSplit && code < 0 && (code & 0xFF) != 0 ? static_cast<std::int16_t>(code - 256)
                                                             : code;
}

Drive DriveFromRegisters(const RegisterFile& reg, const HardwareConstants& h, bool hasDcBias) {
    const std::uint32_t control = reg[kRegControl];
    const double perVolt =
        (control & kControlHighRange) != 0 ? h.dacCodesPerVoltHigh : h.dacCodesPerVoltLow;
    Drive drive;
    drive.sourceOhms = reg[kRegSourceOhms] > 0
                           ? std::clamp<double>(reg[kRegSourceOhms], kSourceOhmsMin, kSourceOhmsMax)
                           : kDefaultSourceOhms;
    drive.frequencyHz =
        reg[kRegFrequency] > 0
            ? std::clamp<double>(reg[kRegFrequency], kFrequencyMinHz, kFrequencyMaxHz)
            : kDefaultFrequencyHz;
    if ((control & kControlCalibrationOutput) != 0) {
        drive.peakVolts = 0.0;
        drive.dcVolts =
            std::clamp((DacCodeFromRegister(reg[kRegCalibrationLevel]) - h.dacZeroCode) / perVolt,
                       -kRailVolts, kRailVolts);
        return drive;
    }
    const std::uint32_t amplitude = std::min(reg[kRegAmplitude], kAmplitudeCodeMax);
    drive.peakVolts = std::min(amplitude / 2.0 / perVolt, kRailVolts);
    double dc = (DacCodeFromRegister(reg[kRegAmplitudeZero]) - h.dacZeroCode) / perVolt;
    if (hasDcBias && reg[kRegDcMode] >= kDcModeDc && reg[kRegDcMode] <= 5) {
        dc += (Signed32(reg[kRegDcLevel]) - h.dcBiasZeroCode) / h.dcBiasCodesPerVolt;
    }
    drive.dcVolts = std::clamp(dc, -kRailVolts, kRailVolts);
    return drive;
}

int ReadingsPerSample(const RegisterFile& reg) {
    const auto factor = [](std::uint32_t value) {
        return static_cast<int>(std::clamp<std::uint32_t>(value, 1, kReadingsMax));
    };
    return std::min(factor(reg[kRegAccumulateA]) * factor(reg[kRegAccumulateB]), kReadingsMax);
}

double Uniform(NoiseSource& noise) {
    // xorshift64*, then the top 53 bits as a fraction.
    noise.state ^= noise.state >> 12;
    noise.state ^= noise.state << 25;
    noise.state ^= noise.state >> 27;
    const std::uint64_t bits = (noise.state * 0x2545F4914F6CDD1Dull) >> 11;
    return (static_cast<double>(bits) + 1.0) / 9007199254740992.0;
}

double Gaussian(NoiseSource& noise) {
    const double u1 = Uniform(noise);
    const double u2 = Uniform(noise);
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * 3.14159265358979323846 * u2);
}

void SynthesizeFrame(const Waveform& waveform, const HardwareConstants& h, int readings,
                     const FrameHeader& header, NoiseSource& noise, RawFrame& frame) {
    frame.FrameWord0 = header.sequence;
    const double rail = h.railVolts / h.railVoltsPerCount + Gaussian(noise) * 0.5;
    frame.RailRaw = static_cast<std::uint16_t>(std::lround(std::clamp(rail, 0.0, kAdcMaxCount)));
    frame.InstrumentStatus = header.buttons;
    for (int k = 1; k <= kFrameSamples; ++k) {
        const size_t sample = static_cast<size_t>(k - 1);
        frame.channelA[static_cast<size_t>(k)] =
            Accumulated(Counts(waveform.source[sample], h.adc0ZeroCount, h.adc0CountsPerVolt),
                        readings, h.noiseCountsPerReading, noise);
        frame.channelB[static_cast<size_t>(k)] =
            Accumulated(Counts(waveform.pin[sample], h.adc1ZeroCount, h.adc1CountsPerVolt),
                        readings, h.noiseCountsPerReading, noise);
    }
}

}  // namespace orv::sim
