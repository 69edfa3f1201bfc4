#include "engine/scaling.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orv {

FrameScaling FrameScalingOf(const Calibration& calibration, const GeneratorState& generator) {
    return FrameScaling{calibration.Adc0Gain,          calibration.Adc0Offset,
                        calibration.Adc1Gain,          calibration.Adc1Offset,
                        generator.AccumulateA,         generator.AccumulateB,
                        generator.EffectiveResistance, generator.SignaturePointCount};
}

void ScaleFrame(RawChannel rawA, RawChannel rawB, const FrameScaling& scaling,
                SignatureBuffer& live) {
    const std::int64_t divisor =
        static_cast<std::int64_t>(scaling.AccumulateA) * scaling.AccumulateB;
    if (divisor < 1)
        return;
    const double div = static_cast<double>(divisor);
    const float resistance = static_cast<float>(scaling.EffectiveResistance);
    const int n = ClampPointCount(scaling.PointCount);
    for (int i = 1; i <= n; ++i) {
        const float a = static_cast<float>(rawA[i] / div);
        const float b = static_cast<float>(rawB[i] / div);
        const float sumA = a + scaling.Adc0Offset;
        const float sumB = b + scaling.Adc1Offset;
        const float vA = sumA * scaling.Adc0Gain;
        const float vB = sumB * scaling.Adc1Gain;
        const float across = vB - vA;
        live.X[i] = vB;
        live.Y[i] = across / resistance;
    }
}

}  // namespace orv
