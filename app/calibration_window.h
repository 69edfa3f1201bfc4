#pragma once
// The calibration window as the menu opens it, on the program's records.

namespace orv {

struct Program;

// Opens "Calibrate <model> ADC/DAC" and returns when it has closed.
void OpenCalibrationWindow(Program& program);

// With the simulated instrument: a simulated multimeter on a free loopback port, its
// leads on the instrument's red socket. Its address is what the window shows.
void StartSimulatedMultimeter(Program& program);

}  // namespace orv
