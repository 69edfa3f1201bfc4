// The interface refresh of a big plan inside the running program (offscreen): a
// refresh when nothing changed, as every command ends with one, and the first fill of
// both record trees, as after opening the plan.

#include <benchmark/benchmark.h>

#include <string>

#include "app/display_refresh.h"
#include "app/program.h"
#include "bench_program.h"
#include "display/ribbon_tables.h"
#include "testplan/test_plan.h"
#include "ui/controls.h"

namespace {

constexpr int kRecords = 5000;

// 5000 records: components of 16 pins, a tenth of them Bad, the rest mixed.
void FillBigPlan(orv::TestPlan& plan) {
    using namespace orv;
    plan = TestPlan{};
    ResizeTable(plan, kRecords + 1, 40);
    const char* results[] = {"Good", "Good", "Untested", "Good", "NoTest",
                             "Good", "Good", "Good",     "Good", "Bad"};
    for (int row = 2; row <= kRecords + 1; ++row) {
        const int record = row - 2;
        SetCell(plan, row, column::kComponent, "IC" + std::to_string(record / 16 + 1));
        SetCell(plan, row, column::kPin, std::to_string(record % 16 + 1));
        SetCell(plan, row, column::kUserText, record % 16 == 7 ? "GND" : "");
        SetCell(plan, row, column::kStatus, results[record % 10]);
        SetCell(plan, row, column::kSignature, record % 50 == 3 ? "" : "Yes");
    }
}

struct RunningProgram {
    orv::bench::BenchFolder folder{"orv-refresh-bench"};
    orv::Program program;

    RunningProgram() {
        orv::bench::StartBenchProgram(program);
        FillBigPlan(program.testPlan);
        program.position.TestPlanIndex = 2000;
        orv::RefreshUiState(program);
    }
};

void BM_RefreshUnchanged5000(benchmark::State& state) {
    RunningProgram running;
    for (auto _ : state)
        orv::RefreshUiState(running.program);
}
BENCHMARK(BM_RefreshUnchanged5000)->Unit(benchmark::kMillisecond);

void BM_FirstTreeFill5000(benchmark::State& state) {
    RunningProgram running;
    orv::ui::Gui& gui = *running.program.gui;
    for (auto _ : state) {
        state.PauseTiming();
        orv::ui::ClearTree(gui, orv::kControlTestTree);
        orv::ui::ClearTree(gui, orv::kControlBadTree);
        state.ResumeTiming();
        orv::FillRecordTrees(running.program);
    }
}
BENCHMARK(BM_FirstTreeFill5000)->Unit(benchmark::kMillisecond);

}  // namespace
