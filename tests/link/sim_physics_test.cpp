#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <complex>
#include <cstdint>
#include <functional>
#include <limits>
#include <numbers>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "link/sim/board.h"
#include "link/sim/circuit.h"
#include "link/sim/unlisted_pin.h"

namespace orv::sim {
namespace {

constexpr int kN = 64;

double Phase(int k) {
    return 2.0 * std::numbers::pi * k / kN;
}

double Max(const std::array<double, kN>& v) {
    return *std::max_element(v.begin(), v.end());
}
double Min(const std::array<double, kN>& v) {
    return *std::min_element(v.begin(), v.end());
}

// The fundamental of the pin's AC part as amplitude and phase against the source's
// sine.
std::complex<double> Fundamental(const Waveform& w) {
    double inPhase = 0.0;
    double quadrature = 0.0;
    for (int k = 0; k < kN; ++k) {
        inPhase += w.pin[k] * std::sin(Phase(k));
        quadrature += w.pin[k] * std::cos(Phase(k));
    }
    return {2.0 * inPhase / kN, 2.0 * quadrature / kN};
}

double CurrentAt(const Waveform& w, const Drive& d, int k) {
    return (w.source[k] - w.pin[k]) / d.sourceOhms;
}

std::string Describe(const Drive& d) {
    return std::to_string(d.peakVolts) + " Vpk, " + std::to_string(d.sourceOhms) + " ohm, " +
           std::to_string(d.frequencyHz) + " Hz, " + std::to_string(d.dcVolts) + " V dc";
}

TEST(SteadyStateTest, SourceIsTheGeneratorSineOnItsDcLevel) {
    const Drive d{.peakVolts = 2.0, .sourceOhms = 100.0, .frequencyHz = 200.0, .dcVolts = -1.5};
    const Waveform w = SolveSteadyState(Resistor(1e3), d);
    for (int k = 0; k < kN; ++k)
        EXPECT_NEAR(w.source[k], -1.5 + 2.0 * std::sin(Phase(k)), 1e-12);
    EXPECT_DOUBLE_EQ(w.source[16], 0.5);
    EXPECT_DOUBLE_EQ(w.source[48], -3.5);
}

TEST(SteadyStateTest, OpenFollowsTheSourceAndShortStaysAtZero) {
    const Drive drives[] = {
        {},
        {.peakVolts = 10.0, .sourceOhms = 10e3, .frequencyHz = 1000.0, .dcVolts = 0.0},
        {.peakVolts = 0.2, .sourceOhms = 50.0, .frequencyHz = 10.0, .dcVolts = 5.0},
        {.peakVolts = 5.0, .sourceOhms = 2e3, .frequencyHz = 20.0, .dcVolts = -10.0},
    };
    for (const Drive& d : drives) {
        const Waveform open = SolveSteadyState(Open(), d);
        const Waveform shorted = SolveSteadyState(Short(), d);
        for (int k = 0; k < kN; ++k) {
            EXPECT_NEAR(open.pin[k], open.source[k], 1e-9) << Describe(d) << " sample " << k;
            EXPECT_EQ(shorted.pin[k], 0.0) << Describe(d) << " sample " << k;
        }
    }
}

TEST(SteadyStateTest, ResistorDividesTheSourceAtEverySample) {
    struct Case {
        double ohms;
        Drive drive;
        double pinPeak;
        double currentPeak;
    };
    const Case cases[] = {
        {1e3, {}, 0.5, 0.5e-3},
        {9e3, {.peakVolts = 10.0, .sourceOhms = 1e3}, 9.0, 1e-3},
        {50.0,
         {.peakVolts = 0.2, .sourceOhms = 10e3, .frequencyHz = 1000.0},
         0.2 * 50 / 10050,
         0.2 / 10050},
        {1e6, {.peakVolts = 1.0, .sourceOhms = 100.0}, 1.0 * 1e6 / (1e6 + 100), 1.0 / (1e6 + 100)},
    };
    for (const Case& c : cases) {
        const Waveform w = SolveSteadyState(Resistor(c.ohms), c.drive);
        EXPECT_NEAR(Max(w.pin), c.pinPeak, 1e-9 * c.drive.peakVolts) << c.ohms;
        EXPECT_NEAR(CurrentAt(w, c.drive, 16), c.currentPeak, 1e-12) << c.ohms;
        const double ratio = c.ohms / (c.ohms + c.drive.sourceOhms);
        for (int k = 0; k < kN; ++k)
            EXPECT_NEAR(w.pin[k], ratio * w.source[k], 1e-9) << c.ohms;
    }
}

// Linear circuits against their impedance: the pin is the source times Z / (Z + Rs).
TEST(SteadyStateTest, ResistorCapacitorNetworksMatchTheirImpedance) {
    using Z = std::complex<double>;
    struct Case {
        const char* name;
        Circuit circuit;
        std::function<Z(double)> impedance;  // of angular frequency
        Drive drive;
    };
    auto cap = [](double farads) {
        return [farads](double w) { return 1.0 / Z(0.0, w * farads); };
    };
    const Case cases[] = {
        {"1 uF at 50 Hz", Capacitor(1e-6), cap(1e-6), {}},
        {"1 uF at its corner",
         Capacitor(1e-6),
         cap(1e-6),
         {.frequencyHz = 1e3 / (2 * std::numbers::pi)}},
        {"100 nF at 1 kHz through 10k",
         Capacitor(100e-9),
         cap(100e-9),
         {.sourceOhms = 10e3, .frequencyHz = 1000.0}},
        {"10 uF at 10 Hz through 50",
         Capacitor(10e-6),
         cap(10e-6),
         {.peakVolts = 5.0, .sourceOhms = 50.0, .frequencyHz = 10.0}},
        {"1k in series with 1 uF",
         Series(Resistor(1e3), Capacitor(1e-6)),
         [](double w) { return Z(1e3) + 1.0 / Z(0.0, w * 1e-6); },
         {.frequencyHz = 100.0}},
        {"2k2 across 470 nF",
         Parallel(Resistor(2.2e3), Capacitor(470e-9)),
         [](double w) { return 1.0 / (1.0 / 2.2e3 + Z(0.0, w * 470e-9)); },
         {.sourceOhms = 2e3, .frequencyHz = 200.0}},
        {"two 2 uF in series", Series(Capacitor(2e-6), Capacitor(2e-6)), cap(1e-6), {}},
        {"capacitor behind a short",
         Series(Short(), Capacitor(1e-6)),
         cap(1e-6),
         {.frequencyHz = 500.0}},
    };
    for (const Case& c : cases) {
        const double w = 2.0 * std::numbers::pi * c.drive.frequencyHz;
        const Z z = c.impedance(w);
        const Z expected = c.drive.peakVolts * z / (z + c.drive.sourceOhms);
        const Z got = Fundamental(SolveSteadyState(c.circuit, c.drive));
        EXPECT_NEAR(std::abs(got), std::abs(expected), 2e-3 * c.drive.peakVolts) << c.name;
        EXPECT_NEAR(std::arg(got), std::arg(expected), 2e-3) << c.name;  // radians
    }
}

TEST(SteadyStateTest, DiodeClipsForwardNearItsKneeAndFollowsTheSourceInReverse) {
    struct Case {
        Drive drive;
        double clipLow;
        double clipHigh;
    };
    const Case cases[] = {
        {{}, 0.60, 0.70},
        {{.peakVolts = 0.4}, 0.40 - 0.01, 0.40},  // below the knee: hardly any current
        {{.peakVolts = 10.0, .sourceOhms = 1e3, .frequencyHz = 1000.0}, 0.68, 0.78},
        {{.peakVolts = 10.0, .sourceOhms = 50.0}, 0.75, 0.95},
    };
    for (const Case& c : cases) {
        const Waveform w = SolveSteadyState(Diode(), c.drive);
        EXPECT_GE(Max(w.pin), c.clipLow) << Describe(c.drive);
        EXPECT_LE(Max(w.pin), c.clipHigh) << Describe(c.drive);
        EXPECT_NEAR(w.pin[48], w.source[48], 1e-6) << Describe(c.drive);
        EXPECT_NEAR(w.pin[0], 0.0, 1e-9) << Describe(c.drive);
    }
    // At 1 Vpk through 1 kOhm the knee sits at 0.65 V or a little below.
    EXPECT_NEAR(Max(SolveSteadyState(Diode(), {}).pin), 0.645, 0.01);
}

TEST(SteadyStateTest, ReversedJunctionMirrorsTheDiode) {
    const Drive d{.peakVolts = 5.0};
    const Waveform forward = SolveSteadyState(Diode(), d);
    const Waveform reversed = SolveSteadyState(Reversed(Diode()), d);
    for (int k = 0; k < kN; ++k) {
        EXPECT_NEAR(reversed.pin[k], -forward.pin[(k + kN / 2) % kN], 1e-9) << k;
    }
}

TEST(SteadyStateTest, ZenerClipsAtBothKnees) {
    struct Case {
        double breakdown;
        Drive drive;
        double reverseClip;  // the most negative pin voltage expected
    };
    const Case cases[] = {
        {5.1, {.peakVolts = 10.0}, -5.1},
        {3.3, {.peakVolts = 5.0, .sourceOhms = 100.0, .frequencyHz = 1000.0}, -3.3},
        {9.1, {.peakVolts = 10.0, .sourceOhms = 10e3, .frequencyHz = 10.0}, -9.1},
        {5.1, {.peakVolts = 2.0}, -2.0},  // below the breakdown it follows the source
    };
    for (const Case& c : cases) {
        const Waveform w = SolveSteadyState(Zener(c.breakdown), c.drive);
        EXPECT_GE(Max(w.pin), 0.6) << c.breakdown;
        EXPECT_LE(Max(w.pin), 0.85) << c.breakdown;
        EXPECT_NEAR(Min(w.pin), c.reverseClip, 0.1) << c.breakdown;
    }
    // The breakdown is sharp: short of it almost nothing flows, even through 10 kOhm.
    const Drive below{.peakVolts = 4.5, .sourceOhms = 10e3};
    const Waveform w = SolveSteadyState(Zener(5.1), below);
    EXPECT_NEAR(Min(w.pin), -4.5, 1e-3);
}

// Nothing on a board is a source: without drive every pin rests at 0 V.
TEST(SteadyStateTest, WithoutDriveEveryPinRestsAtZero) {
    const Circuit circuits[] = {
        Diode(),
        Zener(0.2),  // a breakdown this low still passes no current at 0 V
        Zener(5.1),
        Series(Capacitor(1e-6), Reversed(Zener(0.5))),
        Parallel(Zener(1.0), Capacitor(10e-6)),
    };
    for (const Circuit& c : circuits) {
        const Waveform w = SolveSteadyState(c, {.peakVolts = 0.0});
        for (int k = 0; k < kN; ++k)
            EXPECT_NEAR(w.pin[k], 0.0, 1e-9) << k;
    }
}

TEST(SteadyStateTest, SeriesAndParallelCombine) {
    struct Case {
        const char* name;
        Circuit combined;
        Circuit equivalent;
    };
    const Case same[] = {
        {"1k + 2k", Series(Resistor(1e3), Resistor(2e3)), Resistor(3e3)},
        {"2k || 2k", Parallel(Resistor(2e3), Resistor(2e3)), Resistor(1e3)},
        {"open in parallel", Parallel(Open(), Diode()), Diode()},
        {"short in series", Series(Diode(), Short()), Diode()},
        {"short across a part", Parallel(Short(), Diode()), Short()},
        {"open in series", Series(Resistor(1e3), Open()), Open()},
        {"nested",
         Parallel(Series(Resistor(1e3), Resistor(1e3)), Series(Resistor(1e3), Resistor(1e3))),
         Resistor(1e3)},
    };
    const Drive d{.peakVolts = 5.0, .frequencyHz = 100.0};
    for (const Case& c : same) {
        const Waveform a = SolveSteadyState(c.combined, d);
        const Waveform b = SolveSteadyState(c.equivalent, d);
        // Within the gigaohm leakage every node but the pin has to ground.
        for (int k = 0; k < kN; ++k)
            EXPECT_NEAR(a.pin[k], b.pin[k], 1e-5) << c.name << " " << k;
    }

    struct Clip {
        const char* name;
        Circuit circuit;
        double high;  // pin volts at the positive peak
        double low;   // and at the negative one
        double tolerance;
    };
    const Drive ten{.peakVolts = 10.0};
    const Clip clips[] = {
        {"anti-parallel diodes", Parallel(Diode(), Reversed(Diode())), 0.70, -0.70, 0.05},
        {"two diodes in series", Series(Diode(), Diode()), 1.40, -10.0, 0.1},
        // 9.3 V across 2 kOhm: 4.65 mA, so 4.65 V on the resistor above the knee.
        {"resistor and diode", Series(Resistor(1e3), Diode()), 5.35, -10.0, 0.05},
        {"zener and diode back to back", Series(Zener(5.1), Reversed(Diode())), 10.0, -5.8, 0.1},
        {"back-to-back zeners", Series(Zener(5.1), Reversed(Zener(5.1))), 5.8, -5.8, 0.1},
    };
    for (const Clip& c : clips) {
        const Waveform w = SolveSteadyState(c.circuit, ten);
        EXPECT_NEAR(w.pin[16], c.high, c.tolerance) << c.name;
        EXPECT_NEAR(w.pin[48], c.low, c.tolerance) << c.name;
    }
}

TEST(SteadyStateTest, DcBiasShiftsTheCurve) {
    const Drive ac{.peakVolts = 1.0, .frequencyHz = 100.0};
    Drive biased = ac;
    biased.dcVolts = 3.0;

    // A resistor passes the bias on in proportion; a capacitor blocks its current, so
    // the pin sits at the bias with the same AC on top.
    const Waveform r = SolveSteadyState(Resistor(1e3), biased);
    for (int k = 0; k < kN; ++k)
        EXPECT_NEAR(r.pin[k], 0.5 * r.source[k], 1e-9);
    const Waveform cAc = SolveSteadyState(Capacitor(1e-6), ac);
    const Waveform cBiased = SolveSteadyState(Capacitor(1e-6), biased);
    for (int k = 0; k < kN; ++k)
        EXPECT_NEAR(cBiased.pin[k], cAc.pin[k] + 3.0, 1e-5) << k;

    // A diode biased forward conducts all period long; biased back, never.
    const Waveform forward = SolveSteadyState(Diode(), biased);
    EXPECT_GT(Min(forward.pin), 0.6);
    EXPECT_LT(Max(forward.pin), 0.8);
    biased.dcVolts = -3.0;
    const Waveform back = SolveSteadyState(Diode(), biased);
    for (int k = 0; k < kN; ++k)
        EXPECT_NEAR(back.pin[k], back.source[k], 1e-6) << k;
}

// In steady state no direct current passes a capacitor in series: a solution still
// settling from rest would show one.
TEST(SteadyStateTest, SeriesCapacitorCarriesNoDirectCurrent) {
    struct Case {
        const char* name;
        Circuit circuit;
        Drive drive;
    };
    const Case cases[] = {
        {"clamp", Series(Capacitor(1e-6), Diode()), {}},
        {"slow clamp",
         Series(Capacitor(10e-6), Diode()),
         {.sourceOhms = 10e3, .frequencyHz = 10.0}},
        {"big clamp, biased",
         Series(Capacitor(100e-6), Reversed(Diode())),
         {.peakVolts = 5.0, .frequencyHz = 1000.0, .dcVolts = 2.0}},
        {"zener behind a capacitor",
         Series(Capacitor(4.7e-6), Zener(3.3)),
         {.peakVolts = 10.0, .sourceOhms = 100.0}},
        {"big capacitor into a leaky diode",
         Series(Capacitor(1e-3), Parallel(Diode(), Resistor(1e6))),
         {.peakVolts = 2.0}},
    };
    for (const Case& c : cases) {
        const Waveform w = SolveSteadyState(c.circuit, c.drive);
        double sum = 0.0;
        double peak = 0.0;
        for (int k = 0; k < kN; ++k) {
            sum += CurrentAt(w, c.drive, k);
            peak = std::max(peak, std::fabs(CurrentAt(w, c.drive, k)));
        }
        const double fullScale =
            (c.drive.peakVolts + std::fabs(c.drive.dcVolts)) / c.drive.sourceOhms;
        EXPECT_LT(std::fabs(sum / kN), 2e-3 * fullScale) << c.name << ", peak " << peak;
    }
    // Charged to the peak, the clamp no longer conducts: the pin follows the source.
    const Waveform clamp = SolveSteadyState(Series(Capacitor(1e-6), Diode()), {});
    for (int k = 0; k < kN; ++k)
        EXPECT_NEAR(clamp.pin[k], clamp.source[k], 1e-3) << k;
}

TEST(SteadyStateTest, DegenerateValuesStayFinite) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* name;
        Circuit circuit;
        Drive drive;
    };
    const Case cases[] = {
        {"capacitors alone in series", Series(Capacitor(1e-6), Capacitor(1e-9)), {}},
        {"capacitor to nothing", Series(Capacitor(1e-6), Open()), {}},
        {"zero capacitor", Capacitor(0.0), {}},
        {"zero resistor", Resistor(0.0), {}},
        {"negative resistor", Resistor(-5.0), {}},
        {"infinite resistor", Resistor(inf), {}},
        {"resistor of nan", Resistor(nan), {}},
        {"capacitor of nan", Capacitor(nan), {}},
        {"zener of no voltage", Zener(0.0), {.peakVolts = 5.0}},
        {"empty series", Circuit{ElementKind::Series, 0.0, {}}, {}},
        {"empty parallel", Circuit{ElementKind::Parallel, 0.0, {}}, {}},
        {"empty reversed", Circuit{ElementKind::Reversed, 0.0, {}}, {}},
        {"no frequency", Parallel(Diode(), Capacitor(1e-6)), {.frequencyHz = 0.0}},
        {"negative frequency", Capacitor(1e-6), {.frequencyHz = -50.0}},
        {"no source resistance", Diode(), {.sourceOhms = 0.0}},
        {"nan drive",
         Parallel(Diode(), Capacitor(1e-6)),
         {.peakVolts = nan, .sourceOhms = nan, .frequencyHz = nan, .dcVolts = nan}},
        {"no amplitude", Series(Capacitor(1e-6), Diode()), {.peakVolts = 0.0}},
        {"huge capacitor", Series(Capacitor(1e3), Diode()), {}},
    };
    for (const Case& c : cases) {
        const Waveform w = SolveSteadyState(c.circuit, c.drive);
        for (int k = 0; k < kN; ++k) {
            ASSERT_TRUE(std::isfinite(w.pin[k])) << c.name << " sample " << k;
            ASSERT_TRUE(std::isfinite(w.source[k])) << c.name << " sample " << k;
        }
    }
    // The conventions behind those: no value conducts as an open, a vanishing
    // resistance as a short, and without a frequency the capacitor is fully charged.
    EXPECT_NEAR(SolveSteadyState(Capacitor(0.0), {}).pin[16], 1.0, 1e-9);
    EXPECT_NEAR(SolveSteadyState(Resistor(nan), {}).pin[16], 1.0, 1e-9);
    EXPECT_EQ(SolveSteadyState(Resistor(0.0), {}).pin[16], 0.0);
    EXPECT_NEAR(SolveSteadyState(Capacitor(1e-6), {.frequencyHz = 0.0}).pin[16], 1.0, 1e-9);
    EXPECT_NEAR(SolveSteadyState(Series(Capacitor(1e-6), Capacitor(1e-6)), {}).pin[16],
                SolveSteadyState(Capacitor(0.5e-6), {}).pin[16], 1e-3);
}

TEST(SteadyStateTest, RepeatsExactlyAndTheCacheAnswersTheSame) {
    const Circuit c = Parallel(Series(Capacitor(1e-6), Diode()), Zener(4.7));
    const Drive d{.peakVolts = 5.0, .sourceOhms = 500.0, .frequencyHz = 200.0, .dcVolts = 1.0};
    const Waveform first = SolveSteadyState(c, d);
    const Waveform second = SolveSteadyState(c, d);
    EXPECT_EQ(first.pin, second.pin);

    SteadyStateCache cache;
    EXPECT_EQ(SolveSteadyStateCached(cache, c, d).pin, first.pin);
    EXPECT_EQ(SolveSteadyStateCached(cache, c, d).pin, first.pin);
    Drive other = d;
    other.frequencyHz = 50.0;
    EXPECT_EQ(SolveSteadyStateCached(cache, c, other).pin, SolveSteadyState(c, other).pin);
    EXPECT_EQ(SolveSteadyStateCached(cache, Diode(), other).pin,
              SolveSteadyState(Diode(), other).pin);
}

// Hashes computed independently; a change here moves every unlisted pin.
TEST(UnlistedPinTest, HashIsFnv1aOverComponentSeparatorAndPin) {
    struct Case {
        const char* component;
        const char* pin;
        std::uint64_t hash;
    };
    const Case cases[] = {
        {"", "", 0xaf63d24c8601db8eull},     {"U1", "1", 0xbebf2ef132dfec2full},
        {"U12", "3", 0xb4cb2cd9d99d3b15ull}, {"U1", "23", 0xfecc47d972811a23ull},
        {"Q1", "B", 0x3e8f00128ba04eceull},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HashPinName(c.component, c.pin), c.hash) << c.component << "/" << c.pin;
    }
}

TEST(UnlistedPinTest, CircuitDependsOnlyOnTheNames) {
    const SimBoard good = MakeKnownGoodBoard();
    const SimBoard dut = MakeBoardUnderTest();
    std::set<std::string> kinds;
    for (int i = 1; i <= 40; ++i) {
        const std::string component = "U" + std::to_string(i + 10);
        const Circuit c = CircuitAt(good, component, "3");
        EXPECT_EQ(c, CircuitAt(good, component, "3"));
        EXPECT_EQ(c, CircuitAt(dut, component, "3"));
        EXPECT_EQ(c, UnlistedPinCircuit(component, "3"));
        kinds.insert(std::to_string(static_cast<int>(c.kind)) + "/" + std::to_string(c.value));
    }
    EXPECT_GE(kinds.size(), 5u) << "unlisted pins should not all look alike";
    // A pin the board does not list on a component it does.
    EXPECT_EQ(CircuitAt(good, "U1", "9"), UnlistedPinCircuit("U1", "9"));
}

TEST(SimBoardTest, ListsPlainDesignatorsAndPinNames) {
    const SimBoard good = MakeKnownGoodBoard();
    const std::vector<BoardPin> pins = ListPins(good);
    ASSERT_FALSE(pins.empty());
    std::set<std::pair<std::string, std::string>> seen;
    std::set<char> kinds;
    const std::set<std::string> lettered = {"A", "K", "B", "C", "E"};
    for (const BoardPin& p : pins) {
        EXPECT_TRUE(seen.insert({p.component, p.pin}).second) << p.component << "." << p.pin;
        ASSERT_GE(p.component.size(), 2u);
        EXPECT_TRUE(std::isupper(static_cast<unsigned char>(p.component[0]))) << p.component;
        EXPECT_TRUE(std::all_of(p.component.begin() + 1, p.component.end(), [](char ch) {
            return std::isdigit(static_cast<unsigned char>(ch));
        })) << p.component;
        const bool numbered = std::all_of(p.pin.begin(), p.pin.end(), [](char ch) {
            return std::isdigit(static_cast<unsigned char>(ch));
        });
        EXPECT_TRUE(!p.pin.empty() && (numbered || lettered.count(p.pin))) << p.pin;
        kinds.insert(p.component[0]);
    }
    EXPECT_EQ(kinds, (std::set<char>{'C', 'D', 'Q', 'R', 'U'}));

    const std::vector<BoardPin> dutPins = ListPins(MakeBoardUnderTest());
    ASSERT_EQ(dutPins.size(), pins.size());
    for (std::size_t i = 0; i < pins.size(); ++i) {
        EXPECT_EQ(dutPins[i].component, pins[i].component);
        EXPECT_EQ(dutPins[i].pin, pins[i].pin);
    }
}

TEST(SimBoardTest, GroundPinsReadZeroAndOthersCarrySignatures) {
    const SimBoard good = MakeKnownGoodBoard();
    const Drive d;
    for (const auto& [component, pin] : {std::pair{"U1", "4"}, {"U2", "7"}, {"C1", "2"}}) {
        EXPECT_EQ(Max(SolveSteadyState(CircuitAt(good, component, pin), d).pin), 0.0);
    }
    // An IC input's protection diodes clip both ways near 0.65 V.
    const Waveform input = SolveSteadyState(CircuitAt(good, "U2", "9"), d);
    EXPECT_NEAR(Min(input.pin), -0.65, 0.05);
    EXPECT_GT(Max(input.pin), 0.6);
    EXPECT_LT(Max(input.pin), 0.9);
    // The supply rail with its decoupling capacitors is close to a short at 50 Hz.
    EXPECT_LT(Max(SolveSteadyState(CircuitAt(good, "U1", "8"), d).pin), 0.05);
}

TEST(SimBoardTest, UnitUnderTestDiffersExactlyAtItsFaultyPins) {
    const std::set<std::pair<std::string, std::string>> faulty = {
        {"U2", "8"},                                           // open bond wire
        {"U2", "11"},                                          // bridged to ground
        {"C3", "1"},                                           // dried-out coupling capacitor
        {"D3", "K"},  {"R9", "1"}, {"R9", "2"}, {"U2", "13"},  // leaky zener
    };
    const SimBoard good = MakeKnownGoodBoard();
    const SimBoard dut = MakeBoardUnderTest();
    const Drive d;
    for (const BoardPin& p : ListPins(good)) {
        const Waveform g = SolveSteadyState(CircuitAt(good, p.component, p.pin), d);
        const Waveform u = SolveSteadyState(CircuitAt(dut, p.component, p.pin), d);
        double largest = 0.0;
        for (int k = 0; k < kN; ++k)
            largest = std::max(largest, std::fabs(g.pin[k] - u.pin[k]));
        if (faulty.count({p.component, p.pin})) {
            EXPECT_GT(largest, 0.1 * d.peakVolts) << p.component << "." << p.pin;
        } else {
            EXPECT_EQ(largest, 0.0) << p.component << "." << p.pin;
        }
    }
}

}  // namespace
}  // namespace orv::sim
