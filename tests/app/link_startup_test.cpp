// The link inside the running program: the communications thread started with the main
// window, and the top-level loop serving the reconnection it asks for.

#include <gtest/gtest.h>

#include <thread>

#include "app/startup.h"
#include "core/files.h"
#include "display/ribbon_tables.h"
#include "link/connection.h"
#include "link/sim/simulated_driver.h"
#include "support/working_dir.h"
#include "ui/controls.h"

namespace orv {
namespace {

class LinkStartUpTest : public test::InWorkingDir {
protected:
    void SetUp() override {
        InWorkingDir::SetUp();
        program_.dialogs = std::make_unique<ui::ScriptedDialogs>();
        program_.gui = std::make_unique<ui::Gui>();
        // Twenty times fast, so that time-outs and probes pass in a moment.
        UseFastTime(program_.link.clock, 20);
        program_.simulator = sim::MakeInstrument("ORV310", &program_.link.clock);
        program_.driver = sim::MakeSimulatedDriver(*program_.simulator);
        options_.settleMs = 0;
        StartUp(program_, options_);
    }
    // Top-level passes until `done` holds or ten seconds of the fast clock have passed.
    template <class Done>
    bool LoopUntil(Done done) {
        const std::int64_t until = NowMs(program_.link.clock) + 10000;
        while (NowMs(program_.link.clock) < until) {
            if (done())
                return true;
            RunTopLevelPass(program_);
        }
        return false;
    }
    // The main cycle shows the rail voltage of each frame it takes; a lost connection
    // shows " USB disconnected" instead. (The frame buffer itself is no witness: the
    // loop, woken by each frame, takes it at once.)
    bool FrameShown() {
        return ui::ControlText(*program_.gui, kControlInstrumentStatusText).starts_with("USB rail");
    }

    Program program_;
    StartOptions options_;
};

TEST_F(LinkStartUpTest, StreamsAndReconnectsThroughTheTopLevelLoop) {
    ASSERT_TRUE(program_.commsThread.joinable());
    ConnectMenuItem(program_.link, program_.app, program_.log);
    ASSERT_TRUE(program_.link.state.Connected);
    EXPECT_TRUE(LoopUntil([&] { return FrameShown(); }));

    sim::Unplug(*program_.simulator);
    EXPECT_TRUE(LoopUntil([&] { return !program_.link.state.Connected; }));
    sim::Replug(*program_.simulator);
    EXPECT_TRUE(LoopUntil([&] { return program_.link.state.Connected.load(); }));
    const auto lines = ReadTextLines(kLogFileName).value_or(std::vector<std::string>{});
    EXPECT_NE(lines.back().find("Calibration loaded:"), std::string::npos);
    bool served = false;
    for (const std::string& line : lines) {
        served = served || line.ends_with("Auto-reconnect: initiating connection from UI thread");
    }
    EXPECT_TRUE(served);
    EXPECT_TRUE(LoopUntil([&] { return FrameShown(); }));
}

}  // namespace
}  // namespace orv
