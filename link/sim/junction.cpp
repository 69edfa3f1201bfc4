#include "link/sim/junction.h"

#include <algorithm>
#include <cmath>

namespace orv::sim {
namespace {

// Beyond this exponent the exponential continues as its tangent, so that no iterate,
// however wild, overflows.
constexpr double kMaxExponent = 40.0;
constexpr int kMaxBranchIterations = 100;
constexpr double kBranchTolerance = 1e-10;  // volts, relative to 1 V
// Below this the forward current bound lies above the branch voltage itself.
constexpr double kForwardBoundFrom = 0.8;

struct Exponential {
    double value = 0.0;
    double slope = 0.0;
};

Exponential SafeExp(double x) {
    // Far below one the exponential no longer counts against the other terms.
    if (x < -kMaxExponent)
        return {};
    if (x <= kMaxExponent) {
        const double e = std::exp(x);
        return {e, e};
    }
    const double e = std::exp(kMaxExponent);
    return {e * (1.0 + x - kMaxExponent), e};
}

// Where the exponential of a junction with this scale current starts to bend sharply.
double CriticalVolts(double scaleAmps) {
    return kThermalVolts * std::log(kThermalVolts / (std::sqrt(2.0) * scaleAmps));
}

const double kForwardCriticalVolts = CriticalVolts(kSaturationAmps);
const double kBreakdownCriticalVolts = CriticalVolts(kBreakdownAmps);

// The classic junction limiter: above the critical voltage a step grows at most
// logarithmically.
double LimitExponentialStep(double newVolts, double oldVolts, double critical) {
    if (newVolts <= critical || std::fabs(newVolts - oldVolts) <= 2.0 * kThermalVolts) {
        return newVolts;
    }
    if (oldVolts > 0.0) {
        const double arg = 1.0 + (newVolts - oldVolts) / kThermalVolts;
        return arg > 0.0 ? oldVolts + kThermalVolts * std::log(arg) : critical;
    }
    return kThermalVolts * std::log(newVolts / kThermalVolts);
}

}  // namespace

JunctionPoint EvaluateJunction(double volts, double breakdownVolts) {
    const Exponential forward = SafeExp(volts / kThermalVolts);
    JunctionPoint p;
    p.amps = kSaturationAmps * (forward.value - 1.0) + kJunctionLeakSiemens * volts;
    p.siemens = kSaturationAmps * forward.slope / kThermalVolts + kJunctionLeakSiemens;
    if (breakdownVolts > 0.0) {
        const Exponential reverse = SafeExp(-(volts + breakdownVolts) / kThermalVolts);
        const double atZero = SafeExp(-breakdownVolts / kThermalVolts).value;
        p.amps -= kBreakdownAmps * (reverse.value - atZero);
        p.siemens += kBreakdownAmps * reverse.slope / kThermalVolts;
    }
    return p;
}

JunctionPoint EvaluateJunctionBranch(double volts, double breakdownVolts, JunctionMemory& memory) {
    // The bare junction takes part of `volts`, of the same sign: Newton on
    // u + r I(u) = volts inside that bracket, halving it where Newton would leave it,
    // from the last answer moved along its slope.
    double low = std::min(0.0, volts);
    double high = std::max(0.0, volts);
    // Nor can the junction pass more than all of `volts` across the series resistance
    // would drive: that bounds it closely once it conducts.
    // (Checked only where that bound can be the closer one.)
    if (volts > kForwardBoundFrom) {
        high = std::min(
            high, kThermalVolts * std::log1p(volts / (kJunctionSeriesOhms * kSaturationAmps)));
    } else if (breakdownVolts > 0.0 && -volts > breakdownVolts) {
        low = std::max(
            low, -breakdownVolts -
                     kThermalVolts * std::log1p(-volts / (kJunctionSeriesOhms * kBreakdownAmps)));
    }
    double u = std::clamp(
        memory.junctionVolts + (volts - memory.branchVolts) * memory.junctionPerBranch, low, high);
    JunctionPoint p = EvaluateJunction(u, breakdownVolts);
    for (int iteration = 0; iteration < kMaxBranchIterations; ++iteration) {
        const double excess = u + kJunctionSeriesOhms * p.amps - volts;
        if (excess == 0.0)
            break;
        if (excess > 0.0) {
            high = u;
        } else {
            low = u;
        }
        double next = u - excess / (1.0 + kJunctionSeriesOhms * p.siemens);
        if (!(next >= low && next <= high))
            next = 0.5 * (low + high);
        const bool settled = std::fabs(next - u) <= kBranchTolerance * (1.0 + std::fabs(u));
        u = next;
        p = EvaluateJunction(u, breakdownVolts);
        if (settled)
            break;
    }
    const double junctionPerBranch = 1.0 / (1.0 + kJunctionSeriesOhms * p.siemens);
    memory = {volts, u, junctionPerBranch};
    return {p.amps, p.siemens * junctionPerBranch};
}

double LimitJunctionStep(double newVolts, double oldVolts, double breakdownVolts) {
    const double forward = LimitExponentialStep(newVolts, oldVolts, kForwardCriticalVolts);
    if (forward != newVolts || breakdownVolts <= 0.0)
        return forward;
    const double reverseNew = -(newVolts + breakdownVolts);
    const double reverse =
        LimitExponentialStep(reverseNew, -(oldVolts + breakdownVolts), kBreakdownCriticalVolts);
    return reverse == reverseNew ? newVolts : -reverse - breakdownVolts;
}

}  // namespace orv::sim
