#pragma once
// A believable circuit for a pin the simulated board does not list, the same on every
// run and every platform: it is derived from a hash of the component and pin names.

#include <cstdint>
#include <string_view>

#include "link/sim/circuit.h"

namespace orv::sim {

// 64-bit FNV-1a over the component's bytes, a separator byte, then the pin's bytes.
std::uint64_t HashPinName(std::string_view component, std::string_view pin);

Circuit UnlistedPinCircuit(std::string_view component, std::string_view pin);

}  // namespace orv::sim
