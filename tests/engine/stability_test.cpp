#include "engine/stability.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/thresholds.h"

namespace orv {
namespace {

// A full scale of 1 V and 1 mA: the default thresholds are an open-circuit band of
// 5 uA around the mean current and a stability band of 10 mV and 10 uA.
class StabilityTest : public ::testing::Test {
protected:
    // A resistor-like signature, moved by (dx, dy).
    void SetLive(float dx = 0, float dy = 0) {
        for (int i = 1; i <= 64; ++i) {
            const float volts = std::sin(static_cast<float>(i) * 0.098f);
            signatures_.LiveSignature.X[i] = volts + dx;
            signatures_.LiveSignature.Y[i] = volts / 1000.0f + dy;
        }
    }
    int Detect() {
        return DetectSignatureState(signatures_, measurement_, {1000.0f, 1000, 64}, settings_);
    }

    Signatures signatures_;
    Measurement measurement_;
    Settings settings_;
};

TEST_F(StabilityTest, AFlatCurrentIsAnOpenCircuitAtAnyLevel) {
    for (const float amps : {0.0f, 0.0005f, -0.0123f, 0.25f, -3.0f, 1000.0f}) {
        SetLive();
        for (int i = 1; i <= 64; ++i)
            signatures_.LiveSignature.Y[i] = amps;
        measurement_.StableCount = 5;
        EXPECT_EQ(Detect(), kOpenCircuit) << amps;
        EXPECT_EQ(measurement_.StableCount, 0) << amps;
        EXPECT_EQ(signatures_.StabilityReference.X[10], 0.0f) << "reference untouched";
    }
}

TEST_F(StabilityTest, CountsStableEvaluationsSinceTheLastInstability) {
    SetLive();
    EXPECT_EQ(Detect(), kUnstable);  // the reference starts as zeros
    EXPECT_EQ(measurement_.StableCount, 0);
    EXPECT_EQ(signatures_.StabilityReference.X, signatures_.LiveSignature.X);
    EXPECT_EQ(Detect(), kStable);
    EXPECT_EQ(Detect(), kStable);
    EXPECT_EQ(measurement_.StableCount, 2);

    SetLive(0, 0.000011f);  // beyond the 10 uA band
    EXPECT_EQ(Detect(), kUnstable);
    EXPECT_EQ(measurement_.StableCount, 0);
    EXPECT_EQ(Detect(), kStable);
    EXPECT_EQ(measurement_.StableCount, 1);
}

TEST_F(StabilityTest, DriftCountsFromTheLastInstabilityNotTheLastFrame) {
    SetLive();
    Detect();
    // 4 mV per frame: each frame is close to the one before, the third is 12 mV from
    // the reference.
    const int expected[] = {kStable, kStable, kUnstable, kStable};
    for (int frame = 1; frame <= 4; ++frame) {
        SetLive(0.004f * static_cast<float>(frame));
        EXPECT_EQ(Detect(), expected[frame - 1]) << frame;
    }
}

TEST_F(StabilityTest, ThresholdTextsWidenOrNarrowTheBands) {
    SetLive();
    Detect();
    SetLive(0.015f);
    settings_.StableSignatureDetectThreshold = "2.00%";
    EXPECT_EQ(Detect(), kStable);
    settings_.StableSignatureDetectThreshold = "2%";  // unknown: 1.00 %
    EXPECT_EQ(Detect(), kUnstable);

    // A current ripple of 4 uA either side of its mean: inside a 5 uA open-circuit band,
    // outside a 2.5 uA one.
    for (int i = 1; i <= 64; ++i)
        signatures_.LiveSignature.Y[i] = (i % 2) * 0.000008f;
    settings_.OpenCircuitDetectThreshold = "0.50%";
    EXPECT_EQ(Detect(), kOpenCircuit);
    settings_.OpenCircuitDetectThreshold = "0.25%";
    EXPECT_NE(Detect(), kOpenCircuit);
    settings_.OpenCircuitDetectThreshold = "half";  // unknown: 0.25 %
    EXPECT_NE(Detect(), kOpenCircuit);
}

TEST(ThresholdTest, TextsMapToFractionsAndUnknownTextsToTheirFallback) {
    struct Case {
        float (*fraction)(std::string_view);
        const char* text;
        float expected;
    };
    const Case cases[] = {
        {OpenCircuitFraction, "0.25%", 0.0025f},  {OpenCircuitFraction, "0.50%", 0.005f},
        {OpenCircuitFraction, "1.00%", 0.01f},    {OpenCircuitFraction, "2.00%", 0.0025f},
        {OpenCircuitFraction, "", 0.0025f},       {StableFraction, "0.50%", 0.005f},
        {StableFraction, "1.00%", 0.01f},         {StableFraction, "2.00%", 0.02f},
        {StableFraction, "0.25%", 0.01f},         {GoldenVsLiveFraction, "0.50%", 0.005f},
        {GoldenVsLiveFraction, "0.75%", 0.0075f}, {GoldenVsLiveFraction, "1.00%", 0.01f},
        {GoldenVsLiveFraction, "1.50%", 0.015f},  {GoldenVsLiveFraction, "2.00%", 0.02f},
        {GoldenVsLiveFraction, "3.00%", 0.03f},   {GoldenVsLiveFraction, "4.00%", 0.04f},
        {GoldenVsLiveFraction, "5.00%", 0.05f},   {GoldenVsLiveFraction, "1.5%", 0.0f},
        {GoldenVsLiveFraction, "1.50% ", 0.0f},   {GoldenVsLiveFraction, "0.25%", 0.0f},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.fraction(c.text), c.expected) << c.text;
}

TEST(ThresholdTest, VerdictIsGoodUpToTheThresholdAndAnUnknownTextFailsEveryPin) {
    EXPECT_FLOAT_EQ(VerdictThreshold("1.50%"), 1.5f);
    EXPECT_FLOAT_EQ(VerdictThreshold("5.00%"), 5.0f);
    EXPECT_TRUE(IsGoodVerdict(VerdictThreshold("1.50%"), "1.50%"));
    EXPECT_FALSE(IsGoodVerdict(1.51f, "1.50%"));
    EXPECT_EQ(VerdictThreshold("15%"), 0.0f);
    // Identical signatures measure 10/65536 %, still Bad under an unknown threshold.
    EXPECT_FALSE(IsGoodVerdict(10.0f / 65536.0f, "15%"));
}

}  // namespace
}  // namespace orv
