// Loading and saving a large test plan, and the memory it takes.

#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <random>
#include <string>

#include "core/event_log.h"
#include "core/files.h"
#include "testplan/orv_file.h"
#include "testplan/record_cells.h"

namespace orv {
namespace {

constexpr int kRecords = 1000;

// 1000 records of 576 columns, each with a 64-point golden and DUT signature.
TestPlan LargePlan() {
    std::mt19937 random(3);
    std::uniform_real_distribution<float> volts(-10.0f, 10.0f);
    std::uniform_real_distribution<float> amps(-0.01f, 0.01f);
    TestPlan plan;
    ResizeTable(plan, kRecords + 1, kPlanColumns);
    SetCell(plan, 1, column::kImageFile, "testplans\\images\\board.png");
    std::array<float, kMaxStoredPoints + 1> x{};
    std::array<float, kMaxStoredPoints + 1> y{};
    const GeneratorSettings generator{1000, 1000, 50, 0, 0, 0, 0};
    for (int row = 2; row <= kRecords + 1; ++row) {
        const std::string component = "IC" + std::to_string(row / 16 + 1);
        const std::string pin = std::to_string(row % 16 + 1);
        SetCell(plan, row, column::kDescription, component + ", Pin " + pin);
        SetCell(plan, row, column::kStatus, "Good");
        SetCell(plan, row, column::kComponent, component);
        SetCell(plan, row, column::kPin, pin);
        SetCell(plan, row, column::kViewX, "812");
        SetCell(plan, row, column::kViewY, "533");
        SetCell(plan, row, column::kZoom, "1.5");
        SetCell(plan, row, column::kTestX, "640");
        SetCell(plan, row, column::kTestY, "480");
        SetCell(plan, row, column::kScanSig, "0");
        SetCell(plan, row, column::kScanCom, "0");
        SetCell(plan, row, column::kSignature, "Yes");
        for (int block : {kGoldenBlock, kDutBlock}) {
            for (int i = 1; i <= 64; ++i) {
                x[i] = volts(random);
                y[i] = amps(random);
            }
            StoreSignature(plan, row, block, generator, 64, x, y);
        }
    }
    return plan;
}

std::size_t PlanBytes(const TestPlan& plan) {
    std::size_t bytes = sizeof(TestPlan) + plan.rows.capacity() * sizeof(TestPlanRow);
    for (const TestPlanRow& row : plan.rows) {
        // Texts longer than the short-string room live on the heap.
        if (row.text.capacity() > 15)
            bytes += row.text.capacity() + 1;
        bytes += row.ends.capacity() * sizeof(std::uint32_t);
    }
    return bytes;
}

// The benchmarks work in a temporary folder of their own, removed at the end.
struct ScratchFolder {
    std::filesystem::path path;
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "orv-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            return;
        path = pattern;
        std::filesystem::current_path(path);
    }
    ~ScratchFolder() {
        if (path.empty())
            return;
        std::error_code ignored;
        std::filesystem::current_path(path.parent_path(), ignored);
        std::filesystem::remove_all(path, ignored);
    }
};

void EnterScratchFolder() {
    static const ScratchFolder folder;
}

void BM_LoadTestPlan(benchmark::State& state) {
    EnterScratchFolder();
    EventLog log;
    SaveTestPlan(LargePlan(), log, "large.orv");
    TestPlan plan;
    for (auto _ : state) {
        LoadTestPlan(plan, log, "large.orv");
        benchmark::DoNotOptimize(plan);
    }
    state.counters["file_bytes"] = static_cast<double>(ReadWholeFile("large.orv")->size());
    state.counters["plan_bytes"] = static_cast<double>(PlanBytes(plan));
}
BENCHMARK(BM_LoadTestPlan)->Unit(benchmark::kMillisecond);

void BM_SaveTestPlan(benchmark::State& state) {
    EnterScratchFolder();
    EventLog log;
    const TestPlan plan = LargePlan();
    for (auto _ : state)
        SaveTestPlan(plan, log, "saved.orv");
}
BENCHMARK(BM_SaveTestPlan)->Unit(benchmark::kMillisecond);

// The parts without the disk: text to table and table to text.
void BM_ParseTestPlan(benchmark::State& state) {
    const std::string bytes = TestPlanBytes(LargePlan());
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseTestPlan(bytes));
}
BENCHMARK(BM_ParseTestPlan)->Unit(benchmark::kMillisecond);

void BM_TestPlanBytes(benchmark::State& state) {
    const TestPlan plan = LargePlan();
    for (auto _ : state)
        benchmark::DoNotOptimize(TestPlanBytes(plan));
}
BENCHMARK(BM_TestPlanBytes)->Unit(benchmark::kMillisecond);

void BM_StoreSignature(benchmark::State& state) {
    TestPlan plan = LargePlan();
    std::array<float, kMaxStoredPoints + 1> x{};
    std::array<float, kMaxStoredPoints + 1> y{};
    for (int i = 1; i <= 64; ++i) {
        x[i] = 0.123456f * static_cast<float>(i);
        y[i] = -0.0000123f * static_cast<float>(i);
    }
    const GeneratorSettings generator{1000, 1000, 50, 0, 0, 0, 0};
    int row = 2;
    for (auto _ : state) {
        StoreSignature(plan, row, kDutBlock, generator, 64, x, y);
        row = row == kRecords + 1 ? 2 : row + 1;
    }
}
BENCHMARK(BM_StoreSignature)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace orv

BENCHMARK_MAIN();
