#pragma once
// The signature buffers the program keeps and the measurement state derived from the
// live signature. Everything here belongs to the user-interface thread.

#include "engine/signature_buffer.h"

namespace orv {

struct Signatures {
    SignatureBuffer LiveSignature;       // the newest scaled frame
    SignatureBuffer StabilityReference;  // the live signature at its last instability
    SignatureBuffer FrozenGolden;        // frozen copies shown in the Basic mode
    SignatureBuffer FrozenDut;
    SignatureBuffer TraceBuffer;    // what the scope drew last; the live side of a comparison
    SignatureBuffer CompareGolden;  // both sides of a comparison, in percent of full scale
    SignatureBuffer CompareLive;
};

// What the stability detection and the difference metric last found.
struct Measurement {
    int SignatureState = 0;  // 0 open circuit, 1 stable, 2 unstable
    int StableCount = 0;     // consecutive stable evaluations since the last instability
    float DifferencePercent = 0;
};

inline constexpr int kOpenCircuit = 0;
inline constexpr int kStable = 1;
inline constexpr int kUnstable = 2;

}  // namespace orv
