// From the probe touching a pin to the automatic test's verdict, counted in frames of
// the simulated instrument, for the capture delays 2, 10 and 20 cycles: the running
// program offscreen, the link's clock ten times fast.

#include <benchmark/benchmark.h>

#include <functional>
#include <string>

#include "app/commands.h"
#include "app/program.h"
#include "app/startup.h"
#include "app/subsystem_steps.h"
#include "bench_program.h"
#include "core/files.h"
#include "display/ribbon_tables.h"
#include "link/connection.h"
#include "link/sim/simulated_driver.h"
#include "testplan/record_cells.h"
#include "ui/controls.h"

namespace {

using namespace orv;

struct Bench {
    bench::BenchFolder folder{"orv-verdict-bench"};
    Program program;

    Bench() {
        MakeFolder("settings");
        CreateNewFile("settings/colours.txt", "");
        WriteWholeFile("ORV_settings.txt", "ActiveInstrument=ORV310\r\n");
        UseFastTime(program.link.clock, 10);
        program.simulator = sim::MakeInstrument("ORV310", &program.link.clock);
        program.driver = sim::MakeSimulatedDriver(*program.simulator);
        bench::StartBenchProgram(program);
        ConnectMenuItem(program.link, program.app, program.log);
    }
    ~Bench() { StopCommsThread(program); }

    std::uint64_t Frames() { return sim::Inspect(*program.simulator).counters.framesSent; }

    void PassUntil(const std::function<bool()>& done) {
        const std::int64_t until = NowMs(program.link.clock) + 20000;
        while (!done() && NowMs(program.link.clock) < until)
            RunTopLevelPass(program);
    }
    void PassFrames(std::uint64_t frames) {
        const std::uint64_t until = Frames() + frames;
        PassUntil([&] { return Frames() >= until; });
    }
};

void BM_TouchToVerdict(benchmark::State& state) {
    Bench bench;
    Program& program = bench.program;
    const std::string delay = std::to_string(state.range(0)) + " cycles";
    // One record, its golden captured by hand on the same pin.
    TestPlan& plan = program.testPlan;
    plan = TestPlan{};
    ResizeTable(plan, 2, kPlanColumns);
    SetCell(plan, 2, column::kComponent, "R1");
    SetCell(plan, 2, column::kPin, "2");
    program.position.TestPlanIndex = 2;
    sim::TouchPin(*program.simulator, "R1", "2");
    bench.PassFrames(30);
    ui::SetControlChecked(*program.gui, kControlEditCapture, true);
    HandlePanelCommand(program, kControlGood);
    ui::SetControlChecked(*program.gui, kControlEditCapture, false);
    program.app.settings.SignatureCaptureDelay = delay;

    double frames = 0;
    for (auto _ : state) {
        SetCell(plan, 2, column::kStatus, "Untested");
        program.position.TestPlanIndex = 2;
        sim::LiftProbe(*program.simulator);
        program.working.WorkingMode = kAutomaticTest;
        program.working.AutoTestStep = 0;
        bench.PassUntil([&] { return program.working.AutoTestStep == 2; });
        const std::uint64_t touched = bench.Frames();
        sim::TouchPin(*program.simulator, "R1", "2");
        bench.PassUntil([&] { return CellView(plan, 2, column::kStatus) != "Untested"; });
        frames = static_cast<double>(bench.Frames() - touched);
    }
    state.counters["frames"] = frames;
    state.counters["ms_at_48_frames_a_second"] = frames * 1000.0 / 48.0;
}
BENCHMARK(BM_TouchToVerdict)
    ->Arg(2)
    ->Arg(10)
    ->Arg(20)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

}  // namespace
