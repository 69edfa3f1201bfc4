// From a good frame handed over by the communications thread to the main scope painted:
// the main cycle takes and scales the frame, composes the trace layer, runs the
// stability detection, writes the status line and the window repaints (offscreen).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <cmath>
#include <cstdlib>
#include <mutex>

#include "app/main_cycle.h"
#include "app/program.h"
#include "bench_program.h"

namespace {

void BM_FrameToScreen(benchmark::State& state) {
    const orv::bench::BenchFolder folder("orv-frame-to-screen");
    orv::Program program;
    orv::bench::StartBenchProgram(program);
    // Settled and sent, as while streaming: only the frame is new in each pass.
    program.app.GeneratorApplied = program.app.GeneratorRequest;
    program.link.state.Connected = true;
    program.link.calibration.Adc0Gain = program.link.calibration.Adc1Gain = 1e-4f;
    program.link.generator.AccumulateA = 20;
    program.link.generator.AccumulateB = 4;
    for (int pass = 0; pass < 10; ++pass)
        orv::RunMainCycle(program);

    orv::RawFrame frame;
    for (int i = 1; i <= 64; ++i) {
        const double phase = 2 * M_PI * (i - 1) / 64;
        frame.channelA[i] = static_cast<std::int32_t>(80 * 10000 * std::sin(phase));
        frame.channelB[i] = static_cast<std::int32_t>(80 * 6000 * std::tanh(2 * std::sin(phase)));
    }
    for (auto _ : state) {
        {
            std::lock_guard lock(program.link.frameMutex);
            program.link.frames.raw = frame;
            program.link.frames.NewFrame = true;
        }
        orv::RunMainCycle(program);
        QApplication::processEvents();  // the repaint
    }
    program.link.state.Connected = false;
}
BENCHMARK(BM_FrameToScreen)->Unit(benchmark::kMicrosecond);

}  // namespace
