#include "engine/generator_steps.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/instrument_model.h"
#include "link/generator_tables.h"

namespace orv {

namespace {

// A quantity's values, smallest first.
using Values = std::vector<std::int64_t>;

Values VoltageValues() {
    Values values;
    for (const PeakVoltageStep& step : kPeakVoltageSteps) {
        if (!step.label.empty())
            values.push_back(step.millivolts);
    }
    std::sort(values.begin(), values.end());
    return values;
}

Values ResistanceValues(std::string_view model) {
    Values values;
    for (const ResistanceStep& step : SourceResistancesFor(model))
        values.push_back(step.ohms);
    std::sort(values.begin(), values.end());
    return values;
}

Values FrequencyValues() {
    Values values;
    for (const FrequencyStep& step : kFrequencySteps)
        values.push_back(step.hertz);
    std::sort(values.begin(), values.end());
    return values;
}

// The value a step leads to from `from`; none when `from` is no list value.
std::optional<std::int64_t> Stepped(const Values& values, std::int64_t from, Step step) {
    const auto at = std::find(values.begin(), values.end(), from);
    if (at == values.end())
        return std::nullopt;
    const size_t index = static_cast<size_t>(at - values.begin());
    switch (step) {
        case Step::Up:
            return values[std::min(index + 1, values.size() - 1)];
        case Step::Down:
            return values[index == 0 ? 0 : index - 1];
        case Step::Cycle:
            return values[(index + 1) % values.size()];
    }
    return std::nullopt;
}

void StepInto(float& target, const Values& values, float from, Step step) {
    if (const auto next = Stepped(values, RoundToInstrument(from), step))
        target = static_cast<float>(*next);
}

}  // namespace

void StepVoltage(GeneratorSettings& request, Step step) {
    StepInto(request.PeakMillivolts, VoltageValues(), request.PeakMillivolts, step);
}

void StepResistance(GeneratorSettings& request, const GeneratorSettings& applied,
                    std::string_view model, Step step) {
    StepInto(request.SourceOhms, ResistanceValues(model), applied.SourceOhms, step);
}

void StepFrequency(GeneratorSettings& request, const GeneratorSettings& applied, Step step) {
    StepInto(request.FrequencyHz, FrequencyValues(), applied.FrequencyHz, step);
}

void CycleResistance(GeneratorSettings& request, const GeneratorSettings& applied,
                     std::string_view model, std::string& direction) {
    if (IsSmallFamily(model)) {
        StepResistance(request, applied, model, Step::Cycle);
        return;
    }
    const Values values = ResistanceValues(model);
    const std::int64_t start = RoundToInstrument(applied.SourceOhms);
    if (std::find(values.begin(), values.end(), start) == values.end())
        return;
    // At an end the walk turns: the next value lies the other way.
    if (direction == "Down" && start == values.front()) {
        direction = "Up";
    } else if (direction != "Down" && start == values.back()) {
        direction = "Down";
    }
    const Step step = direction == "Down" ? Step::Down : Step::Up;
    request.SourceOhms = static_cast<float>(*Stepped(values, start, step));
}

void ChooseVoltageItem(GeneratorSettings& request, int item) {
    // The first table entry is the start value, which the list does not offer.
    if (item >= 0 && item + 1 < static_cast<int>(kPeakVoltageSteps.size()))
        request.PeakMillivolts = static_cast<float>(kPeakVoltageSteps[item + 1].millivolts);
}

void ChooseResistanceItem(GeneratorSettings& request, std::string_view model, int item) {
    const std::span<const ResistanceStep> steps = SourceResistancesFor(model);
    if (item >= 0 && item < static_cast<int>(steps.size()))
        request.SourceOhms = static_cast<float>(steps[static_cast<size_t>(item)].ohms);
}

void ChooseFrequencyItem(GeneratorSettings& request, int item) {
    if (item >= 0 && item < static_cast<int>(kFrequencySteps.size()))
        request.FrequencyHz = static_cast<float>(kFrequencySteps[static_cast<size_t>(item)].hertz);
}

void ChooseDcModeItem(GeneratorSettings& request, int item) {
    if (item >= 0 && item < static_cast<int>(kDcGeneratorModes.size()))
        request.DcMode = item;
}

void ChooseDcLevelText(GeneratorSettings& request, std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    float volts = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), volts);
    if (error == std::errc())
        request.DcVolts = volts;
}

}  // namespace orv
