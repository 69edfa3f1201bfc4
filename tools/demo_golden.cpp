#include "tools/demo_golden.h"

#include <cstdio>
#include <mutex>

#include "core/event_log.h"
#include "core/instrument_model.h"
#include "engine/scaling.h"
#include "link/commands.h"
#include "link/comms_thread.h"
#include "link/connection.h"
#include "link/link_state.h"
#include "link/sim/instrument.h"
#include "link/sim/simulated_driver.h"

namespace orv::demo {
namespace {

// Plenty of frames at 20.8 ms each: the pin's waveform is steady by then.
constexpr int kSettleMs = 200;
constexpr int kFrameWaitMs = 1000;

void Run(Link& link, AppState& app, EventLog& log, int ms) {
    const std::int64_t end = NowMs(link.clock) + ms;
    while (NowMs(link.clock) < end)
        CommsThreadPass(link, app, log);
}

// The first frame that arrives from now on, scaled as the main cycle scales it.
bool TakeNextFrame(Link& link, AppState& app, EventLog& log, GoldenSignature& golden) {
    {
        std::lock_guard lock(link.frameMutex);
        link.frames.NewFrame = false;
    }
    const std::int64_t end = NowMs(link.clock) + kFrameWaitMs;
    while (NowMs(link.clock) < end) {
        CommsThreadPass(link, app, log);
        std::lock_guard lock(link.frameMutex);
        if (!link.frames.NewFrame)
            continue;
        const FrameScaling scaling = FrameScalingOf(link.calibration, link.generator);
        ScaleFrame(link.frames.raw.channelA, link.frames.raw.channelB, scaling, golden.points);
        golden.pointCount = link.generator.SignaturePointCount;
        return true;
    }
    return false;
}

}  // namespace

std::optional<std::vector<GoldenSignature>> MeasureGoldenSignatures(
    const std::vector<sim::BoardPin>& pins, const GeneratorSettings& settings) {
    Link link;
    AppState app;
    EventLog log;
    UseVirtualTime(link.clock, 1000000);
    const std::string model(kDefaultInstrumentModel);
    app.settings.ActiveInstrument = model;
    const auto instrument = sim::MakeInstrument(model, &link.clock);
    const auto driver = sim::MakeSimulatedDriver(*instrument);
    link.driver = driver.get();
    sim::SelectBoard(*instrument, sim::BoardUnit::KnownGood);

    ConnectMenuItem(link, app, log);
    if (!link.state.Connected) {
        std::fprintf(stderr, "orv-make-demo-plans: the simulated instrument did not connect\n");
        return std::nullopt;
    }
    app.GeneratorRequest = settings;
    app.GeneratorApplied = settings;
    SendGeneratorSettings(link, app);

    std::vector<GoldenSignature> signatures;
    for (const sim::BoardPin& pin : pins) {
        sim::TouchPin(*instrument, pin.component, pin.pin);
        Run(link, app, log, kSettleMs);
        GoldenSignature golden;
        if (!TakeNextFrame(link, app, log, golden)) {
            std::fprintf(stderr, "orv-make-demo-plans: no frame for %s pin %s\n",
                         pin.component.c_str(), pin.pin.c_str());
            return std::nullopt;
        }
        signatures.push_back(golden);
    }
    sim::LiftProbe(*instrument);
    ORV_StopConnection(link, log);
    return signatures;
}

}  // namespace orv::demo
