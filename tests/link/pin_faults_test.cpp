#include "link/sim/pin_faults.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace orv::sim {
namespace {

// An input behind a coupling capacitor: its own parts are the capacitor at the pin and
// the clamp diode straight across it; the bias network's capacitor and diode sit behind
// the coupling capacitor.
Circuit CoupledInput() {
    return Parallel(Series(Capacitor(1e-6), Parallel(Capacitor(10e-6), Diode())),
                    Reversed(Zener(5.1)));
}

// Equal trees, values within rounding (a scaled capacitance is a product).
bool SameCircuit(const Circuit& a, const Circuit& b) {
    if (a.kind != b.kind || a.parts.size() != b.parts.size() ||
        std::abs(a.value - b.value) > 1e-12 * std::abs(b.value))
        return false;
    for (size_t i = 0; i < a.parts.size(); ++i) {
        if (!SameCircuit(a.parts[i], b.parts[i]))
            return false;
    }
    return true;
}

TEST(PinFaultTest, ActsOnThePartsThatTouchThePinOnly) {
    struct Case {
        PinFault fault;
        Circuit expected;
    };
    const Case cases[] = {
        {PinFault::Open, Open()},
        {PinFault::ShortToGround, Short()},
        {PinFault::Leak, Parallel(CoupledInput(), Resistor(2.2e3))},
        {PinFault::CapacitanceSmaller,
         Parallel(Series(Capacitor(0.2e-6), Parallel(Capacitor(10e-6), Diode())),
                  Reversed(Zener(5.1)))},
        {PinFault::CapacitanceLarger,
         Parallel(Series(Capacitor(5e-6), Parallel(Capacitor(10e-6), Diode())),
                  Reversed(Zener(5.1)))},
        {PinFault::JunctionRemoved,
         Parallel(Series(Capacitor(1e-6), Parallel(Capacitor(10e-6), Diode())), Reversed(Open()))},
    };
    for (const Case& c : cases) {
        const std::optional<Circuit> faulty = WithPinFault(CoupledInput(), c.fault);
        ASSERT_TRUE(faulty.has_value()) << PinFaultText(c.fault);
        EXPECT_TRUE(SameCircuit(*faulty, c.expected)) << PinFaultText(c.fault);
    }
}

TEST(PinFaultTest, APinWithoutTheRightPartsCannotTakeTheFault) {
    const Circuit resistor = Series(Resistor(1e3), Parallel(Capacitor(1e-6), Diode()));
    EXPECT_FALSE(WithPinFault(resistor, PinFault::CapacitanceSmaller).has_value());
    EXPECT_FALSE(WithPinFault(resistor, PinFault::CapacitanceLarger).has_value());
    EXPECT_FALSE(WithPinFault(resistor, PinFault::JunctionRemoved).has_value());
    EXPECT_TRUE(WithPinFault(resistor, PinFault::Leak).has_value());
}

}  // namespace
}  // namespace orv::sim
