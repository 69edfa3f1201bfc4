// The simulated instrument solves the circuit under the probe for every frame it
// streams (48 per second) unless the circuit and drive are unchanged.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "link/sim/board.h"
#include "link/sim/circuit.h"

namespace orv::sim {
namespace {

struct Named {
    const char* name;
    Circuit circuit;
};

std::vector<Named> Circuits() {
    return {
        {"open", Open()},
        {"resistor", Resistor(1e3)},
        {"capacitor", Capacitor(1e-6)},
        {"diode", Diode()},
        {"zener", Zener(5.1)},
        {"diode_across_capacitor", Parallel(Diode(), Capacitor(1e-6))},
        {"capacitor_into_diode", Series(Capacitor(1e-6), Diode())},
        {"diode_into_rail", Series(Diode(), Parallel(Capacitor(100e-6), Resistor(22e3)))},
    };
}

void BM_SolveSteadyState(benchmark::State& state) {
    const Named c = Circuits()[state.range(0)];
    const Drive d{
        .peakVolts = 1.0, .sourceOhms = 1000.0, .frequencyHz = static_cast<double>(state.range(1))};
    state.SetLabel(c.name);
    for (auto _ : state)
        benchmark::DoNotOptimize(SolveSteadyState(c.circuit, d));
}
BENCHMARK(BM_SolveSteadyState)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5, 6, 7}, {50, 1000, 5000}})
    ->Unit(benchmark::kMicrosecond);

void BM_SolveLargeSignal(benchmark::State& state) {
    const Named c = Circuits()[state.range(0)];
    const Drive d{.peakVolts = 10.0, .sourceOhms = 50.0, .frequencyHz = 50.0, .dcVolts = 2.0};
    state.SetLabel(c.name);
    for (auto _ : state)
        benchmark::DoNotOptimize(SolveSteadyState(c.circuit, d));
}
BENCHMARK(BM_SolveLargeSignal)->DenseRange(5, 7)->Unit(benchmark::kMicrosecond);

// Every pin of the simulated board, one after another, as the automatic test walks it.
void BM_SolveWholeBoard(benchmark::State& state) {
    const SimBoard board = MakeKnownGoodBoard();
    const std::vector<BoardPin> pins = ListPins(board);
    const Drive d;
    for (auto _ : state) {
        for (const BoardPin& p : pins) {
            benchmark::DoNotOptimize(SolveSteadyState(CircuitAt(board, p.component, p.pin), d));
        }
    }
    state.counters["pins"] = static_cast<double>(pins.size());
    state.counters["per_pin_us"] = benchmark::Counter(
        static_cast<double>(pins.size()),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SolveWholeBoard)->Unit(benchmark::kMillisecond);

// The slowest pin of the board: a transistor's collector with four junctions, the
// rail's capacitance behind them.
void BM_SolveCollectorPin(benchmark::State& state) {
    const Circuit c = CircuitAt(MakeKnownGoodBoard(), "Q1", "C");
    const Drive d;
    for (auto _ : state)
        benchmark::DoNotOptimize(SolveSteadyState(c, d));
}
BENCHMARK(BM_SolveCollectorPin)->Unit(benchmark::kMicrosecond);

// A frame while the probe rests on a pin: the board lookup and the cached answer.
void BM_CachedFrame(benchmark::State& state) {
    const SimBoard board = MakeKnownGoodBoard();
    SteadyStateCache cache;
    const Drive d;
    for (auto _ : state) {
        const Circuit c = CircuitAt(board, "Q1", "C");
        benchmark::DoNotOptimize(SolveSteadyStateCached(cache, c, d));
    }
}
BENCHMARK(BM_CachedFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace orv::sim

BENCHMARK_MAIN();
