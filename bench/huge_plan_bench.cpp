// A plan of very many rows in the running program (offscreen), as a file of nothing
// but line ends makes one: what an idle pass of the main cycle, a record change, the
// interface refresh, a click on the board view and a change of the plan cost with
// 1 000 to 2 000 000 rows. Only the change of the plan may grow with the rows.

#include <benchmark/benchmark.h>

#include "app/display_refresh.h"
#include "app/main_cycle.h"
#include "app/program.h"
#include "app/subsystem_steps.h"
#include "bench_program.h"
#include "testplan/test_plan.h"

namespace {

struct RunningProgram {
    orv::bench::BenchFolder folder{"orv-huge-plan-bench"};
    orv::Program program;

    explicit RunningProgram(int rows) {
        orv::bench::StartBenchProgram(program);
        orv::TestPlan plan;
        orv::ResizeTable(plan, rows, orv::kPlanColumns);
        program.testPlan = std::move(plan);
        program.position.TestPlanIndex = 2;
        orv::RefreshUiState(program);
        orv::RunMainCycle(program);
    }
    ~RunningProgram() { orv::StopCommsThread(program); }
};

// A pass with nothing to do, as most passes are.
void BM_IdlePass(benchmark::State& state) {
    RunningProgram running(static_cast<int>(state.range(0)));
    for (auto _ : state)
        orv::RunMainCycle(running.program);
}
BENCHMARK(BM_IdlePass)->Arg(1000)->Arg(100'000)->Arg(2'000'000)->Unit(benchmark::kMicrosecond);

// Next record and back: trees followed, scope background, mini-scopes, board view.
void BM_RecordChange(benchmark::State& state) {
    RunningProgram running(static_cast<int>(state.range(0)));
    int record = 2;
    for (auto _ : state) {
        record = record == 2 ? 3 : 2;
        running.program.position.TestPlanIndex = record;
        orv::RunMainCycle(running.program);
    }
}
BENCHMARK(BM_RecordChange)->Arg(1000)->Arg(100'000)->Arg(2'000'000)->Unit(benchmark::kMillisecond);

// What every command ends with.
void BM_RefreshUnchanged(benchmark::State& state) {
    RunningProgram running(static_cast<int>(state.range(0)));
    for (auto _ : state)
        orv::RefreshUiState(running.program);
}
BENCHMARK(BM_RefreshUnchanged)
    ->Arg(1000)
    ->Arg(100'000)
    ->Arg(2'000'000)
    ->Unit(benchmark::kMillisecond);

// The board view's pins for a click, the plan unchanged.
void BM_BoardPinsUnchanged(benchmark::State& state) {
    RunningProgram running(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(orv::CurrentBoardPins(running.program).clickable.data());
}
BENCHMARK(BM_BoardPinsUnchanged)
    ->Arg(1000)
    ->Arg(100'000)
    ->Arg(2'000'000)
    ->Unit(benchmark::kMicrosecond);

// A verdict changes the plan: the board's pin list is made again once.
void BM_PlanChanged(benchmark::State& state) {
    RunningProgram running(static_cast<int>(state.range(0)));
    bool bad = false;
    for (auto _ : state) {
        bad = !bad;
        orv::SetCell(running.program.testPlan, 2, orv::column::kStatus, bad ? "Bad" : "Good");
        benchmark::DoNotOptimize(orv::CurrentBoardPins(running.program).clickable.data());
    }
}
BENCHMARK(BM_PlanChanged)->Arg(1000)->Arg(100'000)->Arg(2'000'000)->Unit(benchmark::kMillisecond);

}  // namespace
