#include "link/sim/circuit.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "link/sim/netlist.h"
#include "link/sim/periodic_solver.h"

namespace orv::sim {
namespace {

// The generator's own limits: a source resistance between a stiff 1 mOhm and an
// all but disconnected 1 TOhm, a frequency of zero or more.
constexpr double kLowestSourceOhms = 1e-3;
constexpr double kHighestSourceOhms = 1e12;

double FiniteOrZero(double x) {
    return std::isfinite(x) ? x : 0.0;
}

Drive Sanitised(const Drive& drive) {
    Drive d;
    d.peakVolts = FiniteOrZero(drive.peakVolts);
    d.dcVolts = FiniteOrZero(drive.dcVolts);
    d.frequencyHz =
        std::isfinite(drive.frequencyHz) && drive.frequencyHz > 0.0 ? drive.frequencyHz : 0.0;
    d.sourceOhms = std::isnan(drive.sourceOhms)
                       ? kLowestSourceOhms
                       : std::clamp(drive.sourceOhms, kLowestSourceOhms, kHighestSourceOhms);
    return d;
}

Circuit Leaf(ElementKind kind, double value) {
    return Circuit{kind, value, {}};
}

Circuit Pair(ElementKind kind, Circuit a, Circuit b) {
    Circuit c{kind, 0.0, {}};
    c.parts.reserve(2);
    c.parts.push_back(std::move(a));
    c.parts.push_back(std::move(b));
    return c;
}

}  // namespace

Circuit Open() {
    return Leaf(ElementKind::Open, 0.0);
}
Circuit Short() {
    return Leaf(ElementKind::Short, 0.0);
}
Circuit Resistor(double ohms) {
    return Leaf(ElementKind::Resistor, ohms);
}
Circuit Capacitor(double farads) {
    return Leaf(ElementKind::Capacitor, farads);
}
Circuit Diode() {
    return Leaf(ElementKind::Diode, 0.0);
}
Circuit Zener(double breakdownVolts) {
    return Leaf(ElementKind::Zener, breakdownVolts);
}
Circuit Series(Circuit a, Circuit b) {
    return Pair(ElementKind::Series, std::move(a), std::move(b));
}
Circuit Parallel(Circuit a, Circuit b) {
    return Pair(ElementKind::Parallel, std::move(a), std::move(b));
}
Circuit Reversed(Circuit c) {
    Circuit r{ElementKind::Reversed, 0.0, {}};
    r.parts.push_back(std::move(c));
    return r;
}

Waveform SolveSteadyState(const Circuit& circuit, const Drive& drive) {
    const Drive d = Sanitised(drive);
    Waveform w;
    for (int k = 0; k < kSamplesPerPeriod; ++k) {
        w.source[k] =
            d.dcVolts + d.peakVolts * std::sin(2.0 * std::numbers::pi * k / kSamplesPerPeriod);
    }
    const Netlist net = Flatten(circuit);
    if (!net.pinGrounded)
        w.pin = SolvePinSamples(net, d);
    return w;
}

const Waveform& SolveSteadyStateCached(SteadyStateCache& cache, const Circuit& circuit,
                                       const Drive& drive) {
    if (!cache.filled || !(cache.drive == drive) || !(cache.circuit == circuit)) {
        cache.waveform = SolveSteadyState(circuit, drive);
        cache.circuit = circuit;
        cache.drive = drive;
        cache.filled = true;
    }
    return cache.waveform;
}

}  // namespace orv::sim
