#include "engine/difference.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>

#include "testplan/record_cells.h"

namespace orv {
namespace {

constexpr float kLowest = 10.0f / 65536.0f;  // the bisection's lowest reachable value
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// The comparison written out step by step, without any shortcut, as the reference
// the library's faster search must agree with bit for bit. A golden segment whose two
// ends are the same point is near only what is near that point.
int LiteralPointNearSegment(SignaturePoint A, SignaturePoint B, float t, SignaturePoint P) {
    const float halfPi = static_cast<float>(std::numbers::pi / 2);
    float a = std::sqrt((P.x - A.x) * (P.x - A.x) + (P.y - A.y) * (P.y - A.y));
    if (a == 0)
        a = 1e-9f;
    if (a <= t)
        return 1;
    float b = std::sqrt((P.x - B.x) * (P.x - B.x) + (P.y - B.y) * (P.y - B.y));
    if (b == 0)
        b = 1e-9f;
    if (b <= t)
        return 1;
    if (A.x == B.x && A.y == B.y)
        return -1;
    float c = std::sqrt((B.x - A.x) * (B.x - A.x) + (B.y - A.y) * (B.y - A.y));
    if (c == 0)
        c = 1e-9f;
    const float angleB = std::acos((b * b + c * c - a * a) / (2 * b * c));  // NaN out of range
    if (!(angleB <= halfPi))
        return -1;
    const float angleA = std::acos((a * a + c * c - b * b) / (2 * a * c));
    if (!(angleA <= halfPi))
        return -1;
    const float gamma = std::acos((a * a + b * b - c * c) / (2 * a * b));
    const float area = a * b * std::sin(gamma) / 2;
    const float h = 2 * area / c;
    if (t < h)
        return -1;
    return 1;
}

int LiteralMatchWithin(const SignatureBuffer& golden, const SignatureBuffer& live, float t, int n) {
    int count = 0;
    for (int i = 1; i <= n; ++i) {
        const int next = i == n ? 1 : i + 1;
        bool found = false;
        for (int j = 1; j <= n; ++j) {
            if (LiteralPointNearSegment({golden.X[i], golden.Y[i]},
                                        {golden.X[next], golden.Y[next]}, t,
                                        {live.X[j], live.Y[j]}) > 0) {
                found = true;
            }
        }
        if (found)
            ++count;
    }
    return count == n ? 1 : -1;
}

float LiteralBisection(const SignatureBuffer& golden, const SignatureBuffer& live, int n) {
    float t = 10;
    float step = 10;
    for (int k = 0; k < 16; ++k) {
        const int m = LiteralMatchWithin(golden, live, t, n);
        step = step / 2;
        if (m > 0) {
            t = t - step;
        } else {
            t = t + step;
        }
    }
    return t;
}

// A closed loop of n points: an ellipse of radii rx, ry around (cx, cy).
SignatureBuffer Loop(int n, float rx, float ry, float cx = 0, float cy = 0) {
    SignatureBuffer loop;
    for (int i = 1; i <= n; ++i) {
        const float angle =
            2.0f * std::numbers::pi_v<float> * static_cast<float>(i - 1) / static_cast<float>(n);
        loop.X[i] = cx + rx * std::cos(angle);
        loop.Y[i] = cy + ry * std::sin(angle);
    }
    return loop;
}

TEST(PointNearSegmentTest, DistanceToTheSegmentNotToItsLine) {
    struct Case {
        const char* name;
        SignaturePoint p;
        float tolerance;
        int expected;
    };
    // Segment from (0, 0) to (10, 0).
    const Case cases[] = {
        {"above the middle, within", {5, 1}, 1.01f, 1},
        {"above the middle, beyond", {5, 1}, 0.99f, -1},
        {"on the segment", {5, 0}, 0.0001f, 1},
        {"on an end", {10, 0}, 1e-6f, 1},
        {"on the line beyond B", {12, 0}, 1, -1},
        {"near B from beyond", {12, 0}, 2, 1},
        {"before A, close to the line", {-3, 0.5f}, 1, -1},
        {"beside A", {0, -0.5f}, 0.5f, 1},
        {"far away", {50, 50}, 19, -1},
        {"not a number", {kNaN, 0}, 19, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PointNearSegment({0, 0}, {10, 0}, c.tolerance, c.p), c.expected) << c.name;
        EXPECT_EQ(LiteralPointNearSegment({0, 0}, {10, 0}, c.tolerance, c.p), c.expected) << c.name;
    }
}

class ComputeDifferenceTest : public ::testing::Test {
protected:
    // Record 2 of a plan with the golden signature at 1000 mV and 1000 ohms: full scale
    // 1 V and 1 mA, so 1 % is 10 mV or 10 uA.
    void SetGolden(const SignatureBuffer& golden, int n = 64, float millivolts = 1000,
                   float ohms = 1000) {
        ResizeTable(plan_, 2, kPlanColumns);
        const GeneratorSettings generator{millivolts, ohms, 50, 0, 0, 0, 0};
        StoreSignature(plan_, 2, kGoldenBlock, generator, n, golden.X, golden.Y);
    }
    float Difference() {
        measurement_.DifferencePercent = -1;
        ComputeDifference(plan_, 2, signatures_, measurement_);
        return measurement_.DifferencePercent;
    }

    TestPlan plan_;
    Signatures signatures_;
    Measurement measurement_;
};

TEST_F(ComputeDifferenceTest, IdenticalSignaturesReachTheLowestValue) {
    const SignatureBuffer golden = Loop(64, 0.8f, 0.0006f);
    SetGolden(golden);
    LoadSignature(plan_, 2, kGoldenBlock, signatures_.TraceBuffer.X, signatures_.TraceBuffer.Y);
    EXPECT_EQ(Difference(), kLowest);
    EXPECT_FLOAT_EQ(signatures_.CompareGolden.X[1], 80.0f);  // in percent of full scale
    EXPECT_FLOAT_EQ(signatures_.CompareLive.Y[17], 60.0f);
}

TEST(PointNearSegmentTest, ASegmentOfOnePointIsNearOnlyWhatIsNearThePoint) {
    const SignaturePoint point{3, 4};
    EXPECT_EQ(PointNearSegment(point, point, 1, {3.5f, 4}), 1);
    EXPECT_EQ(PointNearSegment(point, point, 1, {3, 40}), -1);
    EXPECT_EQ(PointNearSegment(point, point, 19, {80, -60}), -1);
}

TEST_F(ComputeDifferenceTest, AGoldenCapturedAsAllZerosPassesNothingFarFromZero) {
    // What a capture before any calibration stores: every golden point at (0, 0).
    SetGolden(SignatureBuffer{});
    signatures_.TraceBuffer = Loop(64, 0.5f, 0.0005f);
    EXPECT_GT(Difference(), 19.0f);
}

TEST_F(ComputeDifferenceTest, AShiftedSignatureMeasuresItsShift) {
    SetGolden(Loop(64, 0.8f, 0.0006f));
    signatures_.TraceBuffer = Loop(64, 0.8f, 0.0006f, 0.0f, 0.00003f);  // 3 % up
    EXPECT_NEAR(Difference(), 3.0f, 0.01f);
    signatures_.TraceBuffer = Loop(64, 0.8f, 0.0006f, 0.5f, 0.0f);  // 50 % right: beyond reach
    EXPECT_NEAR(Difference(), 20.0f, 0.001f);
}

TEST_F(ComputeDifferenceTest, RecordsThatCannotBeScaledLeaveTheDifference) {
    struct Case {
        const char* name;
        float millivolts;
        float ohms;
        int row;
    };
    const Case cases[] = {
        {"no golden voltage", 0, 1000, 2},
        {"a voltage below one millivolt", 0.4f, 1000, 2},
        {"no such record", 1000, 1000, 3},
        {"row 0", 1000, 1000, 0},
    };
    for (const Case& c : cases) {
        SetGolden(Loop(64, 0.8f, 0.0006f), 64, c.millivolts, c.ohms);
        signatures_.TraceBuffer = Loop(64, 0.8f, 0.0006f);
        measurement_.DifferencePercent = 42;
        ComputeDifference(plan_, c.row, signatures_, measurement_);
        EXPECT_EQ(measurement_.DifferencePercent, 42.0f) << c.name;
    }
}

TEST_F(ComputeDifferenceTest, WithoutAGoldenResistanceTheVoltageAxisAloneDecides) {
    // A short's golden: the current scale is infinite, so currents count for nothing.
    SetGolden(Loop(64, 0.8f, 0.0006f), 64, 1000, 0);
    signatures_.TraceBuffer = Loop(64, 0.8f, 0.0f);
    EXPECT_EQ(Difference(), kLowest);
    // 5 % right: the ends of the flattened curves lie up to 5 % apart, less between points.
    signatures_.TraceBuffer = Loop(64, 0.8f, 0.0006f, 0.05f, 0.0f);
    EXPECT_NEAR(Difference(), 5.0f, 0.5f);
}

TEST_F(ComputeDifferenceTest, ExtraLiveLoopsDoNotCountAMissedGoldenLoopDoes) {
    // Live: every other point on the golden loop, the rest on a far second loop.
    const SignatureBuffer golden = Loop(64, 0.8f, 0.0006f);
    SetGolden(golden);
    const SignatureBuffer far = Loop(64, 0.1f, 0.0001f, 0.5f, 0.0f);
    for (int i = 1; i <= 64; ++i) {
        signatures_.TraceBuffer.X[i] = i % 2 == 1 ? golden.X[i] : far.X[i];
        signatures_.TraceBuffer.Y[i] = i % 2 == 1 ? golden.Y[i] : far.Y[i];
    }
    EXPECT_LT(Difference(), 0.01f);

    // Golden: a big loop and a small one 15 % away; live: the big loop only.
    SignatureBuffer twoLoops;
    const SignatureBuffer big = Loop(32, 0.8f, 0.0006f);
    const SignatureBuffer small = Loop(32, 0.02f, 0.00002f, 0.0f, -0.00075f);
    for (int i = 1; i <= 32; ++i) {
        twoLoops.X[i] = big.X[i];
        twoLoops.Y[i] = big.Y[i];
        twoLoops.X[32 + i] = small.X[i];
        twoLoops.Y[32 + i] = small.Y[i];
    }
    SetGolden(twoLoops);
    for (int i = 1; i <= 64; ++i) {
        signatures_.TraceBuffer.X[i] = big.X[(i - 1) % 32 + 1];
        signatures_.TraceBuffer.Y[i] = big.Y[(i - 1) % 32 + 1];
    }
    EXPECT_GT(Difference(), 10.0f);
}

TEST_F(ComputeDifferenceTest, PointCountFromTheRecordIsKeptWithinTheBuffers) {
    const SignatureBuffer golden = Loop(64, 0.8f, 0.0006f);
    SetGolden(golden);
    signatures_.TraceBuffer = golden;
    for (const char* count : {"0", "-3", "1000"}) {
        SetCell(plan_, 2, column::kPointCount, count);
        const float difference = Difference();
        EXPECT_GE(difference, kLowest) << count;
        EXPECT_LE(difference, 20.0f) << count;
    }
}

// Each case compares, bit for bit, the library's search with the literal one.
void ExpectSameAsLiteral(const SignatureBuffer& golden, const SignatureBuffer& live, int n,
                         const std::string& name) {
    const float literal = LiteralBisection(golden, live, n);
    const float fast = BisectDifference(golden, live, n);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(fast), std::bit_cast<std::uint32_t>(literal))
        << name << ": " << fast << " against " << literal;
    Signatures signatures;
    signatures.CompareGolden = golden;
    signatures.CompareLive = live;
    for (const float t : {kLowest, 0.3f, 1.5f, 5.0f, 10.0f, 19.9f, literal, fast}) {
        EXPECT_EQ(MatchWithin(signatures, t, n), LiteralMatchWithin(golden, live, t, n))
            << name << " at " << t;
    }
}

TEST(DifferenceIdentityTest, RandomSignaturesMatchTheLiteralSearch) {
    std::mt19937 random(20250301);
    std::uniform_int_distribution<int> points(1, 128);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    std::uniform_real_distribution<float> scale(0.0f, 1.0f);
    for (int trial = 0; trial < 150; ++trial) {
        const int n = trial % 3 == 0 ? 64 : points(random);
        const float size = 100.0f * scale(random);
        // Noise from a thousandth of a percent to tens of percent, sometimes skewed.
        const float noise = std::pow(10.0f, -3.0f + 5.0f * scale(random));
        const float skew = trial % 4 == 0 ? 20.0f * unit(random) : 0.0f;
        SignatureBuffer golden = Loop(n, size, size * scale(random));
        SignatureBuffer live;
        for (int i = 1; i <= n; ++i) {
            golden.X[i] += noise * unit(random);
            live.X[i] = golden.X[i] + noise * unit(random) + skew;
            live.Y[i] = golden.Y[i] + noise * unit(random);
        }
        ExpectSameAsLiteral(golden, live, n, "trial " + std::to_string(trial));
    }
}

TEST(DifferenceIdentityTest, AdversarialSignaturesMatchTheLiteralSearch) {
    std::vector<std::tuple<std::string, SignatureBuffer, SignatureBuffer, int>> cases;
    const SignatureBuffer loop = Loop(64, 60, 40);
    auto add = [&](const std::string& name, const SignatureBuffer& golden,
                   const SignatureBuffer& live,
                   int n = 64) { cases.emplace_back(name, golden, live, n); };
    add("identical", loop, loop);
    SignatureBuffer reversed;
    SignatureBuffer rotated;
    for (int i = 1; i <= 64; ++i) {
        reversed.X[i] = loop.X[65 - i];
        reversed.Y[i] = loop.Y[65 - i];
        rotated.X[i] = loop.X[(i + 31) % 64 + 1];
        rotated.Y[i] = loop.Y[(i + 31) % 64 + 1];
    }
    add("reversed order: matches found last", loop, reversed);
    add("rotated by half", loop, rotated);
    add("one point", loop, loop, 1);
    add("two points", loop, reversed, 2);
    add("all 128 points", Loop(128, 50, 50), Loop(128, 50.5f, 49.5f), 128);

    SignatureBuffer zeros;
    add("all zeros", zeros, zeros);
    add("golden all zeros", zeros, loop);
    add("live all zeros", loop, zeros);
    SignatureBuffer repeated = loop;
    for (int i = 2; i <= 64; i += 2) {
        repeated.X[i] = repeated.X[i - 1];
        repeated.Y[i] = repeated.Y[i - 1];
    }
    add("zero-length golden segments", repeated, rotated);
    SignatureBuffer line;
    for (int i = 1; i <= 64; ++i) {
        line.X[i] = static_cast<float>(i) - 32.0f;
        line.Y[i] = 0;
    }
    add("collinear golden", line, loop);
    add("collinear both", line, line);

    // Points exactly at the tolerances the halving tries.
    SignatureBuffer atSteps = loop;
    const float tries[] = {10.0f, 5.0f, 15.0f, 2.5f, 7.5f, 12.5f, 17.5f};
    for (int i = 1; i <= 64; ++i)
        atSteps.Y[i] += tries[i % 7];
    add("shifts equal to tried tolerances", loop, atSteps);
    SignatureBuffer far = loop;
    for (int i = 1; i <= 64; ++i)
        far.X[i] += 25.0f;
    add("beyond reach", loop, far);
    SignatureBuffer lastNear = far;
    lastNear.X[64] = loop.X[64];
    lastNear.Y[64] = loop.Y[64];
    add("one live point near the end", loop, lastNear);

    // Live points exactly at a tried tolerance (3-4-5 triangles before the golden ends).
    SignatureBuffer pair;
    pair.X[2] = 10;
    SignatureBuffer beforeEnds;
    beforeEnds.X[1] = beforeEnds.X[2] = -3;
    beforeEnds.Y[1] = beforeEnds.Y[2] = -4;
    add("a live point exactly at a tried tolerance", pair, beforeEnds, 2);

    // Every golden segment 19.5 away from the live line but the last few, far beyond.
    SignatureBuffer track;
    SignatureBuffer besideTrack;
    for (int i = 1; i <= 64; ++i) {
        track.X[i] = static_cast<float>(i);
        track.Y[i] = i > 60 ? -30.0f : 0.0f;
        besideTrack.X[i] = static_cast<float>(i);
        besideTrack.Y[i] = 19.5f;
    }
    add("near the edge of reach, then beyond", track, besideTrack);

    // A live point on the golden segment where rounding puts the cosine of the angle at
    // the point just below -1: the distance to the line is not a number, which no
    // tolerance is below, so the point counts as near.
    SignatureBuffer segment;
    segment.X[1] = 0x1.0f97f8p+4f;
    segment.Y[1] = -0x1.4a5818p+3f;
    segment.X[2] = 0x1.5c6e68p+5f;
    segment.Y[2] = 0x1.f0dacp+1f;
    SignatureBuffer onSegment;
    const float along = 0x1.9f948p-1f;
    onSegment.X[1] = onSegment.X[2] = segment.X[1] + (segment.X[2] - segment.X[1]) * along;
    onSegment.Y[1] = onSegment.Y[2] = segment.Y[1] + (segment.Y[2] - segment.Y[1]) * along;
    add("a point on the segment whose distance is not a number", segment, onSegment, 2);

    SignatureBuffer huge = loop;
    SignatureBuffer tiny = loop;
    for (int i = 1; i <= 64; ++i) {
        huge.X[i] *= 1e18f;   // squares overflow
        tiny.X[i] *= 1e-22f;  // squares underflow
        tiny.Y[i] *= 1e-22f;
    }
    add("huge", huge, loop);
    add("huge both", huge, huge);
    add("tiny", tiny, zeros);
    add("tiny both", tiny, tiny);
    SignatureBuffer broken = loop;
    broken.X[3] = kNaN;
    broken.Y[9] = kInf;
    broken.X[20] = -kInf;
    add("not-a-number and infinities in the golden", broken, loop);
    add("not-a-number and infinities in the live", loop, broken);
    add("not-a-number and infinities in both", broken, broken);

    for (const auto& [name, golden, live, n] : cases)
        ExpectSameAsLiteral(golden, live, n, name);
}

}  // namespace
}  // namespace orv
