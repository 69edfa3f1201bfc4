// The factory calibration as the technician runs it on `orv --simulator`: the demo plan
// open, the instrument connected, the calibration window's "Go!" run to its end against
// the simulated multimeter, the window closed, the instrument connected again. What the
// instrument then stores must be its own truth, and the known-good board must pass its
// automatic test against the plan's golden signatures.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <string>

#include "app/calibration_window.h"
#include "app/running_program.h"
#include "calibration/calibration_controls.h"
#include "core/files.h"
#include "core/settings.h"
#include "link/calibration.h"
#include "link/commands.h"
#include "link/sim/frame_synthesis.h"
#include "link/sim/instrument.h"
#include "testplan/record_cells.h"
#include "ui/controls.h"

namespace orv {
namespace {

namespace fs = std::filesystem;

// The keys "Store Calibration Values" writes that the connection reads back.
const char* const kStoredKeys[] = {"DAC@10V",   "DAC@1V",     "DAC@0V",     "DAC@-1V",  "DAC@-10V",
                                   "ADC0@10V",  "ADC0@0V",    "ADC0@-10V",  "ADC1@10V", "ADC1@0V",
                                   "ADC1@-10V", "DCBIAS@10V", "DCBIAS@-10V"};

using StoredValues = std::map<std::string, long long>;

class CalibrationRunTest : public test::RunningProgram {
protected:
    void SetUp() override {
        RunningProgram::SetUp();
        fs::copy(fs::path(ORV_DEMO_DIR) / "testplans", "testplans", fs::copy_options::recursive);
        Start("ORV320", "ORV_TestPlanFileName=testplans\\demo_B.orv\r\n");
        StartSimulatedMultimeter(program_);
        ASSERT_NE(program_.simMultimeter, nullptr);
        Connect();
    }

    void Menu(int command) {
        while (!program_.gui->pending.empty())
            Pass();
        program_.gui->pending.push_back({ui::EventKind::Menu, command, ui::kMainWindow});
        Pass();
    }

    // The window opened on the connected instrument, "Connect" and "Go!" pressed, the
    // run waited out, the window closed; returns the values the instrument then holds.
    StoredValues CalibrateWithGo() {
        CalibrationContext context = CalibrationContextOf(program_);
        CalibrationWizard wizard;
        EXPECT_TRUE(BeginCalibrationWizard(context, wizard));
        for (int control : {calibration::kDmmConnect, calibration::kGo})
            program_.gui->pending.push_back(
                {ui::EventKind::Control, control, calibration::kWindow});
        bool started = false;
        const std::int64_t until = NowMs(program_.link.clock) + 300000;
        while (NowMs(program_.link.clock) < until && CalibrationWizardPass(context, wizard)) {
            started = started || wizard.run.step != 0;
            if (started && wizard.run.step == 0)
                break;
        }
        EXPECT_TRUE(started);
        EXPECT_EQ(wizard.run.step, 0) << "the run did not end";
        status_ = ui::ControlText(*program_.gui, calibration::kStatus);
        program_.gui->pending.push_back({ui::EventKind::CloseRequest, 0, calibration::kWindow});
        while (CalibrationWizardPass(context, wizard)) {
        }
        EXPECT_FALSE(program_.link.state.Connected);
        StoredValues stored;
        for (const char* key : kStoredKeys)
            stored[key] = ParseSettingNumber(FindSettingValue(kCalibrationFileName, key));
        return stored;
    }

    // The DC level the instrument's calibration output puts out for a DAC code, in the
    // output range given.
    double OutputVolts(long long code, bool highRange) {
        sim::RegisterFile registers(sim::kSimRegisterCount);
        registers[kRegControl] = kControlCalibrationOutput | (highRange ? kControlHighRange : 0);
        registers[3] = static_cast<std::uint32_t>(static_cast<std::int32_t>(code));
        return sim::DriveFromRegisters(registers, program_.simulator->hardware, true).dcVolts;
    }

    // The automatic test of the whole plan, the simulated hand following it.
    void TestEveryPin() {
        ui::SetControlChecked(*program_.gui, kProbeFollowPlan, true);
        while (!program_.gui->pending.empty())
            Pass();
        program_.gui->pending.push_back(
            {ui::EventKind::Control, kProbeFollowPlan, kSimProbeWindow});
        Pass();
        ui::SetControlChecked(*program_.gui, kControlEditCapture, false);
        Press(kControlEditCapture);
        Press(kControlWorkingMode);
        ASSERT_EQ(program_.working.WorkingMode, kAutomaticTest);
        const std::int64_t until = NowMs(program_.link.clock) + 600000;
        while (NowMs(program_.link.clock) < until && program_.working.WorkingMode != kManualTest)
            Pass();
        ASSERT_EQ(program_.working.WorkingMode, kManualTest)
            << "stuck at record " << program_.position.TestPlanIndex;
    }

    std::string status_;  // the window's status field when the run ended
};

TEST_F(CalibrationRunTest, AfterGoAndAReconnectEveryPinOfTheGoodUnitIsGood) {
    const sim::HardwareConstants truth = program_.simulator->hardware;
    const StoredValues stored = CalibrateWithGo();
    EXPECT_EQ(status_, "0: idle");

    // Every level the stored codes give, in the range the generator uses it in, within
    // 0.1 %; 0 V within a millivolt.
    const struct {
        const char* key;
        double volts;
        bool highRange;
    } levels[] = {{"DAC@10V", 10.0, true}, {"DAC@1V", 1.0, false},   {"DAC@0V", 0.0, false},
                  {"DAC@0V", 0.0, true},   {"DAC@-1V", -1.0, false}, {"DAC@-10V", -10.0, true}};
    for (const auto& level : levels) {
        SCOPED_TRACE(std::string(level.key) + (level.highRange ? " high" : " low") + " range");
        const double tolerance = std::max(std::abs(level.volts) * 0.001, 0.001);
        EXPECT_NEAR(OutputVolts(stored.at(level.key), level.highRange), level.volts, tolerance);
    }

    // The connection loads gains within 0.1 % of the hardware's own, the DC bias among
    // them, and finds nothing to reset.
    Connect();
    const Calibration& loaded = program_.link.calibration;
    const struct {
        const char* name;
        double gain;
        double truth;
    } gains[] = {{"ADC0", loaded.Adc0Gain, 1.0 / truth.adc0CountsPerVolt},
                 {"ADC1", loaded.Adc1Gain, 1.0 / truth.adc1CountsPerVolt},
                 {"DCBIAS", loaded.DcBiasGain, truth.dcBiasCodesPerVolt}};
    for (const auto& g : gains)
        EXPECT_NEAR(g.gain, g.truth, g.truth * 0.001) << g.name;
    EXPECT_NEAR((truth.adc1ZeroCount + loaded.Adc1Offset) * loaded.Adc1Gain, 0.0, 0.002);
    EXPECT_EQ(ReadWholeFile("log.txt").value_or("").find("invalid"), std::string::npos);

    // The user's view: the good unit passes against the goldens, pin by pin.
    TestEveryPin();
    const TestPlan& plan = program_.testPlan;
    for (int row = 2; row <= RowCount(plan); ++row) {
        EXPECT_EQ(Cell(plan, row, column::kStatus), "Good")
            << Cell(plan, row, column::kDescription);
    }
}

}  // namespace
}  // namespace orv
