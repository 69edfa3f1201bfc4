// The calibration window as the menu will open it: on the running program, with the
// simulated instrument and the simulated multimeter that "--simulator" starts.

#include <gtest/gtest.h>

#include <cmath>

#include "app/calibration_window.h"
#include "app/startup.h"
#include "calibration/calibration_controls.h"
#include "core/files.h"
#include "link/connection.h"
#include "link/sim/simulated_driver.h"
#include "support/working_dir.h"

namespace orv {
namespace {

class CalibrationWindowTest : public test::InWorkingDir {
protected:
    void SetUp() override {
        InWorkingDir::SetUp();
        ASSERT_TRUE(MakeFolder("settings"));
        ASSERT_TRUE(CreateNewFile("settings/colours.txt", ""));
        ASSERT_TRUE(CreateNewFile("ORV_settings.txt", "ActiveInstrument=ORV320\r\n"));
        program_.dialogs = std::make_unique<ui::ScriptedDialogs>();
        program_.gui = std::make_unique<ui::Gui>();
        UseFastTime(program_.link.clock, 10);
        program_.simulator = sim::MakeInstrument("ORV320", &program_.link.clock);
        program_.driver = sim::MakeSimulatedDriver(*program_.simulator);
        StartOptions options;
        options.settleMs = 0;
        StartUp(program_, options);
        StartSimulatedMultimeter(program_);
        ASSERT_NE(program_.simMultimeter, nullptr);
    }

    void Press(int control) {
        program_.gui->pending.push_back({ui::EventKind::Control, control, calibration::kWindow});
    }

    Program program_;
};

TEST_F(CalibrationWindowTest, TheSimulatedMultimeterReadsTheSimulatedInstrument) {
    ConnectMenuItem(program_.link, program_.app, program_.log);
    ASSERT_TRUE(program_.link.state.Connected);
    program_.gui->pending.clear();
    Press(calibration::BlockControl(0, calibration::kBlockSetOutput));  // +10 V
    Press(calibration::kDmmConnect);                                    // the address shown
    Press(calibration::kDmmMeasure);
    program_.gui->pending.push_back({ui::EventKind::CloseRequest, 0, calibration::kWindow});
    OpenCalibrationWindow(program_);

    EXPECT_FALSE(ui::IsWindowOpen(*program_.gui, calibration::kWindow));
    EXPECT_FALSE(program_.link.state.Connected);
    EXPECT_TRUE(DmmConnected(program_.dmm));
    EXPECT_NEAR(program_.dmm.DmmReading, 10.0, 0.01);
}

}  // namespace
}  // namespace orv
