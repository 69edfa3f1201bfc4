// The repair workflow end to end, with no human: the simulated hand follows the plan
// while the automatic capture records the known-good board, the plan is saved and
// opened again, then the automatic test finds the faulty pins of the unit under test.
// The link's clock runs ten times fast, so the whole board takes seconds.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "app/running_program.h"
#include "core/files.h"
#include "display/ribbon_tables.h"
#include "display/ui_refresh.h"
#include "link/sim/simulated_driver.h"
#include "testplan/record_cells.h"
#include "ui/controls.h"
#include "ui/tree_tooltips.h"

namespace orv {
namespace {

namespace fs = std::filesystem;

class AutomaticWorkflowTest : public test::RunningProgram {
protected:
    void SetUp() override {
        RunningProgram::SetUp();
        fs::copy(fs::path(ORV_DEMO_DIR) / "testplans", "testplans", fs::copy_options::recursive);
    }

    void ProbeWindowControl(int control) {
        while (!program_.gui->pending.empty())
            Pass();
        program_.gui->pending.push_back({ui::EventKind::Control, control, kSimProbeWindow});
        Pass();
    }

    void Menu(int command) {
        while (!program_.gui->pending.empty())
            Pass();
        program_.gui->pending.push_back({ui::EventKind::Menu, command, ui::kMainWindow});
        Pass();
    }

    // Passes until the automatic run is back in `manualMode`, within ten minutes of the
    // link's clock. An open pin reads as a lifted probe, so the run waits on it for ever:
    // the technician, seeing "O/C" on a pin the probe touches, judges it Bad by hand
    // (Alt+K), as the test does after two seconds.
    bool RunUntilBackIn(int manualMode) {
        const std::int64_t until = NowMs(program_.link.clock) + 600000;
        std::int64_t openSince = -1;
        while (NowMs(program_.link.clock) < until) {
            if (program_.working.WorkingMode == manualMode)
                return true;
            const bool waitingOnOpenPin =
                program_.working.WorkingMode == kAutomaticTest &&
                program_.working.AutoTestStep == 2 &&
                program_.measurement.SignatureState == kOpenCircuit &&
                sim::Inspect(*program_.simulator).probe.kind == sim::Probe::Kind::Pin;
            const std::int64_t now = NowMs(program_.link.clock);
            openSince = waitingOnOpenPin ? (openSince < 0 ? now : openSince) : -1;
            if (openSince >= 0 && now - openSince > 2000) {
                ++pinsJudgedByHand_;
                Menu(kShortcutBad);
                openSince = -1;
            }
            Pass();
        }
        return false;
    }

    int pinsJudgedByHand_ = 0;

    std::set<std::string> BadPins() {
        std::set<std::string> pins;
        const TestPlan& plan = program_.testPlan;
        for (int row = 2; row <= RowCount(plan); ++row) {
            if (CellView(plan, row, column::kStatus) == "Bad")
                pins.insert(Cell(plan, row, column::kComponent) + "." +
                            Cell(plan, row, column::kPin));
        }
        return pins;
    }

    int CountResult(std::string_view result) {
        int count = 0;
        for (int row = 2; row <= RowCount(program_.testPlan); ++row)
            count += CellView(program_.testPlan, row, column::kStatus) == result ? 1 : 0;
        return count;
    }
};

TEST_F(AutomaticWorkflowTest, RecordTheGoodBoardThenFindTheFaultsOfTheBrokenOne) {
    Start("ORV310", "ORV_TestPlanFileName=testplans\\demo_A.orv\r\n");
    const int records = RowCount(program_.testPlan) - 1;
    ASSERT_GT(records, 40);
    Connect();
    ui::SetControlChecked(*program_.gui, kProbeFollowPlan, true);
    ProbeWindowControl(kProbeFollowPlan);

    // Capture: every record of the known-good board gets its golden signature.
    ui::SetControlChecked(*program_.gui, kControlEditCapture, true);
    Press(kControlEditCapture);
    Press(kControlWorkingMode);
    ASSERT_EQ(program_.working.WorkingMode, kAutomaticCapture);
    ASSERT_TRUE(RunUntilBackIn(kManualCapture));
    for (int row = 2; row <= records + 1; ++row)
        ASSERT_EQ(Cell(program_.testPlan, row, column::kSignature), "Yes") << row;

    // Saved, and opened again from the file.
    Dialogs().fileAnswers = {"testplans/recorded", "testplans/recorded.orv"};
    Menu(kMenuFileSave);
    Menu(kMenuFileOpen);
    ASSERT_EQ(program_.app.settings.TestPlanFileName, "testplans/recorded.orv");
    ASSERT_EQ(RowCount(program_.testPlan), records + 1);
    const std::string saved = ReadWholeFile("testplans/recorded.orv").value_or("");
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), records + 1);
    SignatureBuffer golden;
    for (int row = 2; row <= records + 1; ++row)
        ASSERT_EQ(LoadSignature(program_.testPlan, row, kGoldenBlock, golden.X, golden.Y), 64);

    // Test: the unit under test, pin by pin.
    sim::SelectBoard(*program_.simulator, sim::BoardUnit::UnderTest);
    ui::SetControlChecked(*program_.gui, kControlEditCapture, false);
    Press(kControlEditCapture);
    Press(kControlWorkingMode);
    ASSERT_EQ(program_.working.WorkingMode, kAutomaticTest);
    ASSERT_TRUE(RunUntilBackIn(kManualTest))
        << "record " << program_.position.TestPlanIndex << " step " << program_.working.AutoTestStep
        << " state " << program_.measurement.SignatureState << " count "
        << program_.measurement.StableCount << " probe "
        << static_cast<int>(sim::Inspect(*program_.simulator).probe.kind) << " bad "
        << BadPins().size() << " good " << CountResult("Good");

    // Every pin the four faults change, and no other.
    const std::set<std::string> faulty = {"U2.8", "U2.11", "U2.13", "R9.1", "R9.2", "C3.1", "D3.K"};
    EXPECT_EQ(BadPins(), faulty);
    EXPECT_EQ(pinsJudgedByHand_, 1);  // the open pin
    EXPECT_EQ(CountResult("Good"), records - static_cast<int>(faulty.size()));
    EXPECT_EQ(CountResult("Untested"), 0);
    EXPECT_EQ(ui::TreeEntryCount(*program_.gui, kControlBadTree),
              static_cast<int>(faulty.size()) + 1);
    EXPECT_EQ(ui::ControlText(*program_.gui, kControlBadPercent),
              ResultPercentText(static_cast<int>(faulty.size()), records));

    // Each Bad pin named as its fault in the bad tree's tooltip: the bond wire open, the
    // solder bridge a short, the pins behind the leaky zener leakage, the dried coupling
    // capacitor smaller.
    const std::map<std::string, std::string> kinds = {
        {"U2, Pin 8", "open"},
        {"U2, Pin 11", "short"},
        {"U2, Pin 13", "leakage"},
        {"R9, Pin 1", "leakage"},
        {"R9, Pin 2", "leakage"},
        {"D3, Pin K", "leakage"},
        {"C3, Pin 1", "capacitance smaller"},
    };
    for (int i = 1; i < ui::TreeEntryCount(*program_.gui, kControlBadTree); ++i) {
        const std::string pin = ui::TreeEntryAt(*program_.gui, kControlBadTree, i).text;
        const std::string tooltip = ui::TreeTooltip(*program_.gui, kControlBadTree, i);
        ASSERT_TRUE(kinds.contains(pin)) << pin;
        EXPECT_EQ(tooltip.substr(0, tooltip.find(" (confidence ")), kinds.at(pin))
            << pin << ": " << tooltip;
    }
}

}  // namespace
}  // namespace orv
