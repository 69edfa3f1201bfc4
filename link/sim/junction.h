#pragma once
// The silicon junction of diodes, zeners and transistor models: a Shockley junction
// with a sharp exponential reverse breakdown for zeners, behind a small series
// resistance.

namespace orv::sim {

inline constexpr double kThermalVolts = 0.025852;   // kT/q at 300 K
inline constexpr double kSaturationAmps = 5e-15;    // forward knee about 0.65 V at 0.5 mA
inline constexpr double kJunctionSeriesOhms = 0.5;  // bulk and lead resistance
inline constexpr double kBreakdownAmps = 1e-3;      // reverse current at the breakdown voltage
inline constexpr double kJunctionLeakSiemens = 1e-12;

struct JunctionPoint {
    double amps = 0.0;     // anode to cathode
    double siemens = 0.0;  // d amps / d volts, always positive
};

// Current and slope at `volts` anode minus cathode; `breakdownVolts` 0 for no breakdown.
// Zero volts gives zero amps, so a junction never acts as a source.
JunctionPoint EvaluateJunction(double volts, double breakdownVolts);

// Where a junction branch was last evaluated, from which the next evaluation starts.
struct JunctionMemory {
    double branchVolts = 0.0;
    double junctionVolts = 0.0;      // across the bare junction
    double junctionPerBranch = 1.0;  // d junctionVolts / d branchVolts
};

// The junction with its series resistance, at `volts` across both: current and slope.
JunctionPoint EvaluateJunctionBranch(double volts, double breakdownVolts, JunctionMemory& memory);

// A Newton step of a junction's voltage shortened where the exponential would
// overshoot (on the forward side and, for a zener, past the breakdown voltage).
double LimitJunctionStep(double newVolts, double oldVolts, double breakdownVolts);

}  // namespace orv::sim
