#include "link/sim/board.h"

#include <initializer_list>

#include "link/sim/unlisted_pin.h"

namespace orv::sim {
namespace {

// A small single-supply amplifier with a transistor stage and a quad NAND gate:
//   U1 dual op-amp: A amplifies the biased input, B buffers the bias;
//   Q1 NPN driven from U1A through R5, emitter resistor R6, collector load R7;
//   U2 quad NAND: the collector into gate 1, gates 2 and 3 as inverters via D2 with
//   pull-down R8, gate 4 from the R9/D3 zener-protected input with pin 12 grounded;
//   C1, C2 decoupling, D1 reverse-polarity diode, C3 input coupling, C4 bias filter.
// Unpowered, every net is seen from its pins as a circuit to ground; paths through
// other nets are reduced to what dominates them.

struct Faults {
    bool bondWireOpen = false;    // U2 pin 8 no longer reaches the die
    bool solderBridge = false;    // U2 pin 11 bridged to pin 12, which is grounded
    bool leakyZener = false;      // D3 leaks through 2.2 kOhm
    bool driedCapacitor = false;  // C3 down from 1 uF to 0.22 uF
};

Circuit AnyOf(std::initializer_list<Circuit> parts) {
    auto it = parts.begin();
    Circuit all = *it;
    for (++it; it != parts.end(); ++it)
        all = Parallel(all, *it);
    return all;
}

// The unpowered supply rail as a protection diode sees it: the decoupling capacitors
// and the ICs' supply paths.
Circuit RailLoad() {
    return Parallel(Capacitor(100.1e-6), Resistor(8.2e3));
}

// The protection diodes of `inputs` CMOS inputs on one net: to ground, and into the
// rail, which charges through them.
Circuit Protection(int inputs) {
    Circuit down = Reversed(Diode());
    Circuit up = Diode();
    for (int i = 1; i < inputs; ++i) {
        down = Parallel(down, Reversed(Diode()));
        up = Parallel(up, Diode());
    }
    return Parallel(down, Series(up, RailLoad()));
}

// An unpowered output: the same diodes and the leakage of the idle output stage.
Circuit OutputStage() {
    return Parallel(Protection(1), Resistor(220e3));
}

Circuit Ground() {
    return Short();
}

Circuit Supply() {
    return AnyOf({
        Capacitor(100e-6),                                                   // C1
        Capacitor(100e-9),                                                   // C2
        Reversed(Diode()),                                                   // D1
        Resistor(47e3),                                                      // U1 supply
        Parallel(Resistor(33e3), Reversed(Diode())),                         // U2 supply
        Series(Resistor(10e3), Parallel(Resistor(10e3), Capacitor(10e-6))),  // R1 to bias
        Series(Resistor(4.7e3), Reversed(Diode())),                          // R7 to U2's inputs
    });
}

Circuit Bias() {
    return AnyOf({
        Resistor(10e3),                      // R2
        Capacitor(10e-6),                    // C4
        Series(Resistor(10e3), RailLoad()),  // R1
        Protection(2),                       // U1 pins 3 and 5
    });
}

Circuit CouplingInput(const Faults& f) {
    return Series(Capacitor(f.driedCapacitor ? 0.22e-6 : 1e-6), Bias());  // C3
}

Circuit Feedback() {
    return AnyOf({
        Protection(1),                           // U1 pin 2
        Resistor(10e3),                          // R4
        Series(Resistor(100e3), OutputStage()),  // R3 to U1 pin 1
    });
}

// Q1's base to ground: the base-emitter junction and R6.
Circuit BaseEmitterPath() {
    return Series(Diode(), Resistor(470));
}

Circuit AmplifierOutput() {
    return AnyOf({
        OutputStage(),                                                     // U1 pin 1
        Series(Resistor(100e3), Parallel(Resistor(10e3), Protection(1))),  // R3 to feedback
        Series(Resistor(1e3), BaseEmitterPath()),                          // R5 to Q1
    });
}

Circuit CollectorLoad() {
    return Parallel(Series(Resistor(4.7e3), RailLoad()), Protection(2));
}

Circuit Base() {
    return AnyOf({
        BaseEmitterPath(), Series(Resistor(1e3), OutputStage()),  // R5 to U1 pin 1
        Series(Diode(), CollectorLoad()),                         // base-collector junction
    });
}

Circuit Emitter() {
    return AnyOf({
        Resistor(470),                                                    // R6
        Series(Reversed(Diode()), Series(Resistor(1e3), OutputStage())),  // through the base
    });
}

Circuit Collector() {
    return AnyOf({
        Series(Resistor(4.7e3), RailLoad()),  // R7
        Protection(2),                        // U2 pins 1 and 2
        Series(Reversed(Diode()),             // base-collector junction
               Parallel(BaseEmitterPath(), Series(Resistor(1e3), OutputStage()))),
    });
}

Circuit FirstGate() {
    return Parallel(OutputStage(), Protection(2));
}

Circuit SecondGate() {
    return Parallel(OutputStage(),
                    Series(Diode(), Parallel(Resistor(100e3), Protection(2))));  // D2
}

Circuit LogicInputs() {
    return AnyOf({
        Resistor(100e3),                           // R8
        Protection(2),                             // U2 pins 9 and 10
        Series(Reversed(Diode()), OutputStage()),  // D2 back to U2 pin 6
    });
}

Circuit ZenerD3(const Faults& f) {
    return f.leakyZener ? Parallel(Zener(5.1), Resistor(2.2e3)) : Zener(5.1);
}

Circuit ProtectedInput(const Faults& f) {
    return Parallel(Reversed(ZenerD3(f)), Protection(1));  // D3, U2 pin 13
}

Circuit Buffer() {
    return Parallel(Protection(1), OutputStage());
}

void Place(SimBoard& board, const char* component, const char* pin, Circuit circuit) {
    board.pins.push_back({component, pin});
    board.circuits[{component, pin}] = std::move(circuit);
}

SimBoard MakeBoard(const Faults& f) {
    SimBoard b;
    Place(b, "U1", "1", AmplifierOutput());
    Place(b, "U1", "2", Feedback());
    Place(b, "U1", "3", Bias());
    Place(b, "U1", "4", Ground());
    Place(b, "U1", "5", Bias());
    Place(b, "U1", "6", Buffer());
    Place(b, "U1", "7", Buffer());
    Place(b, "U1", "8", Supply());

    Place(b, "U2", "1", Collector());
    Place(b, "U2", "2", Collector());
    Place(b, "U2", "3", FirstGate());
    Place(b, "U2", "4", FirstGate());
    Place(b, "U2", "5", FirstGate());
    Place(b, "U2", "6", SecondGate());
    Place(b, "U2", "7", Ground());
    Place(b, "U2", "8", f.bondWireOpen ? Open() : OutputStage());
    Place(b, "U2", "9", LogicInputs());
    Place(b, "U2", "10", LogicInputs());
    Place(b, "U2", "11", f.solderBridge ? Short() : OutputStage());
    Place(b, "U2", "12", Ground());
    Place(b, "U2", "13", ProtectedInput(f));
    Place(b, "U2", "14", Supply());

    Place(b, "Q1", "B", Base());
    Place(b, "Q1", "C", Collector());
    Place(b, "Q1", "E", Emitter());

    Place(b, "R1", "1", Supply());
    Place(b, "R1", "2", Bias());
    Place(b, "R2", "1", Bias());
    Place(b, "R2", "2", Ground());
    Place(b, "R3", "1", AmplifierOutput());
    Place(b, "R3", "2", Feedback());
    Place(b, "R4", "1", Feedback());
    Place(b, "R4", "2", Ground());
    Place(b, "R5", "1", AmplifierOutput());
    Place(b, "R5", "2", Base());
    Place(b, "R6", "1", Emitter());
    Place(b, "R6", "2", Ground());
    Place(b, "R7", "1", Supply());
    Place(b, "R7", "2", Collector());
    Place(b, "R8", "1", LogicInputs());
    Place(b, "R8", "2", Ground());
    Place(b, "R9", "1", Series(Resistor(1e3), ProtectedInput(f)));
    Place(b, "R9", "2", ProtectedInput(f));

    Place(b, "C1", "1", Supply());
    Place(b, "C1", "2", Ground());
    Place(b, "C2", "1", Supply());
    Place(b, "C2", "2", Ground());
    Place(b, "C3", "1", CouplingInput(f));
    Place(b, "C3", "2", Bias());
    Place(b, "C4", "1", Bias());
    Place(b, "C4", "2", Ground());

    Place(b, "D1", "A", Ground());
    Place(b, "D1", "K", Supply());
    Place(b, "D2", "A", SecondGate());
    Place(b, "D2", "K", LogicInputs());
    Place(b, "D3", "A", Ground());
    Place(b, "D3", "K", ProtectedInput(f));
    return b;
}

}  // namespace

SimBoard MakeKnownGoodBoard() {
    return MakeBoard({});
}

SimBoard MakeBoardUnderTest() {
    return MakeBoard(
        {.bondWireOpen = true, .solderBridge = true, .leakyZener = true, .driedCapacitor = true});
}

std::vector<BoardPin> ListPins(const SimBoard& board) {
    return board.pins;
}

Circuit CircuitAt(const SimBoard& board, std::string_view component, std::string_view pin) {
    const auto it = board.circuits.find({std::string(component), std::string(pin)});
    if (it != board.circuits.end())
        return it->second;
    return UnlistedPinCircuit(component, pin);
}

}  // namespace orv::sim
