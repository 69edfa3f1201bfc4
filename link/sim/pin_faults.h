#pragma once
// The faults a technician meets on one pin, applied to the circuit the probe sees
// there: the pin opened or shorted to ground, a resistive leak added, its capacitance
// changed, its junction lost. The parts a fault acts on are the pin's own: those that
// touch the pin, not the ones behind another part.

#include <optional>
#include <string_view>

#include "link/sim/circuit.h"

namespace orv::sim {

enum class PinFault {
    Open,                // the pin no longer reaches its net
    ShortToGround,       // a bridge from the pin to ground
    Leak,                // 2.2 kOhm from the pin to ground
    CapacitanceSmaller,  // the pin's capacitors at a fifth of their value
    CapacitanceLarger,   // at five times their value
    JunctionRemoved,     // the pin's diodes and zeners gone open
};

inline constexpr PinFault kPinFaults[] = {
    PinFault::Open,
    PinFault::ShortToGround,
    PinFault::Leak,
    PinFault::CapacitanceSmaller,
    PinFault::CapacitanceLarger,
    PinFault::JunctionRemoved,
};

inline constexpr double kLeakOhms = 2.2e3;
inline constexpr double kCapacitanceSmallerFactor = 0.2;
inline constexpr double kCapacitanceLargerFactor = 5.0;

// "open", "short to ground", "2.2 kOhm leak", "capacitance x0.2", "capacitance x5",
// "junction removed".
std::string_view PinFaultText(PinFault fault);

// The circuit with the fault, or nothing when the pin has no part the fault could act
// on (no capacitor of its own for a capacitance change, no junction of its own).
std::optional<Circuit> WithPinFault(const Circuit& circuit, PinFault fault);

}  // namespace orv::sim
