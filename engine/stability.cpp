#include "engine/stability.h"

#include "engine/thresholds.h"

namespace orv {

int DetectSignatureState(Signatures& signatures, Measurement& measurement,
                         const SignatureScale& scale, const Settings& settings) {
    const SignatureBuffer& live = signatures.LiveSignature;
    const SignatureBuffer& reference = signatures.StabilityReference;
    const int n = ClampPointCount(scale.pointCount);
    const float fullVolts = scale.appliedMillivolts / 1000.0f;
    const float fullAmps = fullVolts / static_cast<float>(scale.effectiveResistance);

    float sum = 0;
    for (int i = 1; i <= n; ++i)
        sum += live.Y[i];
    const float meanY = sum / static_cast<float>(n);
    const float openBand = OpenCircuitFraction(settings.OpenCircuitDetectThreshold) * fullAmps;
    const float upper = meanY + openBand;
    const float lower = meanY - openBand;
    bool currentFlows = false;
    for (int i = 1; i <= n && !currentFlows; ++i) {
        currentFlows = live.Y[i] > upper || live.Y[i] < lower;
    }
    if (!currentFlows) {
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
