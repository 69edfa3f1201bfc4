#include "engine/difference.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>

#include "testplan/cell_numbers.h"

namespace orv {

namespace {

constexpr float kZeroLength = 1e-9f;
constexpr float kRightAngle = std::numbers::pi_v<float> / 2.0f;
constexpr float kInfinity = std::numeric_limits<float>::infinity();
// Every tolerance the bisection tries lies below this.
constexpr float kBeyondBisection = 20.0f;
constexpr int kBisectionSteps = 16;

float Distance(SignaturePoint from, SignaturePoint to) {
    const float dx = to.x - from.x;
    const float dy = to.y - from.y;
    const float length = std::sqrt(dx * dx + dy * dy);
    return length == 0.0f ? kZeroLength : length;
}

// Whether the angle between the sides `side1` and `side2` of a triangle, opposite
// `opposite`, is wider than a right angle.
bool WiderThanRightAngle(float side1, float side2, float opposite) {
    const float cosine =
        (side1 * side1 + side2 * side2 - opposite * opposite) / (2.0f * side1 * side2);
    if (!(cosine >= -1.0f && cosine <= 1.0f))
        return true;
    return std::acos(cosine) > kRightAngle;
}

// The distance from P to the line AB, from the triangle's area; a and b are |AP| and
// |BP|, c is |AB|.
float DistanceToLine(float a, float b, float c) {
    const float gamma = std::acos((a * a + b * b - c * c) / (2.0f * a * b));
    const float area = a * b * std::sin(gamma) / 2.0f;
    return 2.0f * area / c;
}

// The least tolerance at which PointNearSegment holds for these side lengths: it
// holds exactly for the tolerances at or above it. None of its tests depends on the
// tolerance, so each pair of segment and point is worked out once per comparison
// instead of once per halving.
float NearnessThreshold(float a, float b, float c, bool segmentIsPoint) {
    float least = kInfinity;
    if (a < least)
        least = a;
    if (b < least)
        least = b;
    if (segmentIsPoint || WiderThanRightAngle(b, c, a) || WiderThanRightAngle(a, c, b))
        return least;
    const float height = DistanceToLine(a, b, c);
    // "tolerance < NaN" never holds, so such a point is near at every tolerance.
    if (std::isnan(height))
        return -kInfinity;
    return height < least ? height : least;
}

SignaturePoint PointOf(const SignatureBuffer& buffer, int i) {
    return {buffer.X[i], buffer.Y[i]};
}

// Two equal consecutive golden points make a segment that is only a point. In single
// precision its triangle degenerates (the angle at P rounds to 0), which would count
// every live point, however far, as lying on it: a golden curve captured as all zeros
// would then pass anything. Such a segment is near only what is near the point.
bool IsPoint(SignaturePoint a, SignaturePoint b) {
    return a.x == b.x && a.y == b.y;
}

}  // namespace

int PointNearSegment(SignaturePoint a, SignaturePoint b, float tolerance, SignaturePoint p) {
    const float toA = Distance(a, p);
    if (toA <= tolerance)
        return 1;
    const float toB = Distance(b, p);
    if (toB <= tolerance)
        return 1;
    if (IsPoint(a, b))
        return -1;
    const float length = Distance(a, b);
    if (WiderThanRightAngle(toB, length, toA))
        return -1;  // P lies beyond B
    if (WiderThanRightAngle(toA, length, toB))
        return -1;  // P lies before A
    if (tolerance < DistanceToLine(toA, toB, length))
        return -1;
    return 1;
}

int MatchWithin(const Signatures& signatures, float tolerance, int pointCount) {
    const int n = ClampPointCount(pointCount);
    const SignatureBuffer& golden = signatures.CompareGolden;
    const SignatureBuffer& live = signatures.CompareLive;
    for (int i = 1; i <= n; ++i) {
        const SignaturePoint from = PointOf(golden, i);
        const SignaturePoint to = PointOf(golden, i == n ? 1 : i + 1);
        bool near = false;
        for (int j = 1; j <= n && !near; ++j) {
            near = PointNearSegment(from, to, tolerance, PointOf(live, j)) > 0;
        }
        if (!near)
            return -1;
    }
    return 1;
}

float BisectDifference(const SignatureBuffer& golden, const SignatureBuffer& live, int pointCount) {
    const int n = ClampPointCount(pointCount);
    // distances[i][j]: golden point i + 1 to live point j + 1.
    std::array<std::array<float, kSignatureCapacity>, kSignatureCapacity> distances;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            distances[i][j] = Distance(PointOf(golden, i + 1), PointOf(live, j + 1));
        }
    }
    // The matching tolerances form a half-line: a tolerance matches exactly when it is
    // at least the largest, over the golden segments, of the least threshold of a live
    // point. A segment stops counting once it cannot raise that largest value.
    float needed = -kInfinity;
    for (int i = 0; i < n && needed < kBeyondBisection; ++i) {
        const int next = i + 1 == n ? 0 : i + 1;
        const SignaturePoint from = PointOf(golden, i + 1);
        const SignaturePoint to = PointOf(golden, next + 1);
        const float length = Distance(from, to);
        const bool segmentIsPoint = IsPoint(from, to);
        float nearest = kInfinity;
        for (int j = 0; j < n && nearest > needed; ++j) {
            const float a = distances[i][j];
            const float b = distances[next][j];
            if (a <= needed || b <= needed) {
                nearest = needed;
                break;
            }
            const float threshold = NearnessThreshold(a, b, length, segmentIsPoint);
            if (threshold < nearest)
                nearest = threshold;
        }
        if (nearest > needed)
            needed = nearest;
    }
    float tolerance = 10.0f;
    float step = 10.0f;
    for (int k = 0; k < kBisectionSteps; ++k) {
        const bool matched = tolerance >= needed;
        step = step / 2.0f;
        tolerance = matched ? tolerance - step : tolerance + step;
    }
    return tolerance;
}

bool ScaleForComparison(const TestPlan& plan, int row, const SignatureBuffer& live,
                        SignatureBuffer& golden, SignatureBuffer& scaledLive, int& pointCount) {
    if (!HasRow(plan, row))
        return false;
    const float fullVolts = static_cast<float>(IntegerCell(plan, row, column::kVoltage)) / 1000.0f;
    if (fullVolts == 0.0f)
        return false;
    const float fullAmps =
        fullVolts / static_cast<float>(IntegerCell(plan, row, column::kResistance));
    if (fullAmps == 0.0f)
        return false;
    const float kx = 100.0f / fullVolts;
    // A golden resistance of 0 makes the current scale infinite: the current axis then
    // counts for nothing and the voltage axis alone decides, for this pin's own pair.
    // Refusing would leave the previous pin's difference to judge this one.
    const float ky = 100.0f / fullAmps;
    const int n = static_cast<int>(std::clamp<std::int64_t>(
        IntegerCell(plan, row, column::kPointCount), 1, kSignatureCapacity));
    for (int i = 1; i <= n; ++i) {
        golden.X[i] = FloatCell(plan, row, column::kPointCount + 2 * i - 1) * kx;
        golden.Y[i] = FloatCell(plan, row, column::kPointCount + 2 * i) * ky;
        scaledLive.X[i] = live.X[i] * kx;
        scaledLive.Y[i] = live.Y[i] * ky;
    }
    pointCount = n;
    return true;
}

std::optional<float> RecordDifference(const TestPlan& plan, int row, const SignatureBuffer& live) {
    SignatureBuffer golden;
    SignatureBuffer scaledLive;
    int n = 0;
    if (!ScaleForComparison(plan, row, live, golden, scaledLive, n))
        return std::nullopt;
    return BisectDifference(golden, scaledLive, n);
}

void ComputeDifference(const TestPlan& plan, int testPlanIndex, Signatures& signatures,
                       Measurement& measurement) {
    int n = 0;
    if (ScaleForComparison(plan, testPlanIndex, signatures.TraceBuffer, signatures.CompareGolden,
                           signatures.CompareLive, n)) {
        measurement.DifferencePercent =
            BisectDifference(signatures.CompareGolden, signatures.CompareLive, n);
    }
}

}  // namespace orv
