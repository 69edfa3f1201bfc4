#include "core/instrument_model.h"

#include <algorithm>
#include <cstdio>

namespace orv {

bool IsKnownModel(std::string_view model) {
    return std::find(kInstrumentModels.begin(), kInstrumentModels.end(), model) !=
           kInstrumentModels.end();
}

bool IsSmallFamily(std::string_view model) {
    return model == "ORV310" || model == "ORV311P";
}

std::string MainWindowTitleFor(std::string_view model) {
    return "Korvane - " + std::string(model) + " Analog Signature Analyser";
}

std::string TitleWithVersion(std::string_view title, float version) {
    char number[32];
    std::snprintf(number, sizeof number, "%.3f", static_cast<double>(version));
    return std::string(title) + " V" + number;
}

}  // namespace orv
