#pragma once
// The twelve label texts around the main scope's frame: current limits on the left,
// voltage limits and the generator summary below, record position and title above.

#include <array>
#include <string>
#include <string_view>

namespace orv {

inline constexpr int kLabelSlots = 12;
using ScopeLabels = std::array<std::string, kLabelSlots>;  // slot i at index i - 1

// The cells of the current record that the scope shows.
struct ScopeRecord {
    std::string title;     // description, column 8
    std::string userText;  // column 12
    std::string result;    // "Untested", "Good", "Bad", "NoTest" or anything else
    bool hasGolden = false;
};

struct ScopeLabelInput {
    std::string mode = "Advanced";
    float peakMillivolts = 0;
    float sourceOhms = 0;  // nominal
    float frequencyHz = 0;
    int recordIndex = 1;
    int rows = 1;
    std::string planFileName;
    ScopeRecord record;  // used when 1 <= recordIndex <= rows
};

ScopeLabels BuildScopeLabels(const ScopeLabelInput& input);

// "-10V" / "+10V", "-200mV" / "+200mV" as a pair (negative, positive).
std::array<std::string, 2> VoltageLimitTexts(float peakMillivolts);
// "+100mA" / "-100mA", "+20uA" / "-20uA" as a pair (positive, negative); empty when
// the current cannot be worked out.
std::array<std::string, 2> CurrentLimitTexts(float peakMillivolts, float sourceOhms);
// "Vpk=200mV, Z=10kohms, f=50Hz".
std::string GeneratorSummary(float peakMillivolts, float sourceOhms, float frequencyHz);

// Record texts show a pound sign as a comma, which the plan format cannot hold.
std::string ShowPoundAsComma(std::string_view text);

}  // namespace orv
