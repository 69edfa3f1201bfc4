#pragma once
// The Program: every record of state for the whole run, made once in main().

#include <memory>
#include <thread>

#include "app/main_cycle.h"
#include "app/sim_probe_window.h"
#include "base/dialogs.h"
#include "calibration/dmm_client.h"
#include "calibration/sim_multimeter.h"
#include "core/app_state.h"
#include "core/event_log.h"
#include "display/display_state.h"
#include "engine/run_notices.h"
#include "engine/signatures.h"
#include "link/link_state.h"
#include "link/sim/instrument.h"
#include "link/usb_driver.h"
#include "media/media.h"
#include "testplan/editor_state.h"
#include "testplan/navigation.h"
#include "testplan/test_plan.h"
#include "ui/gui.h"

namespace orv {

struct Program {
    AppState app;
    EventLog log;
    Media media;
    std::unique_ptr<ui::Dialogs> dialogs;
    std::unique_ptr<ui::Gui> gui;  // null until the windowing system is ready
    Link link;
    // The simulated instrument, with "--simulator" only; the driver below talks to it.
    std::unique_ptr<sim::Instrument> simulator;
    std::unique_ptr<UsbDriver> driver;  // chosen in main(); null: no driver library
    std::thread commsThread;
    Signatures signatures;
    Measurement measurement;
    TestPlan testPlan;
    // What the current plan's file holds, to tell whether leaving the plan loses work.
    PlanOnDisk planOnDisk;
    PlanPosition position;
    WorkingState working;
    DisplayState display;
    MainCycleState cycle;
    RunNotice runNotice;  // the open-pin prompt and the end-of-run counts
    SimProbeState simProbe;
    // The record editor's view, marker, prompt and placement, kept between openings.
    EditorState editor;
    // The bench multimeter's connection, kept from the first "Connect" to the end.
    DmmClient dmm;
    // With "--simulator" only: the simulated multimeter the calibration window reaches.
    std::unique_ptr<SimMultimeter> simMultimeter;

    // The communications thread works on the records above: it ends first.
    ~Program();
};

// Start-up step 1: every record back to its start values. The dialogs and windows
// stay, since they are the program's connection to the desktop, not its state.
void ResetProgram(Program& program);

}  // namespace orv
