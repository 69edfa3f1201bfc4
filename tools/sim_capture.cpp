#include "tools/sim_capture.h"

#include <cstdio>
#include <mutex>
#include <string>

#include "core/instrument_model.h"
#include "engine/scaling.h"
#include "link/commands.h"
#include "link/comms_thread.h"
#include "link/connection.h"
#include "link/sim/simulated_driver.h"

namespace orv::demo {
namespace {

// Plenty of frames at 20.8 ms each: the pin's waveform is steady by then.
constexpr int kSettleMs = 200;
constexpr int kFrameWaitMs = 1000;

void Run(SimCapture& c, int ms) {
    const std::int64_t end = NowMs(c.link.clock) + ms;
    while (NowMs(c.link.clock) < end)
        CommsThreadPass(c.link, c.app, c.log);
}

}  // namespace

bool StartSimCapture(SimCapture& c, const char* tool) {
    UseVirtualTime(c.link.clock, 1000000);
    const std::string model(kDefaultInstrumentModel);
    c.app.settings.ActiveInstrument = model;
    c.instrument = sim::MakeInstrument(model, &c.link.clock);
    c.driver = sim::MakeSimulatedDriver(*c.instrument);
    c.link.driver = c.driver.get();
    sim::SelectBoard(*c.instrument, sim::BoardUnit::KnownGood);
    ConnectMenuItem(c.link, c.app, c.log);
    if (!c.link.state.Connected) {
        std::fprintf(stderr, "%s: the simulated instrument did not connect\n", tool);
        return false;
    }
    return true;
}

void ApplyGenerator(SimCapture& c, const GeneratorSettings& settings) {
    if (c.app.GeneratorApplied == settings && c.app.GeneratorRequest == settings)
        return;
    c.app.GeneratorRequest = settings;
    c.app.GeneratorApplied = settings;
    SendGeneratorSettings(c.link, c.app);
}

std::optional<CapturedSignature> CaptureProbed(SimCapture& c) {
    Run(c, kSettleMs);
    {
        std::lock_guard lock(c.link.frameMutex);
        c.link.frames.NewFrame = false;
    }
    const std::int64_t end = NowMs(c.link.clock) + kFrameWaitMs;
    while (NowMs(c.link.clock) < end) {
        CommsThreadPass(c.link, c.app, c.log);
        std::lock_guard lock(c.link.frameMutex);
        if (!c.link.frames.NewFrame)
            continue;
        CapturedSignature signature;
        const FrameScaling scaling = FrameScalingOf(c.link.calibration, c.link.generator);
        ScaleFrame(c.link.frames.raw.channelA, c.link.frames.raw.channelB, scaling,
                   signature.points);
        signature.pointCount = c.link.generator.SignaturePointCount;
        return signature;
    }
    return std::nullopt;
}

void StopSimCapture(SimCapture& c) {
    sim::LiftProbe(*c.instrument);
    ORV_StopConnection(c.link, c.log);
}

}  // namespace orv::demo
