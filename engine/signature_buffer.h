#pragma once
// One signature in memory: the voltage/current curve of a pin as up to 128 points,
// X in volts and Y in amperes, indexed from 1 (index 0 is never used).

#include <array>

namespace orv {

inline constexpr int kSignatureCapacity = 128;
inline constexpr int kSignatureEntries = kSignatureCapacity + 1;
// Every signature the program takes or stores has this many points.
inline constexpr int kDefaultSignaturePoints = 64;

struct SignatureBuffer {
    std::array<float, kSignatureEntries> X{};
    std::array<float, kSignatureEntries> Y{};
};

// All 129 entries of both arrays.
void CopySignature(const SignatureBuffer& from, SignatureBuffer& to);

// Points 1 to 128 become (0, 0).
void ClearSignature(SignatureBuffer& buffer);

// A point count kept within 1..128, so that it can index a buffer.
int ClampPointCount(int pointCount);

}  // namespace orv
