#include "app/calibration_window.h"

#include "app/program.h"
#include "calibration/calibration_wizard.h"
#include "link/sim/meter_output.h"

namespace orv {

CalibrationContext CalibrationContextOf(Program& program) {
    return CalibrationContext{
        *program.gui,
        program.log,
        program.link,
        program.media,
        program.dmm,
        program.app.settings.ActiveInstrument,
        program.simMultimeter != nullptr ? SimMultimeterAddress(*program.simMultimeter)
                                         : std::string(kDefaultDmmAddress),
    };
}

void OpenCalibrationWindow(Program& program) {
    if (program.gui == nullptr)
        return;
    CalibrationContext context = CalibrationContextOf(program);
    OpenCalibrationWizard(context);
}

void StartSimulatedMultimeter(Program& program) {
    if (program.simulator == nullptr || program.simMultimeter != nullptr)
        return;
    const sim::Instrument* instrument = program.simulator.get();
    program.simMultimeter = StartSimMultimeter(
        [instrument] { return sim::SocketVolts(*instrument, sim::OutputSocket::Red); });
}

}  // namespace orv
