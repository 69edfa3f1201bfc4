#pragma once
// The generator commands of the ribbon and the probe buttons: choosing a value from a
// list, and stepping or cycling through the values the model offers. They change only
// the request; the main cycle sends it.

#include <string>
#include <string_view>

#include "core/app_state.h"

namespace orv {

enum class Step { Up, Down, Cycle };

// Up and Down stop at the ends of the list, Cycle goes up and wraps to the smallest.
// Voltage steps start from the requested voltage; resistance and frequency steps from
// the applied one, the value the instrument has. A start that is no list value (a
// record's own 1500 mV, say) leaves the request as it is.
void StepVoltage(GeneratorSettings& request, Step step);
void StepResistance(GeneratorSettings& request, const GeneratorSettings& applied,
                    std::string_view model, Step step);
void StepFrequency(GeneratorSettings& request, const GeneratorSettings& applied, Step step);

// The probe button's resistance cycle. The small family goes up and wraps; the large
// family walks back and forth between 50 and 10000 ohms, turning at the ends, in the
// direction "Down" or "Up" kept in `direction`.
void CycleResistance(GeneratorSettings& request, const GeneratorSettings& applied,
                     std::string_view model, std::string& direction);

// Items of the ribbon's lists, in list order. An item outside the list changes nothing.
void ChooseVoltageItem(GeneratorSettings& request, int item);
void ChooseResistanceItem(GeneratorSettings& request, std::string_view model, int item);
void ChooseFrequencyItem(GeneratorSettings& request, int item);
void ChooseDcModeItem(GeneratorSettings& request, int item);
// The level is read from the item's text: leading blanks and the sign accepted, the
// trailing "V" ignored. A text without a number changes nothing.
void ChooseDcLevelText(GeneratorSettings& request, std::string_view text);

}  // namespace orv
