// Per-frame and per-pin costs of the measurement engine.

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <numbers>

#include "core/app_state.h"
#include "engine/difference.h"
#include "engine/fault_kind.h"
#include "engine/scaling.h"
#include "engine/stability.h"
#include "testplan/record_cells.h"

namespace orv {
namespace {

SignatureBuffer Loop(float rx, float ry, float cx = 0, float cy = 0) {
    SignatureBuffer loop;
    for (int i = 1; i <= 64; ++i) {
        const float angle = 2.0f * std::numbers::pi_v<float> * static_cast<float>(i - 1) / 64.0f;
        loop.X[i] = cx + rx * std::cos(angle);
        loop.Y[i] = cy + ry * std::sin(angle);
    }
    return loop;
}

enum class Shape { Identical, Shifted, Reversed, BeyondReach, LateMatch, Spiral };

// Golden and live signatures in volts and amperes at a full scale of 1 V and 1 mA.
std::pair<SignatureBuffer, SignatureBuffer> SignaturePair(Shape shape) {
    const SignatureBuffer golden = Loop(0.8f, 0.0006f);
    SignatureBuffer live = golden;
    switch (shape) {
        case Shape::Identical:
            return {golden, live};
        case Shape::Shifted:
            return {golden, Loop(0.8f, 0.0006f, 0.01f, 0.00002f)};
        case Shape::Reversed:
            for (int i = 1; i <= 64; ++i) {
                live.X[i] = golden.X[65 - i];
                live.Y[i] = golden.Y[65 - i];
            }
            return {golden, live};
        case Shape::BeyondReach:
            return {golden, Loop(0.8f, 0.0006f, 0.5f, 0.0f)};
        case Shape::LateMatch: {
            // Only the last live point lies near the golden loop (a small one round it):
            // every segment's search runs to the end.
            SignatureBuffer small = Loop(0.05f, 0.00005f);
            live = Loop(0.1f, 0.0001f, 0.6f, 0.0f);
            live.X[64] = 0;
            live.Y[64] = 0;
            return {small, live};
        }
        case Shape::Spiral: {
            // Each golden segment lies further from the one near live point, which comes
            // last: no segment can be passed over early.
            SignatureBuffer spiral;
            for (int i = 1; i <= 64; ++i) {
                const float angle = 0.7f * static_cast<float>(i);
                const float radius = 0.01f + 0.0022f * static_cast<float>(i);
                spiral.X[i] = radius * std::cos(angle);
                spiral.Y[i] = radius * 0.001f * std::sin(angle);
            }
            live = Loop(0.1f, 0.0001f, 0.6f, 0.0f);
            live.X[64] = 0;
            live.Y[64] = 0;
            return {spiral, live};
        }
    }
    return {golden, live};
}

void BM_ComputeDifference(benchmark::State& state) {
    const auto [golden, live] = SignaturePair(static_cast<Shape>(state.range(0)));
    TestPlan plan;
    ResizeTable(plan, 2, kPlanColumns);
    StoreSignature(plan, 2, kGoldenBlock, GeneratorSettings{1000, 1000, 50, 0, 0, 0, 0}, 64,
                   golden.X, golden.Y);
    Signatures signatures;
    signatures.TraceBuffer = live;
    Measurement measurement;
    for (auto _ : state) {
        ComputeDifference(plan, 2, signatures, measurement);
        // Not DoNotOptimize on the float: this library's version garbles float lvalues.
        benchmark::ClobberMemory();
    }
    state.counters["percent"] = measurement.DifferencePercent;
}
BENCHMARK(BM_ComputeDifference)
    ->ArgName("shape")
    ->Arg(static_cast<int>(Shape::Identical))
    ->Arg(static_cast<int>(Shape::Shifted))
    ->Arg(static_cast<int>(Shape::Reversed))
    ->Arg(static_cast<int>(Shape::BeyondReach))
    ->Arg(static_cast<int>(Shape::LateMatch))
    ->Arg(static_cast<int>(Shape::Spiral))
    ->Unit(benchmark::kMicrosecond);

// The halving driven by the early-stopping match itself, for comparison.
void BM_BisectionByMatchWithin(benchmark::State& state) {
    const auto [golden, live] = SignaturePair(static_cast<Shape>(state.range(0)));
    Signatures signatures;
    signatures.CompareGolden = golden;
    signatures.CompareLive = live;
    for (int i = 1; i <= 64; ++i) {
        signatures.CompareGolden.X[i] *= 100.0f;
        signatures.CompareGolden.Y[i] *= 100000.0f;
        signatures.CompareLive.X[i] *= 100.0f;
        signatures.CompareLive.Y[i] *= 100000.0f;
    }
    for (auto _ : state) {
        float t = 10;
        float step = 10;
        for (int k = 0; k < 16; ++k) {
            const int m = MatchWithin(signatures, t, 64);
            step /= 2;
            t = m > 0 ? t - step : t + step;
        }
        benchmark::DoNotOptimize(t > 0);
    }
}
BENCHMARK(BM_BisectionByMatchWithin)
    ->ArgName("shape")
    ->Arg(static_cast<int>(Shape::Identical))
    ->Arg(static_cast<int>(Shape::LateMatch))
    ->Arg(static_cast<int>(Shape::Spiral))
    ->Unit(benchmark::kMicrosecond);

// A Bad record as the bad tree classifies it at every fill: both signatures read from
// their cells, then compared.
void BM_ClassifyRecord(benchmark::State& state) {
    const SignatureBuffer golden = Loop(0.8f, 0.0006f);
    const SignatureBuffer dut = Loop(0.95f, 0.0002f);
    TestPlan plan;
    ResizeTable(plan, 2, kPlanColumns);
    const GeneratorSettings settings{1000, 1000, 50, 0, 0, 0, 0};
    StoreSignature(plan, 2, kGoldenBlock, settings, 64, golden.X, golden.Y);
    StoreSignature(plan, 2, kDutBlock, settings, 64, dut.X, dut.Y);
    SetCell(plan, 2, column::kStatus, "Bad");
    for (auto _ : state)
        benchmark::DoNotOptimize(ClassifyRecord(plan, 2));
}
BENCHMARK(BM_ClassifyRecord)->Unit(benchmark::kMicrosecond);

void BM_DetectSignatureState(benchmark::State& state) {
    Signatures signatures;
    signatures.LiveSignature = Loop(0.8f, 0.0006f);
    Measurement measurement;
    const Settings settings;
    DetectSignatureState(signatures, measurement, {1000, 1000, 64},
                         settings);  // sets the reference
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            DetectSignatureState(signatures, measurement, {1000, 1000, 64}, settings));
    }
}
BENCHMARK(BM_DetectSignatureState);

void BM_ScaleFrame(benchmark::State& state) {
    std::array<std::int32_t, kSignatureEntries> rawA{};
    std::array<std::int32_t, kSignatureEntries> rawB{};
    for (int i = 1; i <= 64; ++i) {
        rawA[i] = 80 * (2000 + 17 * i);
        rawB[i] = 80 * (3000 - 13 * i);
    }
    FrameScaling scaling;
    scaling.Adc0Gain = 0.001f;
    scaling.Adc1Gain = 0.001f;
    scaling.AccumulateA = 16;
    scaling.AccumulateB = 5;
    SignatureBuffer live;
    for (auto _ : state) {
        ScaleFrame(rawA, rawB, scaling, live);
        benchmark::DoNotOptimize(live);
    }
}
BENCHMARK(BM_ScaleFrame);

}  // namespace
}  // namespace orv

BENCHMARK_MAIN();
