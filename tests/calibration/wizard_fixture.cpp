#include "wizard_fixture.h"

#include "calibration/calibration_controls.h"
#include "core/files.h"
#include "link/calibration.h"
#include "link/connection.h"
#include "link/sim/frame_synthesis.h"
#include "link/sim/meter_output.h"
#include "link/sim/simulated_driver.h"
#include "ui/controls.h"

namespace orv::test {

void WizardTest::SetUp() {
    InWorkingDir::SetUp();
    log.dialogs = &dialogs;
    gui = std::make_unique<ui::Gui>();
    // Eight times fast: the automatic run's minute and a half takes about twelve
    // seconds, while the multimeter's reply wait (200 ms) and the instrument's patience
    // with a silent host (2 s) stay long enough in real time for a busy machine.
    UseFastTime(link.clock, 8);
    UseModel("ORV320");
}

void WizardTest::TearDown() {
    if (open && ui::IsWindowOpen(*gui, calibration::kWindow))
        ui::CloseWindow(*gui, calibration::kWindow);
    meter.reset();
    driver.reset();
    InWorkingDir::TearDown();
}

void WizardTest::UseModel(const std::string& model, const sim::HardwareConstants& hardware) {
    meter.reset();
    driver.reset();
    instrument = sim::MakeInstrument(model, &link.clock);
    instrument->hardware = hardware;
    instrument->eeprom = sim::FactoryEeprom(model, hardware);
    driver = sim::MakeSimulatedDriver(*instrument);
    link.driver = driver.get();
    app.settings.ActiveInstrument = model;
    const sim::Instrument* measured = instrument.get();
    meter = StartSimMultimeter(
        [measured] { return sim::SocketVolts(*measured, sim::OutputSocket::Red); });
    ASSERT_NE(meter, nullptr);
    context = std::make_unique<CalibrationContext>(
        CalibrationContext{*gui, log, link, media, dmm, model, SimMultimeterAddress(*meter)});
}

void WizardTest::ConnectInstrument() {
    ConnectMenuItem(link, app, log);
    ASSERT_TRUE(link.state.Connected);
}

bool WizardTest::Open() {
    open = BeginCalibrationWizard(*context, wizard);
    return open;
}

bool WizardTest::Pass() {
    open = CalibrationWizardPass(*context, wizard);
    if (open) {
        const std::string status = Text(calibration::kStatus);
        if (statuses.empty() || statuses.back() != status)
            statuses.push_back(status);
        countdowns.insert(Text(calibration::kCountdown));
    }
    return open;
}

bool WizardTest::PassUntil(const std::function<bool()>& done, int limitMs) {
    const std::int64_t until = NowMs(link.clock) + limitMs;
    while (!done()) {
        if (NowMs(link.clock) > until || !Pass())
            return done();
    }
    return true;
}

void WizardTest::Press(int control) {
    // Events the window reported earlier are served first: the press is its pass's event.
    while (!gui->pending.empty() && Pass()) {
    }
    gui->pending.push_back({ui::EventKind::Control, control, calibration::kWindow});
    Pass();
}

void WizardTest::ConnectMultimeter() {
    Press(calibration::kDmmConnect);
    ASSERT_EQ(Text(calibration::kDmmConnect), "Connected");
}

std::string WizardTest::Text(int control) const {
    return ui::ControlText(*gui, control);
}

std::uint32_t WizardTest::InstrumentRegister(int number) const {
    return sim::Inspect(*instrument).registers[static_cast<std::size_t>(number)];
}

int WizardTest::DacCode() const {
    return sim::DacCodeFromRegister(InstrumentRegister(3));
}

std::uint64_t WizardTest::WritesAccepted() const {
    const sim::Counters counters = sim::Inspect(*instrument).counters;
    return counters.packetsAccepted - counters.polls;
}

std::string WizardTest::EepromCalibrationText() {
    const bool wasConnected = link.state.Connected;
    if (!wasConnected)
        ConnectMenuItem(link, app, log);
    ReadCalibrationText(link, "eeprom_copy.txt");
    return FileText("eeprom_copy.txt");
}

}  // namespace orv::test
