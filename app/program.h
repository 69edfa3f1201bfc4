#pragma once
// The Program: every record of state for the whole run, made once in main().

#include <memory>
#include <thread>

#include "core/app_state.h"
#include "core/event_log.h"
#include "core/media.h"
#include "display/display_state.h"
#include "engine/signatures.h"
#include "testplan/navigation.h"
#include "testplan/test_plan.h"
#include "ui/dialogs.h"
#include "ui/gui.h"

namespace orv {

struct Program {
    AppState app;
    EventLog log;
    Media media;
    std::unique_ptr<ui::Dialogs> dialogs;
    std::unique_ptr<ui::Gui> gui;  // null until the windowing system is ready
    std::thread commsThread;
    Signatures signatures;
    Measurement measurement;
    TestPlan testPlan;
    PlanPosition position;
    WorkingState working;
    DisplayState display;
};

// Start-up step 1: every record back to its start values. The dialogs and windows
// stay, since they are the program's connection to the desktop, not its state.
void ResetProgram(Program& program);

}  // namespace orv
