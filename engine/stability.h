#pragma once
// Open circuit and stability of the live signature, evaluated once per redrawn frame.

#include <span>

#include "core/app_state.h"
#include "engine/signatures.h"

namespace orv {

// What sets the full scale of a live signature, from the generator settings applied.
struct SignatureScale {
    float appliedMillivolts = 0;
    int effectiveResistance = 10000;  // ohms
    int pointCount = kDefaultSignaturePoints;
};

// 0 when the current is flat (the probe touches nothing), 2 when the live signature
// has left the band around the stability reference (which then becomes the live
// signature), 1 otherwise. Updates `measurement.StableCount`; the caller keeps the
// returned state. Reads the live signature, its point count, the effective
// resistance and the applied peak voltage in millivolts.
// No current point y[1..n] lies further than openBand (amperes) from their mean: the
// probe touches nothing.
bool CurrentIsFlat(std::span<const float> y, int n, float openBand);

int DetectSignatureState(Signatures& signatures, Measurement& measurement,
                         const SignatureScale& scale, const Settings& settings);

}  // namespace orv
