#include "link/sim/pin_faults.h"

#include <utility>

namespace orv::sim {
namespace {

// Rewrites, in place, the leaves of `kind` that touch the pin: through both branches
// of a parallel pair, into a reversed part, and into the pin's end of a series chain.
// Returns how many it rewrote.
template <typename Change>
int ChangePinParts(Circuit& circuit, bool (*matches)(const Circuit&), const Change& change) {
    if (matches(circuit)) {
        change(circuit);
        return 1;
    }
    switch (circuit.kind) {
        case ElementKind::Parallel:
            return ChangePinParts(circuit.parts[0], matches, change) +
                   ChangePinParts(circuit.parts[1], matches, change);
        case ElementKind::Series:
        case ElementKind::Reversed:
            return ChangePinParts(circuit.parts[0], matches, change);
        default:
            return 0;
    }
}

bool IsCapacitor(const Circuit& c) {
    return c.kind == ElementKind::Capacitor;
}

bool IsJunction(const Circuit& c) {
    return c.kind == ElementKind::Diode || c.kind == ElementKind::Zener;
}

std::optional<Circuit> ScaledCapacitance(Circuit circuit, double factor) {
    const int changed =
        ChangePinParts(circuit, IsCapacitor, [&](Circuit& c) { c.value *= factor; });
    return changed > 0 ? std::optional(std::move(circuit)) : std::nullopt;
}

}  // namespace

std::string_view PinFaultText(PinFault fault) {
    switch (fault) {
        case PinFault::Open:
            return "open";
        case PinFault::ShortToGround:
            return "short to ground";
        case PinFault::Leak:
            return "2.2 kOhm leak";
        case PinFault::CapacitanceSmaller:
            return "capacitance x0.2";
        case PinFault::CapacitanceLarger:
            return "capacitance x5";
        case PinFault::JunctionRemoved:
            return "junction removed";
    }
    return "";
}

std::optional<Circuit> WithPinFault(const Circuit& circuit, PinFault fault) {
    switch (fault) {
        case PinFault::Open:
            return Open();
        case PinFault::ShortToGround:
            return Short();
        case PinFault::Leak:
            return Parallel(circuit, Resistor(kLeakOhms));
        case PinFault::CapacitanceSmaller:
            return ScaledCapacitance(circuit, kCapacitanceSmallerFactor);
        case PinFault::CapacitanceLarger:
            return ScaledCapacitance(circuit, kCapacitanceLargerFactor);
        case PinFault::JunctionRemoved: {
            Circuit changed = circuit;
            if (ChangePinParts(changed, IsJunction, [](Circuit& c) { c = Open(); }) == 0)
                return std::nullopt;
            return changed;
        }
    }
    return std::nullopt;
}

}  // namespace orv::sim
