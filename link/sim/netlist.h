#pragma once
// A circuit tree flattened into nodes and elements for the solver. Node 0 is the pin;
// kGround is the ground. Shorts merge nodes; opens and parts that cannot carry current
// from the pin are left out.

#include <vector>

#include "link/sim/circuit.h"

namespace orv::sim {

inline constexpr int kGround = -1;

struct Branch {
    int a = kGround;
    int b = kGround;
    double value = 0.0;  // siemens for a conductance, farads for a capacitance
};

// A junction from anode to cathode; `breakdownVolts` 0 for a plain diode.
struct JunctionBranch {
    int anode = kGround;
    int cathode = kGround;
    double breakdownVolts = 0.0;
};

struct Netlist {
    bool pinGrounded = false;  // a short between pin and ground: the pin stays at 0 V
    int nodeCount = 0;         // node 0 is the pin unless pinGrounded
    std::vector<Branch> conductances;
    std::vector<Branch> capacitances;
    std::vector<JunctionBranch> junctions;
};

Netlist Flatten(const Circuit& circuit);

}  // namespace orv::sim
