#include "display/scope_labels.h"

#include <cmath>
#include <cstdio>

#include "display/grid_layout.h"
#include "display/rounding.h"

namespace orv {

namespace {

std::string RoundedText(float value) {
    return std::to_string(RoundHalfEven(value));
}

// Fixed point with no decimals, of the single-precision value.
std::string NoDecimalsText(float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.0f", static_cast<double>(value));
    return text;
}

struct Amount {
    std::string number;
    std::string unit;
};

Amount VoltageAmount(float peakMillivolts) {
    if (peakMillivolts < 1000.0f)
        return {RoundedText(peakMillivolts), "mV"};
    return {RoundedText(peakMillivolts / 1000.0f), "V"};
}

}  // namespace

std::array<std::string, 2> VoltageLimitTexts(float peakMillivolts) {
    const Amount v = VoltageAmount(peakMillivolts);
    return {"-" + v.number + v.unit, "+" + v.number + v.unit};
}

std::array<std::string, 2> CurrentLimitTexts(float peakMillivolts, float sourceOhms) {
    const float milliamps = peakMillivolts / sourceOhms;
    if (!std::isfinite(milliamps))
        return {"", ""};
    if (milliamps >= 1.0f) {
        const std::string number = NoDecimalsText(milliamps);
        return {"+" + number + "mA", "-" + number + "mA"};
    }
    const std::string number = NoDecimalsText(milliamps * 1000.0f);
    return {"+" + number + "uA", "-" + number + "uA"};
}

std::string GeneratorSummary(float peakMillivolts, float sourceOhms, float frequencyHz) {
    const Amount v = VoltageAmount(peakMillivolts);
    std::string text = "Vpk=" + v.number + v.unit + ", Z=";
    if (sourceOhms < 1000.0f) {
        text += RoundedText(sourceOhms) + "ohms, ";
    } else {
        text += RoundedText(sourceOhms / 1000.0f) + "kohms, ";
    }
    text += "f=";
    if (frequencyHz < 1000.0f) {
        text += RoundedText(frequencyHz) + "Hz";
    } else {
        text += RoundedText(frequencyHz / 1000.0f) + "kHz";
    }
    return text;
}

std::string ShowPoundAsComma(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\xC2' && i + 1 < text.size() && text[i + 1] == '\xA3') {
            shown += ',';
            ++i;
        } else {
            shown += text[i];
        }
    }
    return shown;
}

ScopeLabels BuildScopeLabels(const ScopeLabelInput& in) {
    ScopeLabels labels;
    const auto voltage = VoltageLimitTexts(in.peakMillivolts);
    labels[3] = voltage[0];
    labels[5] = voltage[1];
    const auto current = CurrentLimitTexts(in.peakMillivolts, in.sourceOhms);
    labels[0] = current[0];
    labels[2] = current[1];
    labels[4] = GeneratorSummary(in.peakMillivolts, in.sourceOhms, in.frequencyHz);
    if (IsBasicMode(in.mode))
        return labels;

    const int n = in.recordIndex;
    if (n >= 1 && n <= in.rows) {
        if (n == 1) {
            labels[10] = in.planFileName;
        } else {
            labels[10] = ShowPoundAsComma(in.record.title);
            if (!in.record.userText.empty())
                labels[10] += ", " + in.record.userText;
        }
    }
    labels[9] = std::to_string(n) + "/" + std::to_string(in.rows);
    return labels;
}

}  // namespace orv
