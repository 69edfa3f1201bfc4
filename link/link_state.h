#pragma once
// The records of the instrument link: connection state, the shared frame buffers, the
// calibration derived from the instrument, the generator's derived values and the
// register image. One `Link` holds them all for the whole run.

#include <array>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/cross_thread.h"
#include "link/link_clock.h"
#include "link/protocol.h"
#include "link/usb_driver.h"

namespace orv {

struct LinkState {
    CrossThread<bool> Connected = false;             // the device is open and configured
    CrossThread<bool> ConnectInProgress = false;     // keeps the communications thread away
    CrossThread<bool> AutoReconnectEnabled = false;  // the user wants the instrument connected
    // The link clock, cut to 32 bits, when the last good frame came (see ElapsedMs32).
    CrossThread<std::int32_t> LastGoodDataTime = 0;
    std::int64_t NextProbeTime = 0;              // communications thread only
    CrossThread<std::int64_t> LastPollTime = 0;  // both threads may poll
    bool SettingsSendPending = false;            // user-interface thread only
    // The disconnection asks the scopes to redraw without the live trace.
    CrossThread<bool> TraceRefreshRequested = false;
    EepromImage eeprom{};  // words 0..128 of the instrument's EEPROM
};

// Written by the communications thread, taken by the main cycle; under the frame mutex.
struct FrameBuffers {
    RawFrame raw;
    bool NewFrame = false;      // a good frame has come since the main cycle last looked
    std::string LinkErrorText;  // the last link error, shown once on the status line
};

// The calibration points as read from the instrument's calibration text.
struct CalibrationPoints {
    std::int64_t dac10 = 0, dac1 = 0, dac0 = 0, dacMinus1 = 0, dacMinus10 = 0;
    std::int64_t adc0At10 = 0, adc0At0 = 0, adc0AtMinus10 = 0;
    std::int64_t adc1At10 = 0, adc1At0 = 0, adc1AtMinus10 = 0;
    std::int64_t dcBias10 = 0, dcBiasMinus10 = 0;
};

inline constexpr int kPeakVoltageStepCount = 11;

struct Calibration {
    float Adc0Gain = 0;    // volts per count
    float Adc0Offset = 0;  // counts
    float Adc1Gain = 0;
    float Adc1Offset = 0;
    float DcBiasGain = 0;    // DAC codes per volt
    float DcBiasOffset = 0;  // DAC code of 0 V
    // Amplitude DAC code per peak-voltage step (see generator_tables.h), and the DAC
    // code of 0 V that goes with every step.
    std::array<std::int64_t, kPeakVoltageStepCount> AmplitudeCodes{};
    std::int64_t AmplitudeZeroCode = 0;
};

// What the generator settings derive on the host side.
struct GeneratorState {
    int SignaturePointCount = 64;
    int AccumulateA = 1;
    int AccumulateB = 1;
    int EffectiveResistance = 10000;  // ohms used to turn a voltage into a current
    // Source resistances as measured; the calibration may replace the nominal values.
    std::array<float, 8> SourceResistanceTable = kLargeFamilySourceResistances;
};

inline constexpr int kRegisterCount = 65537;

struct RegisterImage {
    // Only registers 0..31 are ever sent, and only the low 32 bits of each.
    std::vector<std::int64_t> values = std::vector<std::int64_t>(kRegisterCount);
};

struct Link {
    UsbDriver* driver = nullptr;  // owned by the Program; null means no driver library
    LinkClock clock;
    // Taken in this order when both are held: the link mutex around driver traffic,
    // the frame mutex around `frames`.
    std::mutex linkMutex;
    std::mutex frameMutex;
    LinkState state;
    FrameBuffers frames;
    Calibration calibration;
    GeneratorState generator;
    RegisterImage registers;
    // The communications thread sleeps while nothing is connected; a connection made
    // or the thread's end wakes it (WakeCommsThread).
    std::mutex wakeMutex;
    std::condition_variable wake;
    bool woken = false;  // under wakeMutex
    // Wakes the user-interface thread's wait when the link has news for it: a frame, a
    // lost connection, a reconnection request. Set before the thread starts; empty for
    // none.
    std::function<void()> notifyUi;
};

// Ends the communications thread's current sleep, or its next one at once.
void WakeCommsThread(Link& link);

// Every record back to its start values; the driver, the clock and the mutexes stay.
void ResetLink(Link& link);

}  // namespace orv
