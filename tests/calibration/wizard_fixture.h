#pragma once
// The calibration window on the real widgets (offscreen), against the simulated
// instrument and the simulated multimeter, with the link clock running fast.

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "base/dialogs.h"
#include "calibration/calibration_wizard.h"
#include "calibration/sim_multimeter.h"
#include "core/app_state.h"
#include "link/sim/instrument.h"
#include "media/media.h"
#include "support/wav_clip.h"
#include "support/working_dir.h"
#include "ui/gui.h"

namespace orv::test {

class WizardTest : public InWorkingDir {
protected:
    void SetUp() override;
    void TearDown() override;

    // A fresh instrument of `model`, the same model active in the program; `hardware` its
    // true constants, with a factory calibration text made from them.
    void UseModel(const std::string& model,
                  const sim::HardwareConstants& hardware = sim::HardwareConstants{});
    void ConnectInstrument();
    // Opens the window; false when it did not stay open.
    bool Open();
    // One pass of the window's loop; the statuses it showed are collected.
    bool Pass();
    // Passes until `done` holds or `limitMs` of the link clock have passed.
    bool PassUntil(const std::function<bool()>& done, int limitMs);
    // A press of a control: one event, served by the next pass.
    void Press(int control);
    void ConnectMultimeter();

    std::string Text(int control) const;
    std::uint32_t InstrumentRegister(int number) const;
    // The DAC code in register 3 as the instrument's firmware takes it.
    int DacCode() const;
    // Register writes the instrument accepted, polls left out.
    std::uint64_t WritesAccepted() const;
    // The calibration text in the instrument's EEPROM, as a connection reads it.
    std::string EepromCalibrationText();

    ui::ScriptedDialogs dialogs;
    EventLog log;
    std::unique_ptr<ui::Gui> gui;
    Link link;
    AppState app;
    Media media;
    DmmClient dmm;
    std::unique_ptr<sim::Instrument> instrument;
    std::unique_ptr<UsbDriver> driver;
    std::unique_ptr<SimMultimeter> meter;
    std::unique_ptr<CalibrationContext> context;
    CalibrationWizard wizard;
    bool open = false;
    std::vector<std::string> statuses;  // each status text shown, once per change
    std::set<std::string> countdowns;   // each countdown text shown
};

}  // namespace orv::test
