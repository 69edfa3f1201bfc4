#include "engine/scaling.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <limits>

#include "core/app_state.h"
#include "engine/signatures.h"

namespace orv {
namespace {

using RawFrame = std::array<std::int32_t, kSignatureEntries>;

FrameScaling Calibrated() {
    FrameScaling scaling;
    scaling.Adc0Gain = 0.001f;
    scaling.Adc1Gain = 0.001f;
    scaling.AccumulateA = 16;
    scaling.AccumulateB = 5;
    scaling.EffectiveResistance = 1000;
    return scaling;
}

TEST(ScaleFrameTest, ChannelBIsTheVoltageAndTheDifferenceGivesTheCurrent) {
    RawFrame rawA{};
    RawFrame rawB{};
    rawA.fill(80 * 3000);
    rawB.fill(80 * 5000);
    rawA[2] = 80 * 5000;  // no voltage across the resistor: no current
    rawB[3] = -80 * 1000;
    SignatureBuffer live;
    ScaleFrame(rawA, rawB, Calibrated(), live);
    // 0.001 has no exact float: the results lie within a few units of the last place.
    EXPECT_FLOAT_EQ(live.X[1], 5.0f);
    EXPECT_FLOAT_EQ(live.Y[1], 0.002f);
    EXPECT_EQ(live.Y[2], 0.0f);
    EXPECT_FLOAT_EQ(live.X[3], -1.0f);
    EXPECT_FLOAT_EQ(live.Y[3], -0.004f);
    EXPECT_FLOAT_EQ(live.X[64], 5.0f);
    EXPECT_EQ(live.X[65], 0.0f);  // beyond the point count
    EXPECT_EQ(live.X[0], 0.0f);
}

TEST(ScaleFrameTest, OffsetsApplyBeforeTheGainsInSinglePrecision) {
    RawFrame rawA{};
    RawFrame rawB{};
    rawA[1] = 7;
    rawB[1] = 100;
    FrameScaling scaling = Calibrated();
    scaling.AccumulateA = 3;
    scaling.AccumulateB = 1;
    scaling.Adc0Offset = -2.0f;
    scaling.Adc1Offset = 0.5f;
    scaling.Adc0Gain = 0.01f;
    scaling.EffectiveResistance = 50;
    scaling.PointCount = 1;
    SignatureBuffer live;
    ScaleFrame(rawA, rawB, scaling, live);
    const float a = static_cast<float>(7.0 / 3.0);
    const float b = static_cast<float>(100.0 / 3.0);
    const float vA = (a + -2.0f) * 0.01f;
    const float vB = (b + 0.5f) * 0.001f;
    EXPECT_EQ(live.X[1], vB);
    EXPECT_EQ(live.Y[1], (vB - vA) / 50.0f);
}

TEST(ScaleFrameTest, WithoutCalibrationEveryPointIsZero) {
    RawFrame raw{};
    raw.fill(123456);
    FrameScaling scaling = Calibrated();
    scaling.Adc0Gain = 0;
    scaling.Adc1Gain = 0;
    SignatureBuffer live;
    live.X.fill(9);
    live.Y.fill(9);
    ScaleFrame(raw, raw, scaling, live);
    for (int i = 1; i <= 64; ++i) {
        EXPECT_EQ(live.X[i], 0.0f) << i;
        EXPECT_EQ(live.Y[i], 0.0f) << i;
    }
}

TEST(ScaleFrameTest, WithoutAccumulationFactorsTheLiveSignatureStays) {
    RawFrame raw{};
    raw.fill(100);
    SignatureBuffer live;
    live.X.fill(1.5f);
    for (const auto& [a, b] : {std::pair{0, 5}, {5, 0}, {0, 0}}) {
        FrameScaling scaling = Calibrated();
        scaling.AccumulateA = a;
        scaling.AccumulateB = b;
        ScaleFrame(raw, raw, scaling, live);
        EXPECT_EQ(live.X[1], 1.5f) << a << "x" << b;
    }
}

TEST(SignatureBufferTest, ClearLeavesTheUnusedEntryAndCopyTakesAll) {
    SignatureBuffer buffer;
    buffer.X.fill(2);
    buffer.Y.fill(3);
    SignatureBuffer copy;
    CopySignature(buffer, copy);
    EXPECT_EQ(copy.X, buffer.X);
    EXPECT_EQ(copy.Y, buffer.Y);
    ClearSignature(buffer);
    EXPECT_EQ(buffer.X[0], 2.0f);
    EXPECT_EQ(buffer.X[1], 0.0f);
    EXPECT_EQ(buffer.Y[128], 0.0f);
}

}  // namespace
}  // namespace orv
