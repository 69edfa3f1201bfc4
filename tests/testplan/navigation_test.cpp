#include "testplan/navigation.h"

#include <gtest/gtest.h>

#include <functional>

namespace orv {
namespace {

// Header plus records of the given components, every record "Good".
TestPlan PlanOf(std::initializer_list<const char*> components) {
    TestPlan plan;
    ResizeTable(plan, static_cast<int>(components.size()) + 1, kPlanColumns);
    int row = 2;
    for (const char* name : components) {
        SetCell(plan, row, column::kComponent, name);
        SetCell(plan, row, column::kStatus, "Good");
        ++row;
    }
    return plan;
}

using Move = std::function<void(const TestPlan&, PlanPosition&)>;

struct MoveCase {
    const char* name;
    Move move;
    int from;
    int to;
};

void ExpectMoves(const TestPlan& plan, std::initializer_list<MoveCase> cases) {
    for (const MoveCase& c : cases) {
        PlanPosition position;
        position.TestPlanIndex = c.from;
        c.move(plan, position);
        EXPECT_EQ(position.TestPlanIndex, c.to) << c.name << " from " << c.from;
        EXPECT_TRUE(position.RecordChanged) << c.name;
        EXPECT_TRUE(position.UiRefreshRequested) << c.name;
    }
}

TEST(NavigationTest, RecordsAndComponentsOfAABBC) {
    const TestPlan plan = PlanOf({"A", "A", "B", "B", "C"});  // rows 2 to 6
    ExpectMoves(plan, {
                          {"next record", NextRecord, 2, 3},
                          {"next record", NextRecord, 6, 6},
                          {"next record", NextRecord, 1, 2},
                          {"previous record", PreviousRecord, 2, 1},
                          {"previous record", PreviousRecord, 1, 1},
                          {"previous record", PreviousRecord, 5, 4},
                          {"first record", FirstRecord, 5, 2},
                          {"last record", LastRecord, 2, 6},
                          {"next component", NextComponent, 2, 4},
                          {"next component", NextComponent, 3, 4},
                          {"next component", NextComponent, 4, 6},
                          {"next component", NextComponent, 6, 6},
                          {"next component", NextComponent, 1, 2},
                          {"previous component", PreviousComponent, 5, 2},
                          {"previous component", PreviousComponent, 4, 2},
                          {"previous component", PreviousComponent, 3, 2},
                          {"previous component", PreviousComponent, 6, 4},
                          {"previous component", PreviousComponent, 2, 2},
                          {"previous component", PreviousComponent, 1, 1},
                      });
}

TEST(NavigationTest, SeparateRunsOfOneNameAreSeparateComponents) {
    const TestPlan plan = PlanOf({"U1", "U1", "U2", "U1", "U1"});
    ExpectMoves(plan, {
                          {"next component", NextComponent, 2, 4},
                          {"next component", NextComponent, 4, 5},
                          {"previous component", PreviousComponent, 6, 4},
                          {"previous component", PreviousComponent, 4, 2},
                      });
}

TEST(NavigationTest, APlanWithoutRecords) {
    const TestPlan plan;
    ExpectMoves(plan, {
                          {"next record", NextRecord, 1, 1},
                          {"previous record", PreviousRecord, 1, 1},
                          {"last record", LastRecord, 1, 1},
                          {"next component", NextComponent, 1, 1},
                          {"previous component", PreviousComponent, 1, 1},
                          {"first record", FirstRecord, 1, 2},  // beyond the table
                          {"next record", NextRecord, 2, 1},
                          {"next component", NextComponent, 2, 2},
                          {"previous component", PreviousComponent, 2, 2},
                      });
}

TEST(ResetResultsTest, EveryRecordUntestedHeaderAndSignaturesKept) {
    TestPlan plan = PlanOf({"A", "B", "C"});
    SetCell(plan, 1, column::kStatus, "Header status");
    SetCell(plan, 3, column::kStatus, "NoTest");
    SetCell(plan, 3, column::kSignature, "Yes");
    SetCell(plan, 3, 32, "0.5");
    PlanPosition position;
    position.TestPlanIndex = 4;
    ResetResults(plan, position);
    EXPECT_EQ(Cell(plan, 1, column::kStatus), "Header status");
    for (int row = 2; row <= 4; ++row)
        EXPECT_EQ(Cell(plan, row, column::kStatus), "Untested");
    EXPECT_EQ(Cell(plan, 3, column::kSignature), "Yes");
    EXPECT_EQ(Cell(plan, 3, 32), "0.5");
    EXPECT_EQ(position.TestPlanIndex, 2);
    EXPECT_TRUE(position.RecordChanged);
    EXPECT_TRUE(position.TestTreeClearRequested);
    EXPECT_TRUE(position.UiRefreshRequested);
}

TEST(ResetResultsTest, TheQuestionDecides) {
    for (const bool yes : {true, false}) {
        TestPlan plan = PlanOf({"A", "B"});
        PlanPosition position;
        position.TestPlanIndex = 3;
        ui::ScriptedDialogs dialogs;
        dialogs.yesNoAnswers = {yes};
        ResetResultsConfirm(plan, position, dialogs);
        EXPECT_EQ(dialogs.shown,
                  (std::vector<ui::ShownBox>{{ui::ShownBox::Kind::YesNo, "RESET ALL TEST RESULTS",
                                              "Do you want to reset all test results?",
                                              ui::BoxIcon::Question}}));
        EXPECT_EQ(Cell(plan, 3, column::kStatus), yes ? "Untested" : "Good");
        EXPECT_EQ(position.TestPlanIndex, yes ? 2 : 3);
        EXPECT_EQ(position.RecordChanged, yes);
        EXPECT_EQ(position.UiRefreshRequested, yes);
    }
}

TEST(ToggleAutomaticTest, SwapsManualAndAutomaticAndRestartsTheSteps) {
    const std::pair<int, int> cases[] = {{1, 3}, {2, 4}, {3, 1}, {4, 2}, {0, 0}, {7, 7}};
    for (const auto& [from, to] : cases) {
        WorkingState working;
        working.WorkingMode = from;
        working.AutoTestStep = 2;
        working.AutoCaptureStep = 3;
        PlanPosition position;
        ToggleAutomatic(working, position);
        EXPECT_EQ(working.WorkingMode, to) << from;
        const bool known = from != to;
        EXPECT_EQ(working.AutoTestStep, known ? 0 : 2) << from;
        EXPECT_EQ(working.AutoCaptureStep, known ? 0 : 3) << from;
        EXPECT_TRUE(position.UiRefreshRequested) << from;
        EXPECT_FALSE(position.RecordChanged) << from;
    }
}

}  // namespace
}  // namespace orv
