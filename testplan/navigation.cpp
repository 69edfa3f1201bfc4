#include "testplan/navigation.h"

#include <string>

namespace orv {

namespace {

// Every move ends this way.
void Finish(PlanPosition& position) {
    position.UiRefreshRequested = true;
    position.RecordChanged = true;
}

std::string ComponentOf(const TestPlan& plan, int row) {
    return Cell(plan, row, column::kComponent);
}

}  // namespace

void NextRecord(const TestPlan& plan, PlanPosition& position) {
    position.TestPlanIndex += 1;
    if (position.TestPlanIndex > RowCount(plan))
        position.TestPlanIndex = RowCount(plan);
    Finish(position);
}

void PreviousRecord(const TestPlan&, PlanPosition& position) {
    position.TestPlanIndex -= 1;
    if (position.TestPlanIndex < 1)
        position.TestPlanIndex = 1;
    Finish(position);
}

void FirstRecord(const TestPlan&, PlanPosition& position) {
    position.TestPlanIndex = kFirstRecordRow;
    Finish(position);
}

void LastRecord(const TestPlan& plan, PlanPosition& position) {
    position.TestPlanIndex = RowCount(plan);
    Finish(position);
}

void NextComponent(const TestPlan& plan, PlanPosition& position) {
    const std::string current = ComponentOf(plan, position.TestPlanIndex);
    int& row = position.TestPlanIndex;
    while (row < RowCount(plan)) {
        row += 1;
        if (ComponentOf(plan, row) != current)
            break;
    }
    Finish(position);
}

void PreviousComponent(const TestPlan& plan, PlanPosition& position) {
    int& row = position.TestPlanIndex;
    // Back to the last record of the component before (or row 2) ...
    std::string current = ComponentOf(plan, row);
    while (row > 2) {
        row -= 1;
        if (ComponentOf(plan, row) != current)
            break;
    }
    // ... then to that component's first record.
    current = ComponentOf(plan, row);
    while (row > 2) {
        row -= 1;
        if (ComponentOf(plan, row) != current) {
            row += 1;
            break;
        }
    }
    Finish(position);
}

void ResetResultsConfirm(TestPlan& plan, PlanPosition& position, ui::Dialogs& dialogs) {
    if (dialogs.AskYesNo("RESET ALL TEST RESULTS", "Do you want to reset all test results?",
                         ui::BoxIcon::Question)) {
        ResetResults(plan, position);
    }
}

void ResetResults(TestPlan& plan, PlanPosition& position) {
    for (int row = kFirstRecordRow; row <= RowCount(plan); ++row)
        SetCell(plan, row, column::kStatus, kUntested);
    position.TestPlanIndex = kFirstRecordRow;
    position.TestTreeClearRequested = true;
    Finish(position);
}

void ToggleAutomatic(WorkingState& working, PlanPosition& position) {
    int other = 0;
    switch (working.WorkingMode) {
        case kManualTest:
            other = kAutomaticTest;
            break;
        case kManualCapture:
            other = kAutomaticCapture;
            break;
        case kAutomaticTest:
            other = kManualTest;
            break;
        case kAutomaticCapture:
            other = kManualCapture;
            break;
        default:
            break;
    }
    if (other != 0) {
        working.WorkingMode = other;
        working.AutoTestStep = 0;
        working.AutoCaptureStep = 0;
    }
    position.UiRefreshRequested = true;
}

}  // namespace orv
