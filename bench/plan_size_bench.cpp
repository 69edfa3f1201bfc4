// Plans of 1 000, 10 000 and 100 000 records in the running program (offscreen): the
// file loaded, and the plan opened as File > Open does it followed by the first pass
// that draws its record (trees, percentages, scopes, mini-scopes, board view). Each
// record has a golden signature; one in ten is judged Bad and carries its DUT signature
// too, as a board part-way through its test. Signatures of 128 points take about 4 KB
// a record, so 100 000 records of them (406 MB) are past the 256 MB a plan may have and
// are refused: that size is measured with 32-point signatures.

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "app/display_refresh.h"
#include "app/main_cycle.h"
#include "app/plan_files.h"
#include "app/program.h"
#include "app/subsystem_steps.h"
#include "bench_program.h"
#include "core/event_log.h"
#include "core/files.h"
#include "testplan/orv_file.h"
#include "testplan/record_cells.h"
#include "testplan/test_plan.h"
#include "ui/control_numbers.h"
#include "ui/controls.h"

namespace {

namespace fs = std::filesystem;

// The folder of the plan files, removed when the benchmarks end: the largest plan is
// a few hundred megabytes.
const fs::path& BenchFolder() {
    static const orv::bench::BenchFolder folder("orv-plan-size-bench");
    return folder.dir;
}

orv::TestPlan MadePlan(int records, int points) {
    using namespace orv;
    TestPlan plan;
    ResizeTable(plan, records + 1, kPlanColumns);
    std::array<float, kMaxStoredPoints + 1> x{};
    std::array<float, kMaxStoredPoints + 1> y{};
    const GeneratorSettings generator{1000, 10000, 50, 0, 0, 0, 0};
    for (int row = kFirstRecordRow; row <= records + 1; ++row) {
        const int record = row - kFirstRecordRow;
        const bool bad = record % 10 == 9;
        SetCell(plan, row, column::kComponent, "IC" + std::to_string(record / 16 + 1));
        SetCell(plan, row, column::kPin, std::to_string(record % 16 + 1));
        SetCell(plan, row, column::kStatus, bad ? "Bad" : "Untested");
        SetCell(plan, row, column::kTestX, std::to_string(40 + record % 1000));
        SetCell(plan, row, column::kTestY, std::to_string(40 + record / 1000 % 700));
        SetCell(plan, row, column::kZoom, "1");
        SetCell(plan, row, column::kSignature, "Yes");
        for (int i = 1; i <= points; ++i) {
            const float phase = 6.2831853f * static_cast<float>(i) / static_cast<float>(points);
            x[static_cast<size_t>(i)] = std::sin(phase) * (1.0f + 0.001f * (record % 97));
            y[static_cast<size_t>(i)] = std::cos(phase) * 0.0001f;
        }
        StoreSignature(plan, row, kGoldenBlock, generator, points, x, y);
        if (bad)
            StoreSignature(plan, row, kDutBlock, generator, points, x, y);
    }
    return plan;
}

// The plan file of the benchmark's records and signature points, made once per run.
std::string PlanFile(const benchmark::State& state) {
    const int records = static_cast<int>(state.range(0));
    const int points = static_cast<int>(state.range(1));
    const std::string name =
        "testplans/size" + std::to_string(records) + "x" + std::to_string(points) + ".orv";
    static std::map<std::string, bool> made;
    if (!made[name]) {
        fs::create_directories(BenchFolder() / "testplans");
        orv::WriteWholeFile((BenchFolder() / name).string(),
                            orv::TestPlanBytes(MadePlan(records, points)));
        made[name] = true;
    }
    return name;
}

void PlanSizes(benchmark::internal::Benchmark* bench) {
    bench->Args({1000, orv::kMaxStoredPoints})
        ->Args({10'000, orv::kMaxStoredPoints})
        ->Args({100'000, 32})
        ->Unit(benchmark::kMillisecond);
}

struct RunningProgram {
    orv::Program program;

    RunningProgram() {
        fs::current_path(BenchFolder());
        orv::bench::StartBenchProgram(program);
        orv::RunMainCycle(program);
    }
    ~RunningProgram() { orv::StopCommsThread(program); }
};

void SetFileCounter(benchmark::State& state, const std::string& file) {
    state.counters["MB"] = static_cast<double>(fs::file_size(BenchFolder() / file)) / 1e6;
}

void BM_LoadTestPlan(benchmark::State& state) {
    const std::string file = PlanFile(state);
    fs::current_path(BenchFolder());
    orv::EventLog log;
    // Loaded over the plan before, as the program does.
    orv::TestPlan plan;
    for (auto _ : state) {
        orv::LoadTestPlan(plan, log, file);
        benchmark::DoNotOptimize(plan.rows.data());
    }
    SetFileCounter(state, file);
}
BENCHMARK(BM_LoadTestPlan)->Apply(PlanSizes);

// File > Open of the plan, then the pass that shows its first record.
void BM_OpenAndFirstRefresh(benchmark::State& state) {
    const std::string file = PlanFile(state);
    RunningProgram running;
    for (auto _ : state) {
        orv::OpenTestPlan(running.program, file);
        orv::RunMainCycle(running.program);
    }
    SetFileCounter(state, file);
}
BENCHMARK(BM_OpenAndFirstRefresh)->Apply(PlanSizes);

// The first refresh alone, the plan already loaded: what the user waits for after the
// file is read.
void BM_FirstRefresh(benchmark::State& state) {
    const std::string file = PlanFile(state);
    RunningProgram running;
    orv::OpenTestPlan(running.program, file);
    const orv::TestPlan loaded = running.program.testPlan;
    for (auto _ : state) {
        state.PauseTiming();
        running.program.testPlan = loaded;  // a new revision: nothing kept is reused
        orv::ui::ClearTree(*running.program.gui, orv::kControlTestTree);
        orv::ui::ClearTree(*running.program.gui, orv::kControlBadTree);
        state.ResumeTiming();
        orv::RefreshUiState(running.program);
        running.program.position.RecordChanged = true;
        orv::RunMainCycle(running.program);
    }
}
BENCHMARK(BM_FirstRefresh)->Apply(PlanSizes);

}  // namespace
