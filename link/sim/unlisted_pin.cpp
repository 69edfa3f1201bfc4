#include "link/sim/unlisted_pin.h"

#include <array>

namespace orv::sim {
namespace {

constexpr std::uint64_t kFnvOffset = 14695981039346656037ull;
constexpr std::uint64_t kFnvPrime = 1099511628211ull;
// Cannot occur in a reference designator or pin name, so "U1"+"23" and "U12"+"3"
// hash apart.
constexpr unsigned char kSeparator = 0x1f;

void Mix(std::uint64_t& h, unsigned char byte) {
    h ^= byte;
    h *= kFnvPrime;
}

// Hands out the hash a few bits at a time.
struct Bits {
    std::uint64_t rest;
    unsigned Take(unsigned count) {
        const unsigned value = static_cast<unsigned>(rest % count);
        rest /= count;
        return value;
    }
};

constexpr std::array<double, 6> kE6 = {1.0, 1.5, 2.2, 3.3, 4.7, 6.8};
constexpr std::array<double, 4> kDecadesOhms = {100.0, 1e3, 1e4, 1e5};
constexpr std::array<double, 4> kDecadesFarads = {1e-8, 1e-7, 1e-6, 1e-5};
constexpr std::array<double, 6> kZenerVolts = {3.3, 4.7, 5.1, 6.2, 9.1, 12.0};

// Each draw is its own statement: the order in which the operands of one expression
// are evaluated is unspecified, and the circuit must not depend on the compiler.
double Ohms(Bits& b) {
    const double mantissa = kE6[b.Take(6)];
    return mantissa * kDecadesOhms[b.Take(4)];
}
double Farads(Bits& b) {
    const double mantissa = kE6[b.Take(6)];
    return mantissa * kDecadesFarads[b.Take(4)];
}

// An unpowered logic input: protection diodes to ground and into the supply rail,
// whose decoupling capacitor and loads the upper diode charges.
Circuit LogicInput() {
    return Parallel(Reversed(Diode()), Series(Diode(), Parallel(Capacitor(47e-6), Resistor(10e3))));
}

}  // namespace

std::uint64_t HashPinName(std::string_view component, std::string_view pin) {
    std::uint64_t h = kFnvOffset;
    for (char c : component)
        Mix(h, static_cast<unsigned char>(c));
    Mix(h, kSeparator);
    for (char c : pin)
        Mix(h, static_cast<unsigned char>(c));
    return h;
}

Circuit UnlistedPinCircuit(std::string_view component, std::string_view pin) {
    Bits b{HashPinName(component, pin)};
    switch (b.Take(10)) {
        case 0:
            return Open();  // not connected
        case 1:
            return Resistor(Ohms(b));
        case 2:
            return Capacitor(Farads(b));
        case 3: {
            const double ohms = Ohms(b);
            return Parallel(Resistor(ohms), Capacitor(Farads(b)));
        }
        case 4:
            return b.Take(2) == 0 ? Diode() : Reversed(Diode());
        case 5:
            return Reversed(Zener(kZenerVolts[b.Take(6)]));
        case 6:
            return Series(Resistor(Ohms(b)), Diode());
        case 7:
            return Parallel(LogicInput(), Resistor(Ohms(b) * 10.0));
        default:
            return LogicInput();
    }
}

}  // namespace orv::sim
