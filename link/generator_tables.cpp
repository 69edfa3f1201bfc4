#include "link/generator_tables.h"

#include <cmath>

#include "core/instrument_model.h"

namespace orv {

int PeakVoltageStepIndex(std::int64_t millivolts) {
    for (size_t i = 0; i < kPeakVoltageSteps.size(); ++i) {
        if (kPeakVoltageSteps[i].millivolts == millivolts)
            return static_cast<int>(i);
    }
    return -1;
}

std::span<const ResistanceStep> SourceResistancesFor(std::string_view model) {
    if (IsSmallFamily(model))
        return kSmallFamilyResistances;
    return kLargeFamilyResistances;
}

const FrequencyStep* FindFrequencyStep(std::int64_t hertz) {
    for (const FrequencyStep& step : kFrequencySteps) {
        if (step.hertz == hertz)
            return &step;
    }
    return nullptr;
}

std::int64_t RoundToInstrument(double value) {
    // nearbyint rounds halves to even in the default rounding mode.
    return static_cast<std::int64_t>(std::nearbyint(value));
}

}  // namespace orv
