#pragma once
// Open circuit and stability of the live signature, evaluated once per redrawn frame.

#include "core/app_state.h"
#include "engine/signatures.h"

namespace orv {

// 0 when the current is flat (the probe touches nothing), 2 when the live signature
// has left the band around the stability reference (which then becomes the live
// signature), 1 otherwise. Updates `measurement.StableCount`; the caller keeps the
// returned state. Reads the live signature, its point count, the effective
// resistance and the applied peak voltage in millivolts.
int DetectSignatureState(Signatures& signatures, Measurement& measurement, float appliedMillivolts,
                         const Settings& settings);

}  // namespace orv
