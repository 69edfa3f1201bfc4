#pragma once
// From the instrument's registers to a frame: what the generator drives, and the two
// channels' accumulated ADC counts for the steady-state waveform, with a little noise.

#include <cstdint>
#include <vector>

#include "link/protocol.h"
#include "link/sim/circuit.h"
#include "link/sim/hardware.h"

namespace orv::sim {

// The instrument's register file: 15-bit register numbers, 32-bit values as received.
inline constexpr int kSimRegisterCount = 32768;
using RegisterFile = std::vector<std::uint32_t>;

// A signed 16-bit DAC code as the firmware rebuilds it from a register. The host splits
// a value into bytes by truncating division (link/protocol.h): a negative code arrives
// with its upper 16 bits clear and 256 above its two's-complement form unless its low
// byte is 0, and the firmware takes that back. A full two's-complement value is taken
// as it is. Codes between -256 and 0 cannot be told from small positive ones.
std::int16_t DacCodeFromRegister(std::uint32_t value);

// What the generator puts out for these register values, within what the hardware can
// do. Registers still at 0 after power-on mean the instrument's own defaults (10 kohm,
// 50 Hz). With the calibration
// output bit set the output is the DC level of register 3, for a meter to measure.
// `hasDcBias`: only the large family has the DC bias generator.
Drive DriveFromRegisters(const RegisterFile& registers, const HardwareConstants& hardware,
                         bool hasDcBias);

// Readings summed into each sample: accumulation factors A x B, each at least 1, and
// never more than the instrument can sum.
int ReadingsPerSample(const RegisterFile& registers);

// A small deterministic source of noise.
struct NoiseSource {
    std::uint64_t state = 0x9E3779B97F4A7C15ull;
};
double Uniform(NoiseSource& noise);   // in (0, 1]
double Gaussian(NoiseSource& noise);  // mean 0, deviation 1

struct FrameHeader {
    std::uint16_t sequence = 0;  // word 0, which the program does not use
    std::uint16_t buttons = 0;
};

// The frame for one period of `waveform`: channel A the source, channel B the pin, in
// counts summed over `readings` readings each, clipped to the ADC's range reading by
// reading; the rail and the buttons in the header.
void SynthesizeFrame(const Waveform& waveform, const HardwareConstants& hardware, int readings,
                     const FrameHeader& header, NoiseSource& noise, RawFrame& frame);

}  // namespace orv::sim
