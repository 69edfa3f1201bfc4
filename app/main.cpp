// orv: the control program of the signature analyser. "--simulator" runs it on the
// built-in simulated instrument instead of the USB one (app/command_line.cpp).

#include <string>

#include "app/calibration_window.h"
#include "app/command_line.h"
#include "app/program.h"
#include "app/startup.h"
#include "app/subsystem_steps.h"
#include "core/instrument_model.h"
#include "core/release_check.h"
#include "core/settings.h"
#include "link/sim/simulated_driver.h"
#include "ui/application.h"
#include "ui/gui.h"
#include "ui/qt_dialogs.h"

namespace {

// The simulated instrument presents the model the settings choose, read here without
// adding the key: the start-up reads the settings properly.
std::string SimulatedModel() {
    std::string model = orv::FindSettingValue(orv::kSettingsFileName, "ActiveInstrument");
    return orv::IsKnownModel(model) ? model : std::string(orv::kDefaultInstrumentModel);
}

void ChooseInstrumentDriver(orv::Program& program, const orv::StartOptions& options) {
    if (options.simulator) {
        program.simulator = orv::sim::MakeInstrument(SimulatedModel(), &program.link.clock);
        program.driver = orv::sim::MakeSimulatedDriver(*program.simulator);
    } else {
        program.driver = orv::MakeLibFtdiDriver();
    }
}

}  // namespace

int main(int argc, char** argv) {
    orv::StartOptions options;
    if (const std::optional<int> status = orv::HandleCommandLine(argc, argv, options))
        return *status;
    orv::ui::Application application(argc, argv);
    application.CloseWindowsOnTerminationSignal();
    // The crash box program is installed beside this one.
    options.crashBoxProgram = application.ProgramFolder() + "/orv-crash-box";
    options.releaseServer.host = std::string(orv::kProductWebServer);

    orv::Program program;
    program.dialogs = std::make_unique<orv::ui::QtDialogs>();
    program.gui = std::make_unique<orv::ui::Gui>();
    ChooseInstrumentDriver(program, options);
    orv::StartUp(program, options);
    orv::StartSimulatedMultimeter(program);
    orv::RunTopLevelLoop(program);
    orv::StopCommsThread(program);
    return 0;
}
