#include "engine/signature_buffer.h"

#include <algorithm>

namespace orv {

void CopySignature(const SignatureBuffer& from, SignatureBuffer& to) {
    to = from;
}

void ClearSignature(SignatureBuffer& buffer) {
    std::fill(buffer.X.begin() + 1, buffer.X.end(), 0.0f);
    std::fill(buffer.Y.begin() + 1, buffer.Y.end(), 0.0f);
}

int ClampPointCount(int pointCount) {
    return std::clamp(pointCount, 1, kSignatureCapacity);
}

}  // namespace orv
