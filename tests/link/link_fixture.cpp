#include "link_fixture.h"

#include "core/files.h"
#include "link/commands.h"
#include "link/comms_thread.h"
#include "link/connection.h"
#include "link/sim/simulated_driver.h"

namespace orv::test {

void ScriptedLinkTest::SetUp() {
    InWorkingDir::SetUp();
    log.dialogs = &dialogs;
    link.driver = &driver;
    UseVirtualTime(link.clock, 5000);
    link.state.Connected = true;
}

void SimulatedLinkTest::SetUp() {
    InWorkingDir::SetUp();
    log.dialogs = &dialogs;
    UseVirtualTime(link.clock, 1000000);
    UseModel("ORV320");
}

void SimulatedLinkTest::UseModel(const std::string& model) {
    driver.reset();
    instrument = sim::MakeInstrument(model, &link.clock);
    driver = sim::MakeSimulatedDriver(*instrument);
    link.driver = driver.get();
    app.settings.ActiveInstrument = model;
}

void SimulatedLinkTest::TearDown() {
    driver.reset();
    InWorkingDir::TearDown();
}

void SimulatedLinkTest::Connect() {
    ConnectMenuItem(link, app, log);
}

void SimulatedLinkTest::Turn() {
    CommsThreadPass(link, app, log);
    if (app.ReconnectRequested.exchange(false) && !link.state.Connected) {
        WriteLogLine(log, "Auto-reconnect: initiating connection from UI thread");
        ORV_StartConnection(link, app, log);
        if (link.state.Connected)
            ++reconnections;
    }
}

void SimulatedLinkTest::Run(int ms) {
    const std::int64_t end = NowMs(link.clock) + ms;
    while (NowMs(link.clock) < end)
        Turn();
}

bool SimulatedLinkTest::TakeFrame(RawFrame& frame) {
    std::lock_guard lock(link.frameMutex);
    if (!link.frames.NewFrame)
        return false;
    link.frames.NewFrame = false;
    frame = link.frames.raw;
    return true;
}

void SimulatedLinkTest::ApplySettings(float millivolts, float ohms, float hertz) {
    app.GeneratorRequest.PeakMillivolts = millivolts;
    app.GeneratorRequest.SourceOhms = ohms;
    app.GeneratorRequest.FrequencyHz = hertz;
    app.GeneratorApplied = app.GeneratorRequest;
    SendGeneratorSettings(link, app);
}

}  // namespace orv::test
