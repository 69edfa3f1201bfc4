#pragma once
// The five instrument models, held and compared as their exact names.

#include <array>
#include <string>
#include <string_view>

namespace orv {

inline constexpr std::array<std::string_view, 5> kInstrumentModels = {"ORV310", "ORV311P", "ORV320",
                                                                      "ORV340", "ORV340X"};

inline constexpr std::string_view kDefaultInstrumentModel = "ORV310";

bool IsKnownModel(std::string_view model);

// "ORV310" and "ORV311P": three source resistances and no DC bias output.
bool IsSmallFamily(std::string_view model);

// "Korvane - ORV320 Analog Signature Analyser"
std::string MainWindowTitleFor(std::string_view model);

// The title plus " V25.003": the version always with three decimals.
std::string TitleWithVersion(std::string_view title, float version);

}  // namespace orv
