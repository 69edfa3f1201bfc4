#include "engine/scaling.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/instrument_model.h"

namespace orv {

namespace {

constexpr std::array<int, 8> kTableOhms = {50, 100, 200, 500, 1000, 2000, 5000, 10000};
constexpr std::array<int, 3> kSmallFamilyOhms = {100, 1000, 10000};

}  // namespace

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

int LookUpEffectiveResistance(std::string_view model, const SourceResistanceTable& table,
                              float nominalOhms, int previous) {
    const float nominal = std::nearbyint(nominalOhms);
    if (!(std::fabs(nominal) < 1e9f))
        return previous;
    const int ohms = static_cast<int>(nominal);
    if (IsSmallFamily(model) && std::find(kSmallFamilyOhms.begin(), kSmallFamilyOhms.end(), ohms) ==
                                    kSmallFamilyOhms.end()) {
        return previous;
    }
    const auto entry = std::find(kTableOhms.begin(), kTableOhms.end(), ohms);
    if (entry == kTableOhms.end())
        return previous;
    const float measured =
        std::nearbyint(table[static_cast<std::size_t>(entry - kTableOhms.begin())]);
    // A resistance of zero would turn every current into an infinity.
    if (!(measured >= 1.0f &&
          measured <= static_cast<float>(std::numeric_limits<int>::max() / 2))) {
        return previous;
    }
    return static_cast<int>(measured);
}

}  // namespace orv
