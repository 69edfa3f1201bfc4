#pragma once
// What a bench multimeter reads at the simulated instrument's sockets: the generator's
// DC level at the red socket (the calibration output, or the mean of the sine), the DC
// bias DAC's output at the blue one.

#include "link/sim/instrument.h"

namespace orv::sim {

enum class OutputSocket { Red, Blue };

double SocketVolts(const Instrument& instrument, OutputSocket socket);

}  // namespace orv::sim
