#pragma once
// The periodic steady state of a netlist driven through the source resistor by the
// generator's sine, found by implicit time stepping (second-order backward
// differences) with Newton on the junctions, and Newton on the period map
// (shooting) so that long time constants settle in a few periods.

#include <array>

#include "link/sim/circuit.h"
#include "link/sim/netlist.h"

namespace orv::sim {

inline constexpr int kSamplesPerPeriod = 64;

// The pin voltage at sample k, phase 2*pi*k/64 of the sine. `drive` holds finite
// values, a source resistance above zero and a frequency of zero or more; zero gives
// the slow limit where every capacitor follows the sine fully charged.
std::array<double, kSamplesPerPeriod> SolvePinSamples(const Netlist& net, const Drive& drive);

}  // namespace orv::sim
