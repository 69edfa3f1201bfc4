#pragma once
// The circuit under the probe and its steady-state response to the generator's sine.
// A circuit is a small tree of two-terminal elements between the probed pin and ground.

#include <array>
#include <vector>

namespace orv::sim {

// The generator as the probe sees it: a sine of peak `peakVolts` on top of `dcVolts`,
// behind `sourceOhms`.
struct Drive {
    double peakVolts = 1.0;
    double sourceOhms = 1000.0;
    double frequencyHz = 50.0;
    double dcVolts = 0.0;

    bool operator==(const Drive&) const = default;
};

enum class ElementKind {
    Open,
    Short,
    Resistor,
    Capacitor,
    Diode,
    Zener,
    Series,
    Parallel,
    Reversed
};

// A copyable value: a small tree of elements. `value` is ohms for a resistor, farads
// for a capacitor and the breakdown voltage for a zener; Series and Parallel hold their
// branches in `parts` (Series from the pin towards ground); Reversed holds one part
// whose two ends are swapped.
struct Circuit {
    ElementKind kind = ElementKind::Open;
    double value = 0.0;
    std::vector<Circuit> parts;

    bool operator==(const Circuit&) const = default;
};

Circuit Open();
Circuit Short();
Circuit Resistor(double ohms);
Circuit Capacitor(double farads);
Circuit Diode();                       // silicon junction, anode at the pin, cathode to ground
Circuit Zener(double breakdownVolts);  // likewise, breaking down in reverse
Circuit Series(Circuit a, Circuit b);
Circuit Parallel(Circuit a, Circuit b);
// The same element turned round: its ground end at the pin. Reversed(Diode()) is a
// junction with its cathode at the pin, as an input's protection diode to ground.
Circuit Reversed(Circuit c);

// One period in 64 samples; sample k at phase 2*pi*k/64 of the sine. `source` is the
// generator's open-circuit voltage (before the source resistor), `pin` the voltage at
// the probed pin (after it), both in volts, in steady state.
struct Waveform {
    std::array<double, 64> source{};
    std::array<double, 64> pin{};
};

Waveform SolveSteadyState(const Circuit& circuit, const Drive& drive);

// The last answer, kept by a caller that asks again and again for the same circuit
// and drive (every frame while the probe rests on a pin).
struct SteadyStateCache {
    bool filled = false;
    Circuit circuit;
    Drive drive;
    Waveform waveform;
};

// SolveSteadyState, answered from the cache when circuit and drive are unchanged.
const Waveform& SolveSteadyStateCached(SteadyStateCache& cache, const Circuit& circuit,
                                       const Drive& drive);

}  // namespace orv::sim
