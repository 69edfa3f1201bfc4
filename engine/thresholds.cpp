#include "engine/thresholds.h"

#include <span>

namespace orv {

namespace {

struct Choice {
    std::string_view text;
    float fraction;
};

constexpr Choice kOpenCircuit[] = {{"0.25%", 0.0025f}, {"0.50%", 0.005f}, {"1.00%", 0.01f}};
constexpr Choice kStable[] = {{"0.50%", 0.005f}, {"1.00%", 0.01f}, {"2.00%", 0.02f}};
constexpr Choice kGoldenVsLive[] = {{"0.50%", 0.005f}, {"0.75%", 0.0075f}, {"1.00%", 0.01f},
                                    {"1.50%", 0.015f}, {"2.00%", 0.02f},   {"3.00%", 0.03f},
                                    {"4.00%", 0.04f},  {"5.00%", 0.05f}};

float FractionOf(std::string_view text, std::span<const Choice> choices, float otherwise) {
    for (const Choice& choice : choices) {
        if (choice.text == text)
            return choice.fraction;
    }
    return otherwise;
}

}  // namespace

float OpenCircuitFraction(std::string_view text) {
    return FractionOf(text, kOpenCircuit, 0.0025f);
}

float StableFraction(std::string_view text) {
    return FractionOf(text, kStable, 0.01f);
}

float GoldenVsLiveFraction(std::string_view text) {
    return FractionOf(text, kGoldenVsLive, 0.0f);
}

float VerdictThreshold(std::string_view goldenVsLiveText) {
    return GoldenVsLiveFraction(goldenVsLiveText) * 100.0f;
}

bool IsGoodVerdict(float differencePercent, std::string_view goldenVsLiveText) {
    return differencePercent <= VerdictThreshold(goldenVsLiveText);
}

}  // namespace orv
