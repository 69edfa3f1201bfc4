#pragma once
// Moving through the open plan record by record and component by component, clearing
// every verdict, and switching between manual and automatic working.

#include "testplan/test_plan.h"
#include "base/dialogs.h"

namespace orv {

// The current record and the requests that moving it leaves for the main cycle.
struct PlanPosition {
    // Row of the record being worked on; 1 is the header. May lie beyond the last row
    // (First on a plan without records): readers of the current record check it.
    int TestPlanIndex = 1;
    bool RecordChanged = false;  // re-apply the record's settings and redraw it
    // The main cycle serves these, since only it may touch the display: refresh every
    // control from the state (RefreshUiState), and empty the test tree first so that
    // the refresh rebuilds it.
    bool UiRefreshRequested = false;
    bool TestTreeClearRequested = false;
};

// 1 manual test, 2 manual capture, 3 automatic test, 4 automatic capture.
inline constexpr int kManualTest = 1;
inline constexpr int kManualCapture = 2;
inline constexpr int kAutomaticTest = 3;
inline constexpr int kAutomaticCapture = 4;

struct WorkingState {
    int WorkingMode = kManualTest;
    int AutoTestStep = 0;  // steps of the automatic sequences
    int AutoCaptureStep = 0;
    int AutoFreezeStep = 0;
};

void NextRecord(const TestPlan& plan, PlanPosition& position);
// Stops at row 1, the header, not at the first record.
void PreviousRecord(const TestPlan& plan, PlanPosition& position);
// Row 2 even when the plan has no records.
void FirstRecord(const TestPlan& plan, PlanPosition& position);
void LastRecord(const TestPlan& plan, PlanPosition& position);
// The first record of the next component, or the last record when there is none.
void NextComponent(const TestPlan& plan, PlanPosition& position);
// The first record of the component before, or row 2 from inside the first one.
void PreviousComponent(const TestPlan& plan, PlanPosition& position);

// Asks "Do you want to reset all test results?"; on Yes, ResetResults.
void ResetResultsConfirm(TestPlan& plan, PlanPosition& position, ui::Dialogs& dialogs);
// Every record's Status := "Untested", signatures kept; back to the first record.
void ResetResults(TestPlan& plan, PlanPosition& position);

// Manual and automatic working swap (1 with 3, 2 with 4), and an automatic run starts
// from its first step. Does not mark the record changed.
void ToggleAutomatic(WorkingState& working, PlanPosition& position);

}  // namespace orv
