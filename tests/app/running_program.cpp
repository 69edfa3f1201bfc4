#include "app/running_program.h"

#include "core/files.h"
#include "display/ribbon_tables.h"
#include "link/sim/simulated_driver.h"
#include "support/clock_speed.h"
#include "ui/controls.h"

namespace orv::test {

void RunningProgram::SetUp() {
    InWorkingDir::SetUp();
    ASSERT_TRUE(MakeFolder("settings"));
    ASSERT_TRUE(CreateNewFile("settings/colours.txt", ""));
    program_.dialogs = std::make_unique<ui::ScriptedDialogs>();
    program_.gui = std::make_unique<ui::Gui>();
    // Ten times fast: the connection's waits and the frames pass in a moment, and the
    // 1.5 s data time-out still leaves 150 ms of real time to a slow pass.
    UseFastTime(program_.link.clock, test::ClockSpeed(10));
    options_.settleMs = 0;
}

void RunningProgram::Start(const std::string& model, const std::string& moreSettings) {
    ASSERT_TRUE(
        CreateNewFile("ORV_settings.txt", "ActiveInstrument=" + model + "\r\n" + moreSettings));
    program_.simulator = sim::MakeInstrument(model, &program_.link.clock);
    program_.driver = sim::MakeSimulatedDriver(*program_.simulator);
    StartUp(program_, options_);
    // The first pass lays the window out and draws the connection indicator.
    Pass();
}

bool RunningProgram::LoopUntil(const std::function<bool()>& done) {
    const std::int64_t until = NowMs(program_.link.clock) + 10000;
    while (NowMs(program_.link.clock) < until) {
        if (done())
            return true;
        Pass();
    }
    return done();
}

std::uint64_t RunningProgram::FramesSent() {
    return sim::Inspect(*program_.simulator).counters.framesSent;
}

void RunningProgram::PassFrames(std::uint64_t frames) {
    const std::uint64_t until = FramesSent() + frames;
    ASSERT_TRUE(LoopUntil([&] { return FramesSent() >= until; }));
}

std::uint64_t RunningProgram::WritesAccepted() {
    const sim::Counters counters = sim::Inspect(*program_.simulator).counters;
    return counters.packetsAccepted - counters.polls;
}

std::uint32_t RunningProgram::InstrumentRegister(int number) {
    return sim::Inspect(*program_.simulator).registers[static_cast<size_t>(number)];
}

void RunningProgram::ClickAt(int x, int y) {
    while (!program_.gui->pending.empty())
        Pass();
    program_.gui->pending.push_back({ui::EventKind::LeftClick, 0, ui::kMainWindow, x, y});
    Pass();
}

void RunningProgram::ClickConnectionIndicator() {
    const ui::Rect panel = ui::ControlRect(*program_.gui, kControlRibbonPanel);
    const ui::Rect indicator = ui::ControlRect(*program_.gui, kControlConnectionIndicator);
    ClickAt(panel.x + indicator.x + indicator.width / 2,
            panel.y + indicator.y + indicator.height / 2);
}

void RunningProgram::Connect() {
    ClickConnectionIndicator();
    ASSERT_TRUE(program_.link.state.Connected);
    // The pass after the connection sends the user's request.
    Pass();
}

void RunningProgram::Press(int control) {
    while (!program_.gui->pending.empty())
        Pass();
    program_.gui->pending.push_back({ui::EventKind::Control, control, ui::kMainWindow});
    Pass();
}

}  // namespace orv::test
