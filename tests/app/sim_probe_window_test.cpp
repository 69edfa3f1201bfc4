// The simulated probe window: the technician's hand on the simulated instrument.

#include "app/sim_probe_window.h"

#include <gtest/gtest.h>

#include <thread>

#include "app/program.h"
#include "app/startup.h"
#include "core/clock.h"
#include "core/files.h"
#include "link/sim/simulated_driver.h"
#include "support/working_dir.h"
#include "testplan/test_plan.h"
#include "ui/controls.h"

namespace orv {
namespace {

class SimProbeWindowTest : public test::InWorkingDir {
protected:
    void SetUp() override {
        InWorkingDir::SetUp();
        program_.dialogs = std::make_unique<ui::ScriptedDialogs>();
        program_.gui = std::make_unique<ui::Gui>();
        program_.simulator = sim::MakeInstrument("ORV310", &program_.link.clock);
        program_.driver = sim::MakeSimulatedDriver(*program_.simulator);
        StartOptions options;
        options.simulator = true;
        options.settleMs = 0;
        StartUp(program_, options);
    }
    sim::Probe Probe() { return sim::Inspect(*program_.simulator).probe; }
    void Control(int number) {
        // Ahead of whatever the start-up left queued (resizes), so this pass serves it.
        program_.gui->pending.push_front({ui::EventKind::Control, number, kSimProbeWindow});
        RunTopLevelPass(program_);
    }
    // Passes of the loop until `done` or a second has gone by.
    template <class Done>
    bool PassUntil(Done done) {
        const std::int64_t until = MonotonicMs() + 1000;
        while (MonotonicMs() < until) {
            RunTopLevelPass(program_);
            if (done())
                return true;
        }
        return false;
    }

    Program program_;
};

TEST_F(SimProbeWindowTest, TouchesAndLiftsTheProbe) {
    ASSERT_TRUE(ui::IsWindowOpen(*program_.gui, kSimProbeWindow));
    EXPECT_FALSE(ui::ListItems(*program_.gui, kProbeComponentList).empty());
    Control(kProbeTouch);
    const sim::Probe touched = Probe();
    EXPECT_EQ(touched.kind, sim::Probe::Kind::Pin);
    EXPECT_EQ(touched.component, ui::ListItems(*program_.gui, kProbeComponentList)[0]);
    Control(kProbeLift);
    EXPECT_EQ(Probe().kind, sim::Probe::Kind::Lifted);
    // Its events never reach the instrument's own controls.
    EXPECT_EQ(program_.app.LastEvent.kind, ui::EventKind::None);
}

TEST_F(SimProbeWindowTest, ButtonsAndFaultsReachTheInstrument) {
    ui::SetControlChecked(*program_.gui, kProbeHoldA, true);
    Control(kProbeHoldA);
    EXPECT_EQ(sim::Inspect(*program_.simulator).buttons & 1, 1);
    ui::SetControlChecked(*program_.gui, kProbeHoldA, false);
    Control(kProbeHoldA);
    EXPECT_EQ(sim::Inspect(*program_.simulator).buttons & 1, 0);
    Control(kProbeUnplug);
    EXPECT_FALSE(sim::Inspect(*program_.simulator).plugged);
    Control(kProbeReplug);
    EXPECT_TRUE(sim::Inspect(*program_.simulator).plugged);
}

TEST_F(SimProbeWindowTest, FollowingThePlanTouchesEachRecordsPinAMomentLater) {
    TestPlan& plan = program_.testPlan;
    ResizeTable(plan, 3, kPlanColumns);
    for (const auto& [row, component, pin] :
         std::vector<std::tuple<int, const char*, const char*>>{{2, "R1", "1"}, {3, "U1", "3"}}) {
        SetCell(plan, row, column::kComponent, component);
        SetCell(plan, row, column::kPin, pin);
    }
    program_.position.TestPlanIndex = 2;
    ui::SetControlChecked(*program_.gui, kProbeFollowPlan, true);
    Control(kProbeFollowPlan);
    EXPECT_EQ(Probe().kind, sim::Probe::Kind::Lifted);  // the hand is still on its way
    ASSERT_TRUE(PassUntil([&] { return Probe().kind == sim::Probe::Kind::Pin; }));
    EXPECT_EQ(Probe().component, "R1");

    program_.position.TestPlanIndex = 3;
    RunTopLevelPass(program_);
    EXPECT_EQ(Probe().kind, sim::Probe::Kind::Lifted);  // lifted as the record changes
    ASSERT_TRUE(PassUntil([&] { return Probe().kind == sim::Probe::Kind::Pin; }));
    EXPECT_EQ(Probe().component, "U1");
    EXPECT_EQ(Probe().pin, "3");
}

TEST_F(SimProbeWindowTest, ClosingItLeavesTheProgramRunning) {
    program_.gui->pending.push_front({ui::EventKind::CloseRequest, 0, kSimProbeWindow});
    RunTopLevelPass(program_);
    EXPECT_FALSE(ui::IsWindowOpen(*program_.gui, kSimProbeWindow));
    EXPECT_FALSE(program_.app.QuitRequested);
}

}  // namespace
}  // namespace orv
