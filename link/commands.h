#pragma once
// Commands to the instrument: register writes, the poll packet and the burst that sets
// the signal generator. Everything is written into the register image first; ranges of
// it are then sent as 8-byte packets, under the link mutex.

#include <string_view>

#include "core/app_state.h"
#include "link/link_state.h"

namespace orv {

// Registers first..first+count-1 of the image, one packet each, in one driver write.
// Nothing is sent while the link is down or when the status query fails.
void WriteRegisters(Link& link, int first, int count);

void SendPoll(Link& link);

// The generator burst: peak voltage, source resistance and frequency from
// `GeneratorApplied`; scanner, DC mode and DC level from `GeneratorRequest`. Does
// nothing at all while the link is down.
void SendGeneratorSettings(Link& link, const AppState& app);

// `EffectiveResistance` from a nominal source resistance: its entry of the resistance
// table, rounded to whole ohms, when the value is one the model offers and the entry
// is a usable resistance; else unchanged.
void ApplyEffectiveResistance(GeneratorState& generator, std::string_view model, float nominalOhms);

// Register numbers the program writes.
inline constexpr int kRegControl = 1;
inline constexpr int kRegCalibrationLevel = 3;
inline constexpr int kRegAmplitude = 4;
inline constexpr int kRegAmplitudeZero = 5;
inline constexpr int kRegPeakMillivolts = 6;
inline constexpr int kRegSourceOhms = 8;
inline constexpr int kRegPointCount = 10;
inline constexpr int kRegAccumulateA = 11;
inline constexpr int kRegAccumulateB = 12;
inline constexpr int kRegFrequency = 14;
inline constexpr int kRegScanSig = 16;
inline constexpr int kRegScanCom = 17;
inline constexpr int kRegDcLevel = 20;
inline constexpr int kRegDcZero = 21;
inline constexpr int kRegDcMode = 22;
inline constexpr int kRegFixedFive = 23;

// Bits of the control register.
// Set by the connection; the calibration window writes its output settings over it and
// the instrument streams on.
inline constexpr int kControlStream = 2;
inline constexpr int kControlClearOnBurst = 4 | 8;
inline constexpr int kControlCalibrationOutput = 16;
inline constexpr int kControlHighRange = 32;

// The transmit buffer holds this many packets.
inline constexpr int kTransmitBufferBytes = 16384;

}  // namespace orv
