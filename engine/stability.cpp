#include "engine/stability.h"

#include "engine/thresholds.h"

namespace orv {

bool CurrentIsFlat(std::span<const float> y, int n, float openBand) {
    float sum = 0;
    for (int i = 1; i <= n; ++i)
        sum += y[static_cast<size_t>(i)];
    const float meanY = sum / static_cast<float>(n);
    const float upper = meanY + openBand;
    const float lower = meanY - openBand;
    for (int i = 1; i <= n; ++i) {
        const float point = y[static_cast<size_t>(i)];
        if (point > upper || point < lower)
            return false;
    }
    return true;
}

int DetectSignatureState(Signatures& signatures, Measurement& measurement,
                         const SignatureScale& scale, const Settings& settings) {
    const SignatureBuffer& live = signatures.LiveSignature;
    const SignatureBuffer& reference = signatures.StabilityReference;
    const int n = ClampPointCount(scale.pointCount);
    const float fullVolts = scale.appliedMillivolts / 1000.0f;
    const float fullAmps = fullVolts / static_cast<float>(scale.effectiveResistance);

    const float openBand = OpenCircuitFraction(settings.OpenCircuitDetectThreshold) * fullAmps;
    if (CurrentIsFlat(live.Y, n, openBand)) {
        measurement.StableCount = 0;
        return kOpenCircuit;
    }

    measurement.StableCount += 1;
    const float stable = StableFraction(settings.StableSignatureDetectThreshold);
    const float dx = stable * fullVolts;
    const float dy = stable * fullAmps;
    for (int i = 1; i <= n; ++i) {
        if (live.X[i] > reference.X[i] + dx || live.X[i] < reference.X[i] - dx ||
            live.Y[i] > reference.Y[i] + dy || live.Y[i] < reference.Y[i] - dy) {
            CopySignature(live, signatures.StabilityReference);
            measurement.StableCount = 0;
            return kUnstable;
        }
    }
    return kStable;
}

}  // namespace orv
