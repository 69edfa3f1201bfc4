#include "link/sim/junction.h"

#include <algorithm>
#include <cmath>

namespace orv::sim {
namespace {

// Beyond this exponent the exponential continues as its tangent, so that no iterate,
// however wild, overflows.
constexpr double kMaxExponent = 40.0;

struct Exponential {
    double value = 0.0;
    double slope = 0.0;
};

Exponential SafeExp(double x) {
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
