#pragma once
// The "Calibrate <model> ADC/DAC" window: step-by-step buttons that set the instrument's
// output to each level, adjust its DAC code and record it, the live ADC means, the
// multimeter row, and "Go!", which runs the whole calibration by itself. The window runs
// its own loop on the user-interface thread; the communications thread goes on.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/event.h"
#include "calibration/auto_run.h"
#include "calibration/calibration_values.h"
#include "calibration/dmm_client.h"
#include "core/event_log.h"
#include "link/link_state.h"
#include "media/media.h"
#include "ui/gui.h"

namespace orv {

// What the window works on, owned by the program.
struct CalibrationContext {
    ui::Gui& gui;
    EventLog& log;  // its dialogs show the boxes
    Link& link;
    Media& media;
    DmmClient& dmm;
    std::string model;
    std::string defaultAddress;  // shown in the multimeter address field
};

inline constexpr std::string_view kDefaultDmmAddress = "127.0.0.1";

// The window's own record, from opening to closing.
struct CalibrationWizard {
    bool open = false;
    bool largeFamily = false;
    DacCodeSet codes;
    Measurements pairs{};
    CalibrationFields instrumentFields;  // the instrument's values when the window opened
    int adc0Live = 0;
    int adc1Live = 0;
    AutoRun run;
    std::string status;
    int pending = 0;  // the button to act on in this pass
    bool hadFocus = false;
    // Events of other windows that their own loop serves once this window has closed.
    std::vector<ui::Event> deferred;
};

// Opens the window and loads the instrument's codes; false (and nothing open) when the
// window cannot be made or no instrument is connected, after the message.
bool BeginCalibrationWizard(CalibrationContext& context, CalibrationWizard& wizard);

// One pass of the window's loop; false once the window has closed.
bool CalibrationWizardPass(CalibrationContext& context, CalibrationWizard& wizard);

// The whole window: opens it, runs its loop, returns when it has closed.
void OpenCalibrationWizard(CalibrationContext& context);

}  // namespace orv
