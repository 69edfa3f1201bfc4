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
};

enum class ElementKind { Open, Short, Resistor, Capacitor, Diode, Zener, Series, Parallel };

// A copyable value: a small tree of elements. `value` is ohms for a resistor, farads
// for a capacitor and the breakdown voltage for a zener; Series and Parallel hold their
// two branches in `parts`.
struct Circuit {
    ElementKind kind = ElementKind::Open;
    double value = 0.0;
    std::vector<Circuit> parts;
};

Circuit Open();
Circuit Short();
Circuit Resistor(double ohms);
Circuit Capacitor(double farads);
Circuit Diode();                       // silicon junction, anode at the pin, cathode to ground
Circuit Zener(double breakdownVolts);  // likewise, breaking down in reverse
Circuit Series(Circuit a, Circuit b);
Circuit Parallel(Circuit a, Circuit b);

// One period in 64 samples; sample k at phase 2*pi*k/64 of the sine. `source` is the
// generator's open-circuit voltage (before the source resistor), `pin` the voltage at
// the probed pin (after it), both in volts, in steady state.
struct Waveform {
    std::array<double, 64> source{};
    std::array<double, 64> pin{};
};

Waveform SolveSteadyState(const Circuit& circuit, const Drive& drive);

}  // namespace orv::sim
