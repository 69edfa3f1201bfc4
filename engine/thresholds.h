#pragma once
// The detection and verdict thresholds, stored in the settings as texts such as
// "0.50%" and matched exactly; an unknown text falls back to a fixed fraction.

#include <string_view>

namespace orv {

// Fractions of full scale, as single-precision values.
float OpenCircuitFraction(std::string_view text);   // unknown text: 0.0025
float StableFraction(std::string_view text);        // unknown text: 0.01
float GoldenVsLiveFraction(std::string_view text);  // unknown text: 0, every pin reads Bad

// The golden-versus-live threshold in percent: its fraction times 100.
float VerdictThreshold(std::string_view goldenVsLiveText);

// Good when the difference does not exceed the threshold.
bool IsGoodVerdict(float differencePercent, std::string_view goldenVsLiveText);

}  // namespace orv
