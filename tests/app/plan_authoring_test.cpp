// A plan built from nothing on the simulated board, as a technician with a photograph
// and no plan would: File New, the photograph chosen, each part created by clicking
// its pins (the two ends of each row for the ICs), Quick Save, then the automatic
// capture of the known-good board records a golden signature for every created pin.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "app/running_editor.h"
#include "display/record_editor_window.h"
#include "display/ribbon_tables.h"
#include "testplan/cell_numbers.h"
#include "testplan/orv_file.h"
#include "testplan/package_templates.h"
#include "testplan/record_cells.h"
#include "tools/demo_board_layout.h"
#include "ui/controls.h"

namespace orv {
namespace {

namespace fs = std::filesystem;

class PlanAuthoringTest : public test::RunningEditor {
protected:
    void SetUp() override {
        RunningEditor::SetUp();
        fs::copy(fs::path(ORV_DEMO_DIR) / "testplans", "testplans", fs::copy_options::recursive);
    }

    // The current record's pin gets the part's own pin name.
    void RenameCurrentPin(const std::string& component, const std::string& pin) {
        ui::Gui& gui = *program_.gui;
        ui::SetControlText(gui, editor::ToWriteField(editor::kPinField), pin);
        ui::SetControlText(gui, editor::ToWriteField(editor::kDescriptionField),
                           component + ", Pin " + pin);
        Control(editor::kUpdateSingle);
    }

    // Creates one part: two clicks a row for an IC, one a pin for the others, whose pins
    // are then named as on the part.
    void CreatePart(const demo::LayoutPart& part) {
        ui::SetControlText(*program_.gui, editor::kComponentName, part.name);
        const int pins = static_cast<int>(part.pins.size());
        const auto pad = [&part](int pin) {
            return part.pins[static_cast<std::size_t>(pin - 1)].pad;
        };
        if (part.kind == demo::PartKind::Dip) {
            ChoosePackage(pins == 8 ? "  8 pin DIP/SO" : " 14 pin DIP/SO");
            Control(editor::kCreateComponent);
            for (int pin : {1, pins / 2, pins / 2 + 1, pins})
                ClickImage(pad(pin).x(), pad(pin).y());
            return;
        }
        ChoosePackage(pins == 2 ? "  2 pin" : "  3 pin");
        Control(editor::kCreateComponent);
        for (const demo::LayoutPin& pin : part.pins)
            ClickImage(pin.pad.x(), pin.pad.y());
        // The placement ends on the last pin; name them back to front.
        for (int k = pins - 1; k >= 0; --k) {
            const std::string& name = part.pins[static_cast<std::size_t>(k)].name;
            if (name != std::to_string(k + 1))
                RenameCurrentPin(part.name, name);
            if (k > 0)
                Control(editor::kPrevious);
        }
        Control(editor::kLast);
    }

    bool RunUntilBackIn(int manualMode) {
        const std::int64_t until = NowMs(program_.link.clock) + 600000;
        while (NowMs(program_.link.clock) < until) {
            if (program_.working.WorkingMode == manualMode)
                return true;
            Pass();
        }
        return false;
    }
};

TEST_F(PlanAuthoringTest, ABoardPlanBuiltByClickingPinsIsCapturedWhole) {
    Start("ORV310", "ORV_TestPlanFileName=testplans\\demo_A.orv\r\n");
    Connect();
    Dialogs().fileAnswers = {"testplans/authored"};
    program_.gui->pending.push_back({ui::EventKind::Menu, kMenuFileNew, ui::kMainWindow});
    Pass();
    ASSERT_EQ(program_.app.settings.TestPlanFileName, "testplans/authored.orv");
    ASSERT_EQ(RowCount(program_.testPlan), 1);
    ASSERT_TRUE(ui::IsControlChecked(*program_.gui, kControlEditCapture));

    ASSERT_TRUE(BeginRecordEditor(program_, session_));
    Dialogs().fileAnswers = {(fs::current_path() / "testplans/images/demo_board.png").string()};
    Control(editor::kSelectImage);
    ASSERT_EQ(Cell(program_.testPlan, 1, column::kImageFile), "testplans/images/demo_board.png");

    const std::vector<demo::LayoutPart> parts = demo::DemoBoardLayout();
    int pinCount = 0;
    for (const demo::LayoutPart& part : parts) {
        CreatePart(part);
        pinCount += static_cast<int>(part.pins.size());
    }
    const TestPlan& plan = program_.testPlan;
    ASSERT_EQ(RowCount(plan), pinCount + 1);
    // Every pin where the part has it, the IC rows interpolated between their ends.
    int row = 2;
    for (const demo::LayoutPart& part : parts) {
        const ComponentRun run = ComponentRunAt(plan, row);
        ASSERT_EQ(run.last - run.first + 1, static_cast<int>(part.pins.size())) << part.name;
        for (const demo::LayoutPin& pin : part.pins) {
            const int at = [&] {
                for (int r = run.first; r <= run.last; ++r) {
                    if (CellView(plan, r, column::kPin) == pin.name)
                        return r;
                }
                return 0;
            }();
            ASSERT_NE(at, 0) << part.name << "." << pin.name;
            EXPECT_NEAR(static_cast<double>(IntegerCell(plan, at, column::kTestX)), pin.pad.x(), 3)
                << part.name;
            EXPECT_NEAR(static_cast<double>(IntegerCell(plan, at, column::kTestY)), pin.pad.y(), 3)
                << part.name;
            EXPECT_EQ(Cell(plan, at, column::kDescription), part.name + ", Pin " + pin.name);
        }
        row = run.last + 1;
    }

    Control(editor::kQuickSave);
    TestPlan saved;
    LoadTestPlan(saved, program_.log, "testplans/authored.orv");
    ASSERT_EQ(RowCount(saved), RowCount(plan));
    for (int r = 1; r <= RowCount(plan); ++r) {
        for (int col = 1; col <= 30; ++col)
            ASSERT_EQ(Cell(saved, r, col), Cell(plan, r, col)) << r << "," << col;
    }
    Post(ui::EventKind::CloseRequest);
    EndRecordEditor(program_, session_);

    // The hand follows the new plan while the automatic capture records the good board.
    ui::SetControlChecked(*program_.gui, kProbeFollowPlan, true);
    program_.gui->pending.push_back({ui::EventKind::Control, kProbeFollowPlan, kSimProbeWindow});
    Pass();
    Press(kControlFirstRecord);
    Press(kControlWorkingMode);
    ASSERT_EQ(program_.working.WorkingMode, kAutomaticCapture);
    ASSERT_TRUE(RunUntilBackIn(kManualCapture)) << "record " << program_.position.TestPlanIndex;
    SignatureBuffer golden;
    for (int r = 2; r <= RowCount(plan); ++r) {
        EXPECT_EQ(Cell(plan, r, column::kSignature), "Yes") << Cell(plan, r, column::kDescription);
        EXPECT_EQ(LoadSignature(plan, r, kGoldenBlock, golden.X, golden.Y), 64) << r;
    }
}

}  // namespace
}  // namespace orv
