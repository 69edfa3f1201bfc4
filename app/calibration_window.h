#pragma once
// The calibration window as the menu opens it, on the program's records.

#include "calibration/calibration_wizard.h"

namespace orv {

struct Program;

// What the window works on: the program's link, log, media and multimeter, the active
// model, and the simulated multimeter's address when there is one.
CalibrationContext CalibrationContextOf(Program& program);

// Opens "Calibrate <model> ADC/DAC" and returns when it has closed.
void OpenCalibrationWindow(Program& program);

// With the simulated instrument: a simulated multimeter on a free loopback port, its
// leads on the instrument's red socket. Its address is what the window shows.
void StartSimulatedMultimeter(Program& program);

}  // namespace orv
