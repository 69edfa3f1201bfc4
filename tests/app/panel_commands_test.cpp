// The ribbon, the trees and the probe-button functions inside the running program on
// the simulated instrument: each control acts on the state, and the window agrees.

#include <gtest/gtest.h>

#include <QTest>
#include <QTreeWidget>

#include <string>
#include <vector>

#include "app/commands.h"
#include "app/running_program.h"
#include "display/ribbon_tables.h"
#include "link/sim/simulated_driver.h"
#include "testplan/record_cells.h"
#include "ui/controls.h"
#include "ui/qt_windows.h"

namespace orv {
namespace {

struct PlanPin {
    const char* component;
    const char* pin;
};

class PanelCommandsTest : public test::RunningProgram {
protected:
    // A plan of the given pins, 1 V, 1 kOhm, 50 Hz each, put in place of the loaded one.
    void UsePlan(std::initializer_list<PlanPin> pins) {
        TestPlan& plan = program_.testPlan;
        plan = TestPlan{};
        ResizeTable(plan, static_cast<int>(pins.size()) + 1, kPlanColumns);
        int row = 2;
        for (const PlanPin& pin : pins) {
            SetCell(plan, row, column::kVoltage, "1000");
            SetCell(plan, row, column::kResistance, "1000");
            SetCell(plan, row, column::kFrequency, "50");
            SetCell(plan, row, column::kStatus, "Untested");
            SetCell(plan, row, column::kComponent, pin.component);
            SetCell(plan, row, column::kPin, pin.pin);
            ++row;
        }
        Renumber(plan);
        program_.position.TestPlanIndex = 2;
        Pass();
    }

    void SetChecked(int control, bool checked) {
        ui::SetControlChecked(*program_.gui, control, checked);
        Press(control);
    }

    // The probe on a pin of the chosen unit, and enough frames for a steady signature.
    void Probe(sim::BoardUnit unit, const char* component, const char* pin) {
        sim::SelectBoard(*program_.simulator, unit);
        sim::TouchPin(*program_.simulator, component, pin);
        PassFrames(12);
    }

    std::string Text(int control) { return ui::ControlText(*program_.gui, control); }

    std::vector<ui::TreeEntry> Tree(int tree) {
        std::vector<ui::TreeEntry> entries;
        for (int i = 0; i < ui::TreeEntryCount(*program_.gui, tree); ++i)
            entries.push_back(ui::TreeEntryAt(*program_.gui, tree, i));
        return entries;
    }

    int Current() const { return program_.position.TestPlanIndex; }

    // The tree's own widget, to click and fold as the user does.
    QTreeWidget* TreeWidget(int tree) {
        const auto& controls = program_.gui->windows->controls;
        const auto found = controls.find(tree);
        return found != controls.end() ? qobject_cast<QTreeWidget*>(found->second.widget) : nullptr;
    }
    void Click(QTreeWidget* tree, QTreeWidgetItem* item) {
        const QRect at = tree->visualItemRect(item);
        ASSERT_FALSE(at.isEmpty()) << item->text(0).toStdString();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at.center());
        while (!program_.gui->pending.empty())
            Pass();
    }
    // Which components of the test tree show their pins, top to bottom.
    std::vector<bool> Unfolded(const QTreeWidget* tree) {
        std::vector<bool> shown;
        for (int k = 1; k < tree->topLevelItemCount(); ++k)
            shown.push_back(tree->topLevelItem(k)->isExpanded());
        return shown;
    }
};

TEST_F(PanelCommandsTest, TheRibbonDrivesTheInstrumentAndTheRecords) {
    Start("ORV310");
    UsePlan({{"U2", "7"}, {"U2", "8"}, {"U2", "9"}});
    Connect();
    Press(kControlNextRecord);
    EXPECT_EQ(Current(), 3);
    Press(kControlVoltagePlus);  // the record's 1 V, one step up
    EXPECT_EQ(program_.app.GeneratorRequest.PeakMillivolts, 2000);
    Pass();
    EXPECT_EQ(InstrumentRegister(6), 2000u);
    EXPECT_EQ(ui::ListSelection(*program_.gui, kControlVoltageList), 5);  // "Voltage: 2Vpk"
    Press(kControlFrequencyPlus);
    Pass();
    EXPECT_EQ(InstrumentRegister(14), 100u);
    Press(kControlLastRecord);
    EXPECT_EQ(Current(), 4);
    Press(kControlFirstRecord);
    EXPECT_EQ(Current(), 2);
}

// Golden signatures captured from the known-good unit, then the unit under test judged
// pin by pin: its open pin is Bad, a sound pin Good, and the trees and percentages
// say so.
TEST_F(PanelCommandsTest, CaptureOnTheGoodBoardThenFindTheFaultyPin) {
    Start("ORV310");
    UsePlan({{"U2", "7"}, {"U2", "8"}, {"U2", "9"}});
    Connect();
    SetChecked(kControlEditCapture, true);
    EXPECT_EQ(program_.working.WorkingMode, 2);
    for (const char* pin : {"7", "8", "9"}) {
        Probe(sim::BoardUnit::KnownGood, "U2", pin);
        Press(kControlGood);
    }
    for (int row = 2; row <= 4; ++row)
        EXPECT_EQ(Cell(program_.testPlan, row, column::kSignature), "Yes") << row;
    EXPECT_EQ(Current(), 4);  // the last record stays current

    SetChecked(kControlEditCapture, false);
    EXPECT_EQ(program_.working.WorkingMode, 1);
    Press(kControlFirstRecord);
    Probe(sim::BoardUnit::UnderTest, "U2", "7");
    Press(kControlGood);
    EXPECT_LT(program_.measurement.DifferencePercent, 1.5f);
    Probe(sim::BoardUnit::UnderTest, "U2", "8");  // its bond wire is open
    Press(kControlBad);
    EXPECT_GT(program_.measurement.DifferencePercent, 1.5f);

    EXPECT_EQ(Cell(program_.testPlan, 2, column::kStatus), "Good");
    EXPECT_EQ(Cell(program_.testPlan, 3, column::kStatus), "Bad");
    EXPECT_EQ(Cell(program_.testPlan, 4, column::kStatus), "Untested");
    const std::vector<ui::TreeEntry> bad = Tree(kControlBadTree);
    ASSERT_EQ(bad.size(), 2u);
    EXPECT_EQ(bad[1], (ui::TreeEntry{"U2, Pin 8", 0, 3}));
    EXPECT_EQ(Text(kControlGoodPercent), "33.33%");
    EXPECT_EQ(Text(kControlBadPercent), "33.33%");
    EXPECT_EQ(Tree(kControlTestTree).size(), 5u);  // plan, U2 and its three pins
}

TEST_F(PanelCommandsTest, TreeSelectionsMakeTheirRecordCurrent) {
    Start("ORV310");
    UsePlan({{"U1", "1"}, {"U1", "2"}, {"U2", "1"}});
    ui::SetTreeSelection(*program_.gui, kControlTestTree, 5);  // U2's pin
    Press(kControlTestTree);
    EXPECT_EQ(Current(), 4);
    ui::SetTreeSelection(*program_.gui, kControlTestTree, 0);  // the plan's name
    Press(kControlTestTree);
    EXPECT_EQ(Current(), 2);

    SetCell(program_.testPlan, 3, column::kStatus, "Bad");
    Press(kControlLastRecord);  // a record change fills both trees
    ASSERT_EQ(ui::TreeEntryCount(*program_.gui, kControlBadTree), 2);
    ui::SetTreeSelection(*program_.gui, kControlBadTree, 1);
    Press(kControlBadTree);
    EXPECT_EQ(Current(), 3);
    EXPECT_EQ(ui::TreeSelection(*program_.gui, kControlTestTree), 3);  // the tree follows
}

TEST_F(PanelCommandsTest, AClickOnTheSelectedBadEntryMakesItsRecordCurrentAgain) {
    Start("ORV310");
    UsePlan({{"U1", "1"}, {"U1", "2"}, {"U2", "1"}});
    SetCell(program_.testPlan, 3, column::kStatus, "Bad");
    SetCell(program_.testPlan, 4, column::kStatus, "Bad");
    Press(kControlLastRecord);
    QTreeWidget* bad = TreeWidget(kControlBadTree);
    ASSERT_NE(bad, nullptr);
    ASSERT_EQ(bad->topLevelItemCount(), 3);
    QTreeWidgetItem* const u1Pin2 = bad->topLevelItem(1);
    Click(bad, u1Pin2);
    EXPECT_EQ(Current(), 3);
    Press(kControlFirstRecord);
    ASSERT_EQ(Current(), 2);
    ASSERT_EQ(bad->currentItem(), u1Pin2);  // the bad tree does not follow the record
    Click(bad, u1Pin2);
    EXPECT_EQ(Current(), 3);
    Click(bad, bad->topLevelItem(2));
    EXPECT_EQ(Current(), 4);
}

// "Collapse Test Tree" folds every component; verdicts and moves to records inside a
// folded component keep the folds, the command's and the user's alike.
TEST_F(PanelCommandsTest, FoldedComponentsStayFolded) {
    Start("ORV310");
    UsePlan({{"U1", "1"}, {"U1", "2"}, {"U2", "1"}, {"U2", "2"}, {"U3", "1"}});
    QTreeWidget* tree = TreeWidget(kControlTestTree);
    ASSERT_NE(tree, nullptr);
    ASSERT_EQ(tree->topLevelItemCount(), 4);
    EXPECT_EQ(Unfolded(tree), (std::vector<bool>{true, true, true}));

    program_.gui->windows->menuItems.at(kMenuCollapseTestTree).action->trigger();
    while (!program_.gui->pending.empty())
        Pass();
    EXPECT_EQ(Unfolded(tree), (std::vector<bool>{false, false, false}));
    Press(kControlBad);  // U1 pin 1 judged; U1 pin 2 becomes current
    ASSERT_EQ(Current(), 3);
    EXPECT_EQ(Unfolded(tree), (std::vector<bool>{false, false, false}));

    tree->expandAll();
    tree->collapseItem(tree->topLevelItem(2));  // the user folds U2
    Press(kControlBad);                         // U2 pin 1 becomes current
    Press(kControlNextRecord);
    ASSERT_EQ(Current(), 5);
    EXPECT_EQ(Unfolded(tree), (std::vector<bool>{true, false, true}));
    EXPECT_EQ(Cell(program_.testPlan, 3, column::kStatus), "Bad");
}

TEST_F(PanelCommandsTest, FreezeAndThawKeepEntryZero) {
    Start("ORV310", "ORV_Mode=Basic\r\n");
    Connect();
    Probe(sim::BoardUnit::KnownGood, "R1", "1");
    Signatures& signatures = program_.signatures;
    signatures.FrozenGolden.X[0] = 5;
    signatures.FrozenGolden.Y[0] = 6;
    // The command takes the live signature of the pass before; the same pass may take
    // a newer frame after it.
    const SignatureBuffer live = signatures.LiveSignature;
    SetChecked(kControlFreezeGolden, true);
    EXPECT_EQ(Text(kControlFreezeGolden), "Golden Frozen");
    EXPECT_EQ(signatures.FrozenGolden.X, live.X);
    EXPECT_NE(signatures.FrozenGolden.X[10], 0.0f);
    signatures.FrozenGolden.X[0] = 5;
    SetChecked(kControlFreezeGolden, false);
    EXPECT_EQ(Text(kControlFreezeGolden), "Freeze Golden");
    EXPECT_EQ(signatures.FrozenGolden.X[0], 5.0f);
    EXPECT_EQ(signatures.FrozenGolden.X[10], 0.0f);
    EXPECT_EQ(signatures.FrozenGolden.Y[128], 0.0f);

    SetChecked(kControlFreezeDut, true);
    EXPECT_EQ(Text(kControlFreezeDut), "  DUT   Frozen");
    SetChecked(kControlFreezeDut, false);
    EXPECT_EQ(Text(kControlFreezeDut), " Freeze   DUT ");
}

TEST_F(PanelCommandsTest, TheProbesFreezePressesTheFreezeButtonsInTurn) {
    Start("ORV310", "ORV_Mode=Basic\r\n");
    Connect();
    Probe(sim::BoardUnit::KnownGood, "R1", "1");
    Press(kCommandFreeze);
    EXPECT_TRUE(ui::IsControlChecked(*program_.gui, kControlFreezeGolden));
    EXPECT_FALSE(ui::IsControlChecked(*program_.gui, kControlFreezeDut));
    Press(kCommandFreeze);
    EXPECT_TRUE(ui::IsControlChecked(*program_.gui, kControlFreezeDut));
    EXPECT_EQ(Text(kControlFreezeDut), "  DUT   Frozen");
    Press(kCommandThaw);
    EXPECT_FALSE(ui::IsControlChecked(*program_.gui, kControlFreezeGolden));
    EXPECT_FALSE(ui::IsControlChecked(*program_.gui, kControlFreezeDut));
    EXPECT_EQ(Text(kControlFreezeGolden), "Freeze Golden");
    EXPECT_EQ(program_.signatures.FrozenDut.X[10], 0.0f);
}

TEST_F(PanelCommandsTest, CaptureWhileDisconnectedSaysSo) {
    Start("ORV310");
    UsePlan({{"U1", "1"}, {"U1", "2"}});
    SetChecked(kControlEditCapture, true);
    Dialogs().shown.clear();
    Press(kControlGood);
    ASSERT_EQ(Dialogs().shown.size(), 1u);
    EXPECT_EQ(Dialogs().shown[0].title, "Info #0054");
    EXPECT_EQ(Current(), 2);
    EXPECT_EQ(Cell(program_.testPlan, 2, column::kSignature), "");
}

TEST_F(PanelCommandsTest, ResetAsksAndClearsEveryResult) {
    Start("ORV310");
    UsePlan({{"U1", "1"}, {"U1", "2"}});
    Press(kControlBad);
    Press(kControlGood);
    ASSERT_EQ(Text(kControlBadPercent), "50.00%");
    Dialogs().yesNoAnswers = {false};
    Press(kControlResetTest);
    EXPECT_EQ(Cell(program_.testPlan, 2, column::kStatus), "Bad");
    Dialogs().yesNoAnswers = {true};
    Press(kControlResetTest);
    EXPECT_EQ(Cell(program_.testPlan, 2, column::kStatus), "Untested");
    EXPECT_EQ(Text(kControlGoodPercent), "0.00%");
    EXPECT_EQ(Text(kControlBadPercent), "0.00%");
    EXPECT_EQ(ui::TreeEntryCount(*program_.gui, kControlBadTree), 1);
}

TEST_F(PanelCommandsTest, TheWorkingModeButtonSwapsManualAndAutomatic) {
    Start("ORV310");
    UsePlan({{"U1", "1"}, {"U1", "2"}});
    // Work for both sequences, so that neither completes in the pass that starts it.
    SetCell(program_.testPlan, 2, column::kSignature, "Yes");
    SetCell(program_.testPlan, 3, column::kSignature, "No");
    const int swaps[][2] = {{1, 3}, {3, 1}, {2, 4}, {4, 2}};
    for (const auto& swap : swaps) {
        program_.working.WorkingMode = swap[0];
        program_.working.AutoTestStep = 5;
        program_.position.TestPlanIndex = 2;
        Press(kControlWorkingMode);
        EXPECT_EQ(program_.working.WorkingMode, swap[1]);
        EXPECT_LE(program_.working.AutoTestStep, 1);  // started again: searched, or idle
    }
    program_.working.WorkingMode = 1;
    Pass();
    EXPECT_TRUE(ui::IsControlEnabled(*program_.gui, kControlNextRecord));
}

TEST_F(PanelCommandsTest, EditRecordsNeedsTheEditBox) {
    Start("ORV310");
    UsePlan({{"U1", "1"}});
    program_.position.RecordChanged = false;
    HandlePanelCommand(program_, kControlEditRecords);
    EXPECT_FALSE(program_.position.RecordChanged);
    ui::SetControlChecked(*program_.gui, kControlEditCapture, true);
    // The editor runs until the user closes it.
    program_.gui->pending.push_back({ui::EventKind::CloseRequest, 0, kRecordEditorWindow});
    HandlePanelCommand(program_, kControlEditRecords);
    EXPECT_FALSE(ui::IsWindowOpen(*program_.gui, kRecordEditorWindow));
    EXPECT_TRUE(program_.position.RecordChanged);  // the scopes are drawn again
}

}  // namespace
}  // namespace orv
