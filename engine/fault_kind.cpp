#include "engine/fault_kind.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <numbers>
#include <vector>

namespace orv {
namespace {

using Complex = std::complex<double>;

// Both curves are read in fractions of full scale: v = X / (peak volts), c = the current
// into the pin / (peak volts / source ohms). The generator then satisfies v + c = its
// own sine, the open-circuit line is c = 0 and the short line v = 0.

// A curve that keeps within this much of a line lies on it; the instrument's own noise
// stays well inside.
constexpr double kLineBand = 0.005;
// On the open line yet carrying a current that follows the voltage at this conductance
// (about 1000 times the source resistance) is a high-resistance path, not an open.
constexpr double kOpenConductance = 0.001;
// On the short line yet with a voltage in step with the current of this size is a very
// low impedance, not a short.
constexpr double kShortImpedance = 0.001;
// A change of the curve's admittance smaller than this (in 1 / source ohms, relative to
// the larger of the two) says nothing about which way it went.
constexpr double kSignificantChange = 0.02;
// How far from pure conductance or pure susceptance a change may point and still be
// named after it.
constexpr double kAngleToleranceDeg = 30;
// A knee: the incremental conductance above it exceeds the one below by this much.
constexpr double kKneeStrength = 0.25;
// A curve shows a knee when it runs past it by this share of its span.
constexpr double kKneeReach = 0.85;
// A knee that moved by this many volts has moved.
constexpr double kKneeShiftVolts = 0.1;
// Fewer points than this make no curve to read.
constexpr int kLeastPoints = 8;

struct Curve {
    std::vector<double> v;
    std::vector<double> c;
};

Curve Normalised(const SignatureBuffer& s, int n, double fullVolts, double ohms) {
    Curve curve;
    curve.v.resize(static_cast<size_t>(n));
    curve.c.resize(static_cast<size_t>(n));
    for (int i = 1; i <= n; ++i) {
        const auto k = static_cast<size_t>(i - 1);
        curve.v[k] = s.X[static_cast<size_t>(i)] / fullVolts;
        // Y is the pin's voltage less the source's over the resistance: the current out.
        curve.c[k] = -s.Y[static_cast<size_t>(i)] * ohms / fullVolts;
    }
    return curve;
}

double MaxAbs(const std::vector<double>& values) {
    double most = 0;
    for (const double x : values)
        most = std::max(most, std::abs(x));
    return most;
}

// The fundamental of one period sampled evenly: its amplitude and phase.
Complex Fundamental(const std::vector<double>& values) {
    const auto n = static_cast<double>(values.size());
    Complex sum = 0;
    for (size_t k = 0; k < values.size(); ++k)
        sum += values[k] * std::polar(1.0, -2 * std::numbers::pi * static_cast<double>(k) / n);
    return sum * (2 / n);
}

// The largest distance, on either axis, between the two curves at equal phase.
double LargestDeparture(const Curve& a, const Curve& b) {
    double most = 0;
    for (size_t k = 0; k < a.v.size(); ++k)
        most = std::max({most, std::abs(a.v[k] - b.v[k]), std::abs(a.c[k] - b.c[k])});
    return most;
}

// The current's least-squares slope against the voltage, through the origin.
double SlopeThroughOrigin(const Curve& curve) {
    double vv = 0;
    double vc = 0;
    for (size_t k = 0; k < curve.v.size(); ++k) {
        vv += curve.v[k] * curve.v[k];
        vc += curve.v[k] * curve.c[k];
    }
    return vv > 0 ? vc / vv : 0;
}

// The current's slope against the voltage below 40 % of each half's voltage span: the
// conductance of the linear paths, below where junctions start to conduct.
double LowConductance(const Curve& curve) {
    double top[2] = {0, 0};
    for (const double v : curve.v)
        top[v < 0] = std::max(top[v < 0], std::abs(v));
    double vv = 0;
    double vc = 0;
    for (size_t k = 0; k < curve.v.size(); ++k) {
        const double v = curve.v[k];
        if (v != 0 && std::abs(v) < 0.4 * top[v < 0]) {
            vv += v * v;
            vc += v * curve.c[k];
        }
    }
    return vv > 0 ? vc / vv : 0;
}

struct Knee {
    double reach = 0;  // the half's largest voltage, volts, unsigned
    bool present = false;
    double volts = 0;     // where it lies, signed as the half it lies on
    double strength = 0;  // conductance above it less the one below, in 1 / source ohms
};

// The knee of one half of the curve (sign +1 or -1): the line through the origin that
// fits the lower 40 % of the half's voltage span, the line that fits its upper 30 %,
// and where they meet. A leakage in parallel tilts both lines alike and leaves the knee
// where it was.
Knee KneeOf(const Curve& curve, int sign, double fullVolts) {
    double top = 0;
    for (const double v : curve.v)
        top = std::max(top, sign * v);
    Knee knee;
    knee.reach = top * fullVolts;
    if (top <= 0)
        return knee;
    double lowVV = 0;
    double lowVC = 0;
    double n = 0;
    double sv = 0;
    double sc = 0;
    double svv = 0;
    double svc = 0;
    for (size_t k = 0; k < curve.v.size(); ++k) {
        const double v = sign * curve.v[k];
        const double c = sign * curve.c[k];
        if (v <= 0)
            continue;
        if (v < 0.4 * top) {
            lowVV += v * v;
            lowVC += v * c;
        } else if (v >= 0.7 * top) {
            n += 1;
            sv += v;
            sc += c;
            svv += v * v;
            svc += v * c;
        }
    }
    const double spread = n * svv - sv * sv;
    if (lowVV <= 0 || n < 2 || spread <= 1e-12)
        return knee;
    const double low = lowVC / lowVV;
    const double high = (n * svc - sv * sc) / spread;
    const double offset = (sc - high * sv) / n;
    knee.strength = high - low;
    if (knee.strength < kKneeStrength)
        return knee;
    const double meet = -offset / knee.strength;
    if (meet <= 0.05 * top || meet >= top)
        return knee;
    knee.present = true;
    knee.volts = sign * meet * fullVolts;
    return knee;
}

std::string Printed(const char* format, double value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Two significant digits, never in exponent form: "2.2", "47", "470".
std::string Rounded(double value, const char* unit) {
    if (value < 10)
        return Printed("%.2g ", value) + unit;
    const double step = std::pow(10.0, std::floor(std::log10(value)) - 1);
    return Printed("%.0f ", std::round(value / step) * step) + unit;
}

// "2.2 kOhm", "470 ohms", "1.5 MOhm".
std::string OhmsText(double ohms) {
    if (ohms >= 1e6)
        return Rounded(ohms / 1e6, "MOhm");
    if (ohms >= 1e3)
        return Rounded(ohms / 1e3, "kOhm");
    return Rounded(ohms, "ohms");
}

// "0.22 uF", "47 nF", "220 uF".
std::string FaradsText(double farads) {
    if (farads >= 0.1e-6)
        return Rounded(farads * 1e6, "uF");
    if (farads >= 0.1e-9)
        return Rounded(farads * 1e9, "nF");
    return Rounded(farads * 1e12, "pF");
}

std::string KneeVolts(double volts) {
    return Printed("%+.2f V", volts);
}

// The knees of both halves, golden against DUT: the evidence of a junction change, or
// nothing when every knee stayed where it was. `strength` is how clear the change is.
struct KneeChange {
    bool changed = false;
    double clearness = 0;
    std::string evidence;
    bool anyKnee = false;  // either curve has a knee on either half
};

KneeChange CompareKnees(const Curve& golden, const Curve& dut, double fullVolts) {
    KneeChange best;
    for (const int sign : {+1, -1}) {
        const Knee g = KneeOf(golden, sign, fullVolts);
        const Knee d = KneeOf(dut, sign, fullVolts);
        best.anyKnee = best.anyKnee || g.present || d.present;
        // A knee is only seen, and placed, where the curve runs well past it; a curve
        // that a leak holds below a knee has not lost it.
        const auto shows = [](const Knee& curve, double volts) {
            return std::abs(volts) <= kKneeReach * curve.reach;
        };
        KneeChange change;
        if (g.present && !d.present && shows(d, g.volts)) {
            change = {true, std::clamp(1 - std::max(d.strength, 0.0) / g.strength, 0.0, 1.0),
                      "the knee at " + KneeVolts(g.volts) + " is gone"};
        } else if (g.present && d.present && std::abs(d.volts - g.volts) > kKneeShiftVolts &&
                   shows(d, g.volts)) {
            const double shift = std::abs(d.volts - g.volts);
            change = {true, std::min(1.0, shift / (3 * kKneeShiftVolts)),
                      "the knee at " + KneeVolts(g.volts) + " moved to " + KneeVolts(d.volts)};
        } else if (!g.present && d.present && shows(g, d.volts)) {
            change = {true, std::min(1.0, d.strength / (2 * kKneeStrength)),
                      "a knee appeared at " + KneeVolts(d.volts)};
        }
        if (change.changed && change.clearness > best.clearness) {
            change.anyKnee = true;
            best = change;
        }
    }
    return best;
}

double AngleDistanceDeg(double angleDeg, double targetDeg) {
    double d = std::fmod(std::abs(angleDeg - targetDeg), 360.0);
    return d > 180 ? 360 - d : d;
}

// 1 when the change points straight at the target angle, falling to 0 at 45 degrees.
double Purity(double angleDeg, double targetDeg) {
    return std::clamp(1 - AngleDistanceDeg(angleDeg, targetDeg) / 45, 0.0, 1.0);
}

FaultClass Class(FaultKind kind, double confidence, std::string evidence) {
    return {kind, static_cast<float>(std::clamp(confidence, 0.0, 1.0)), std::move(evidence)};
}

}  // namespace

std::string_view FaultKindText(FaultKind kind) {
    switch (kind) {
        case FaultKind::Open:
            return "open";
        case FaultKind::Short:
            return "short";
        case FaultKind::Leakage:
            return "leakage";
        case FaultKind::CapacitanceLarger:
            return "capacitance larger";
        case FaultKind::CapacitanceSmaller:
            return "capacitance smaller";
        case FaultKind::JunctionChange:
            return "junction change";
        case FaultKind::Other:
            return "other";
    }
    return "other";
}

FaultClass ClassifyFault(const SignatureBuffer& golden, const SignatureBuffer& dut, int pointCount,
                         const RecordGenerator& settings) {
    const double fullVolts = static_cast<double>(settings.Millivolts) / 1000;
    const auto ohms = static_cast<double>(settings.Ohms);
    if (fullVolts <= 0 || ohms <= 0) {
        return Class(FaultKind::Other, 0,
                     "the record holds no generator settings to read the curves against");
    }
    const int n = ClampPointCount(pointCount);
    if (n < kLeastPoints)
        return Class(FaultKind::Other, 0, "the signatures hold too few points to read");
    const Curve g = Normalised(golden, n, fullVolts, ohms);
    const Curve d = Normalised(dut, n, fullVolts, ohms);
    const double goldenVolts = MaxAbs(g.v);
    const double goldenAmps = MaxAbs(g.c);
    const double dutVolts = MaxAbs(d.v);
    const double dutAmps = MaxAbs(d.c);

    if (LargestDeparture(g, d) <= kLineBand) {
        return Class(FaultKind::Other, 0.5,
                     "the curve matches the good board's point for point: no fault shows in it");
    }
    if (dutVolts <= kLineBand && dutAmps <= kLineBand) {
        return Class(FaultKind::Other, 0.5,
                     "the curve is a single point at zero: nothing was measured on the pin");
    }
    if (dutAmps <= kLineBand && std::abs(SlopeThroughOrigin(d)) <= kOpenConductance &&
        goldenAmps > kLineBand) {
        return Class(FaultKind::Open, 1 - dutAmps / goldenAmps,
                     "the curve lies on the open-circuit line at every point");
    }
    const Complex dutV1 = Fundamental(d.v);
    const Complex dutC1 = Fundamental(d.c);
    if (dutVolts <= kLineBand && std::abs(dutV1) <= kShortImpedance * std::abs(dutC1) &&
        goldenVolts > kLineBand) {
        return Class(FaultKind::Short, 1 - dutVolts / goldenVolts,
                     "the curve lies on the short-circuit line at every point");
    }
    if (goldenVolts <= kLineBand) {
        return Class(FaultKind::Other, 0.5,
                     "the curve left the short-circuit line of the good board: the pin's path "
                     "to ground is no longer direct");
    }

    // The admittance each curve shows at the generator's frequency, in 1 / source ohms:
    // its real part a conductance (a slope), its imaginary part a susceptance (a loop).
    const Complex goldenV1 = Fundamental(g.v);
    if (std::abs(goldenV1) < kShortImpedance * kLineBand ||
        std::abs(dutV1) < kShortImpedance * kLineBand) {
        return Class(FaultKind::Other, 0.5,
                     "the curve has no voltage at the generator's frequency to read it by");
    }
    const Complex goldenY = Fundamental(g.c) / goldenV1;
    const Complex dutY = dutC1 / dutV1;
    const Complex change = dutY - goldenY;
    const double scale = std::max({std::abs(goldenY), std::abs(dutY), 1.0});
    const double angle = std::arg(change) * 180 / std::numbers::pi;
    const KneeChange knees = CompareKnees(g, d, fullVolts);

    if (std::abs(change) < kSignificantChange * scale) {
        if (knees.changed)
            return Class(FaultKind::JunctionChange, knees.clearness, knees.evidence);
        return Class(FaultKind::Other, 0.5,
                     "the curve changed its shape but neither its slope, its loop nor a knee");
    }
    const double conductance = Purity(angle, 0);
    const double lostConductance = Purity(angle, 180);
    const double larger = Purity(angle, 90);
    const double smaller = Purity(angle, -90);
    const double tolerance = 1 - kAngleToleranceDeg / 45;

    if (larger >= tolerance || smaller >= tolerance) {
        const bool grew = larger >= tolerance;
        std::string evidence = grew ? "the loop moved towards the short-circuit line"
                                    : "the loop moved towards the open-circuit line";
        const double omega = 2 * std::numbers::pi * static_cast<double>(settings.Hertz);
        if (omega > 0 && goldenY.imag() > 0 && dutY.imag() > 0) {
            evidence += ": about " + FaradsText(dutY.imag() / (omega * ohms)) + " where the good " +
                        "board shows " + FaradsText(goldenY.imag() / (omega * ohms));
        }
        return Class(grew ? FaultKind::CapacitanceLarger : FaultKind::CapacitanceSmaller,
                     grew ? larger : smaller, evidence);
    }
    if (conductance >= tolerance) {
        // A leak adds current below the knees too, and may push a knee behind a series
        // resistance out of reach; a junction that moved or appeared adds it only above.
        const double lowAdded = LowConductance(d) - LowConductance(g);
        if (knees.changed && lowAdded < 0.5 * change.real())
            return Class(FaultKind::JunctionChange, knees.clearness * conductance, knees.evidence);
        // With junctions in the curve its admittance depends on the amplitude, which the
        // leak lowers: the slope below the knees tells the leak's value.
        const double added = knees.anyKnee && lowAdded > 0 ? lowAdded : change.real();
        return Class(FaultKind::Leakage, conductance,
                     "the curve is tilted by an added path of about " + OhmsText(ohms / added) +
                         " from the pin");
    }
    if (lostConductance >= tolerance) {
        if (knees.changed) {
            return Class(FaultKind::JunctionChange, knees.clearness * lostConductance,
                         knees.evidence);
        }
        return Class(FaultKind::Other, lostConductance,
                     "the curve turned towards the open-circuit line with every knee in place: "
                     "a path from the pin has a higher resistance than on the good board");
    }
    return Class(FaultKind::Other, 1 - std::max({conductance, lostConductance, larger, smaller}),
                 "both the slope and the loop of the curve changed, as no single simple fault "
                 "does");
}

std::optional<FaultClass> ClassifyRecord(const TestPlan& plan, int row) {
    if (row < kFirstRecordRow || row > RowCount(plan) ||
        CellView(plan, row, column::kStatus) != "Bad") {
        return std::nullopt;
    }
    SignatureBuffer golden;
    SignatureBuffer dut;
    const int goldenPoints = LoadSignature(plan, row, kGoldenBlock, golden.X, golden.Y);
    const int dutPoints = LoadSignature(plan, row, kDutBlock, dut.X, dut.Y);
    if (goldenPoints == 0 || dutPoints == 0)
        return std::nullopt;
    return ClassifyFault(golden, dut, std::min(goldenPoints, dutPoints), RecordSettings(plan, row));
}

}  // namespace orv
