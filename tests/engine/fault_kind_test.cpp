#include "engine/fault_kind.h"

#include <gtest/gtest.h>

#include <string>

#include "link/sim/circuit.h"
#include "testplan/record_cells.h"
#include "testplan/test_plan.h"

namespace orv {
namespace {

using namespace orv::sim;

constexpr RecordGenerator kSettings{1000, 1000, 50, 0, 0};
const GeneratorSettings kApplied{1000, 1000, 50, 0, 0, 0, 0};

// The signature the instrument shows for a circuit at 1 Vpk behind 1 kOhm, 50 Hz: X the
// pin's voltage, Y the pin's voltage less the source's over the resistance.
SignatureBuffer SignatureOf(const Circuit& circuit) {
    const Drive drive{.peakVolts = 1.0, .sourceOhms = 1000.0, .frequencyHz = 50.0};
    const Waveform w = SolveSteadyState(circuit, drive);
    SignatureBuffer s;
    for (int i = 1; i <= kDefaultSignaturePoints; ++i) {
        const auto k = static_cast<size_t>(i - 1);
        s.X[static_cast<size_t>(i)] = static_cast<float>(w.pin[k]);
        s.Y[static_cast<size_t>(i)] = static_cast<float>((w.pin[k] - w.source[k]) / 1000.0);
    }
    return s;
}

FaultClass Classify(const Circuit& golden, const Circuit& dut,
                    const RecordGenerator& settings = kSettings) {
    return ClassifyFault(SignatureOf(golden), SignatureOf(dut), kDefaultSignaturePoints, settings);
}

// An input pin as the unpowered board shows it: protection diodes to ground and into
// the rail, and the idle output stage's leakage.
Circuit InputPin() {
    return Parallel(Parallel(Reversed(Diode()), Series(Diode(), Resistor(8.2e3))), Resistor(220e3));
}

struct Case {
    const char* name;
    Circuit golden;
    Circuit dut;
    FaultKind kind;
    const char* evidence;  // a part of the sentence
};

TEST(FaultKindTest, NamesEachFaultFromThePhysicsOfTheCurves) {
    const Case cases[] = {
        {"input pin opened", InputPin(), Open(), FaultKind::Open,
         "the curve lies on the open-circuit line at every point"},
        {"resistor bridged to ground", Resistor(10e3), Short(), FaultKind::Short,
         "the curve lies on the short-circuit line at every point"},
        {"leaky zener", Reversed(Zener(5.1)), Parallel(Reversed(Zener(5.1)), Resistor(2.2e3)),
         FaultKind::Leakage, "added path of about 2.2 kOhm"},
        // Behind a series resistor the leak pushes the clamp's knee out of reach.
        {"leak behind a resistor",
         Series(Resistor(1e3), Parallel(Reversed(Zener(5.1)), InputPin())),
         Series(Resistor(1e3),
                Parallel(Parallel(Reversed(Zener(5.1)), Resistor(2.2e3)), InputPin())),
         FaultKind::Leakage, "about 3.2 kOhm"},
        {"leak on an input", InputPin(), Parallel(InputPin(), Resistor(2.2e3)), FaultKind::Leakage,
         "2.2 kOhm"},
        {"dried coupling capacitor", Series(Capacitor(1e-6), Capacitor(10e-6)),
         Series(Capacitor(0.22e-6), Capacitor(10e-6)), FaultKind::CapacitanceSmaller,
         "towards the open-circuit line: about 0.22 uF where the good board shows 0.91 uF"},
        {"capacitor five times larger", Parallel(Capacitor(1e-6), Resistor(10e3)),
         Parallel(Capacitor(5e-6), Resistor(10e3)), FaultKind::CapacitanceLarger,
         "towards the short-circuit line: about 5 uF where the good board shows 1 uF"},
        // Past the loop's widest point a larger capacitor makes the loop narrower, yet
        // still moves it towards the short line.
        {"decoupling capacitor larger", Capacitor(22e-6), Capacitor(100e-6),
         FaultKind::CapacitanceLarger, "towards the short-circuit line"},
        {"input's junctions lost", InputPin(), Resistor(220e3), FaultKind::JunctionChange,
         "is gone"},
        {"diode replaced by two in series", Parallel(Diode(), Resistor(47e3)),
         Parallel(Series(Diode(), Diode()), Resistor(47e3)), FaultKind::JunctionChange, "is gone"},
        // A path that got weaker without any knee changing is none of the named faults.
        {"resistor grown", Resistor(1e3), Resistor(3.3e3), FaultKind::Other,
         "higher resistance than on the good board"},
    };
    for (const Case& c : cases) {
        const FaultClass fault = Classify(c.golden, c.dut);
        EXPECT_EQ(FaultKindText(fault.kind), FaultKindText(c.kind))
            << c.name << ": " << fault.evidence;
        EXPECT_NE(fault.evidence.find(c.evidence), std::string::npos)
            << c.name << ": " << fault.evidence;
        EXPECT_GE(fault.confidence, 0.f) << c.name;
        EXPECT_LE(fault.confidence, 1.f) << c.name;
    }
}

TEST(FaultKindTest, ClearFaultsAreNamedWithHighConfidence) {
    EXPECT_GT(Classify(InputPin(), Open()).confidence, 0.9f);
    EXPECT_GT(Classify(Resistor(10e3), Short()).confidence, 0.9f);
    EXPECT_GT(
        Classify(Reversed(Zener(5.1)), Parallel(Reversed(Zener(5.1)), Resistor(2.2e3))).confidence,
        0.8f);
}

TEST(FaultKindTest, ReadsTheCurvesAgainstTheirOwnFullScale) {
    // Taken behind 10 kOhm, a 100 kOhm path is read against that resistance: its slope
    // and its value both come from the record's settings, not from a fixed scale.
    const Drive drive{.peakVolts = 1.0, .sourceOhms = 10e3, .frequencyHz = 50.0};
    const auto signature = [&](const Circuit& circuit) {
        const Waveform w = SolveSteadyState(circuit, drive);
        SignatureBuffer s;
        for (int i = 1; i <= kDefaultSignaturePoints; ++i) {
            const auto k = static_cast<size_t>(i - 1);
            s.X[static_cast<size_t>(i)] = static_cast<float>(w.pin[k]);
            s.Y[static_cast<size_t>(i)] = static_cast<float>((w.pin[k] - w.source[k]) / 10e3);
        }
        return s;
    };
    const FaultClass fault = ClassifyFault(signature(Open()), signature(Resistor(100e3)),
                                           kDefaultSignaturePoints, {1000, 10000, 50, 0, 0});
    EXPECT_EQ(fault.kind, FaultKind::Leakage) << fault.evidence;
    EXPECT_NE(fault.evidence.find("100 kOhm"), std::string::npos) << fault.evidence;
}

TEST(FaultKindTest, WhatCannotBeReadStaysOther) {
    const SignatureBuffer golden = SignatureOf(InputPin());
    const SignatureBuffer nothing;  // judged Bad with no frame ever received
    const FaultClass zero = ClassifyFault(golden, nothing, kDefaultSignaturePoints, kSettings);
    EXPECT_EQ(zero.kind, FaultKind::Other);
    EXPECT_NE(zero.evidence.find("single point at zero"), std::string::npos) << zero.evidence;

    // Every pin reads Bad with a threshold text that matches none.
    const FaultClass same = ClassifyFault(golden, golden, kDefaultSignaturePoints, kSettings);
    EXPECT_EQ(same.kind, FaultKind::Other);
    EXPECT_NE(same.evidence.find("matches the good board's"), std::string::npos) << same.evidence;

    const SignatureBuffer open = SignatureOf(Open());
    for (const RecordGenerator settings :
         {RecordGenerator{0, 1000, 50, 0, 0}, RecordGenerator{1000, 0, 50, 0, 0}}) {
        const FaultClass fault = ClassifyFault(golden, open, kDefaultSignaturePoints, settings);
        EXPECT_EQ(fault.kind, FaultKind::Other);
        EXPECT_EQ(fault.confidence, 0.f);
    }
    EXPECT_EQ(ClassifyFault(golden, open, 3, kSettings).kind, FaultKind::Other);
}

class ClassifyRecordTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResizeTable(plan_, 2, 2 * kBlockColumns);
        SetCell(plan_, 2, column::kStatus, "Bad");
        Store(kGoldenBlock, SignatureOf(InputPin()));
        Store(kDutBlock, SignatureOf(Open()));
    }
    void Store(int block, const SignatureBuffer& s) {
        StoreSignature(plan_, 2, block, kApplied, kDefaultSignaturePoints, StoredPoints(s.X),
                       StoredPoints(s.Y));
    }
    TestPlan plan_;
};

TEST_F(ClassifyRecordTest, ABadRecordWithBothSignaturesIsClassified) {
    const auto fault = ClassifyRecord(plan_, 2);
    ASSERT_TRUE(fault.has_value());
    EXPECT_EQ(fault->kind, FaultKind::Open);
}

TEST_F(ClassifyRecordTest, OtherRecordsGetNoClass) {
    EXPECT_FALSE(ClassifyRecord(plan_, 1).has_value());  // the header
    EXPECT_FALSE(ClassifyRecord(plan_, 3).has_value());  // beyond the table
    for (const char* status : {"Good", "Untested", "NoTest", "bad", ""}) {
        SetCell(plan_, 2, column::kStatus, status);
        EXPECT_FALSE(ClassifyRecord(plan_, 2).has_value()) << status;
    }
}

TEST_F(ClassifyRecordTest, ABadRecordWithoutItsDutSignatureGetsNoClass) {
    SetCell(plan_, 2, kBlockColumns + column::kPointCount, "0");
    EXPECT_FALSE(ClassifyRecord(plan_, 2).has_value());
}

}  // namespace
}  // namespace orv
