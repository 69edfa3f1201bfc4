#pragma once
// Raw channel sums of a measurement frame become the live signature in volts and
// amperes.

#include <array>
#include <cstdint>
#include <span>

#include "engine/signature_buffer.h"
#include "link/link_state.h"

namespace orv {

// Entries 1..N of one channel of a frame, index 0 unused.
using RawChannel = std::span<const std::int32_t, kSignatureEntries>;

// Everything besides the raw sums that scaling needs, as plain values.
struct FrameScaling {
    float Adc0Gain = 0;  // volts per count; 0 until a calibration is loaded
    float Adc0Offset = 0;
    float Adc1Gain = 0;
    float Adc1Offset = 0;
    int AccumulateA = 0;  // their product is the number of readings summed per raw value
    int AccumulateB = 0;
    int EffectiveResistance = 10000;
    int PointCount = kDefaultSignaturePoints;
};

// The scaling of the link's newest frame: its calibration and generator state.
FrameScaling FrameScalingOf(const Calibration& calibration, const GeneratorState& generator);

// Channel B is the pin voltage (X); the current (Y) is channel B's voltage minus
// channel A's over the effective resistance. Every step is rounded to single precision
// as it is stored. Without accumulation factors (none sent yet) there is no
// meaningful frame and `live` keeps its points.
void ScaleFrame(RawChannel rawA, RawChannel rawB, const FrameScaling& scaling,
                SignatureBuffer& live);

}  // namespace orv
