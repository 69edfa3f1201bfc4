// The automatic test, the automatic capture and Auto Freeze, step by step on a small
// plan, with the measurement set by hand as the stability detection would leave it.

#include "engine/automatic_steps.h"

#include <gtest/gtest.h>

#include "testplan/record_cells.h"

namespace orv {
namespace {

class AutomaticStepsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResizeTable(plan_, 4, kPlanColumns);
        for (int row = 2; row <= 4; ++row) {
            SetCell(plan_, row, column::kStatus, "Untested");
            SetCell(plan_, row, column::kSignature, "No");
        }
        for (int i = 1; i <= 64; ++i) {
            signatures_.LiveSignature.X[i] = 0.01f * static_cast<float>(i % 17);
            signatures_.LiveSignature.Y[i] = 0.00001f * static_cast<float>(i % 5);
        }
        in_.goldenVsLiveThreshold = "1.50%";
        in_.applied = {1000, 1000, 50, 0, 0, 0, 0};
        in_.captureDelay = 10;
    }

    // A golden equal to the live signature in the record: a pin that will read Good.
    void GiveGolden(int row) {
        StoreSignature(plan_, row, kGoldenBlock, in_.applied, 64,
                       StoredPoints(signatures_.LiveSignature.X),
                       StoredPoints(signatures_.LiveSignature.Y));
        SetCell(plan_, row, column::kSignature, "Yes");
    }

    void Lift() { in_.signatureState = kOpenCircuit, in_.stableCount = 0; }
    void Touch(int stableCount) { in_.signatureState = kStable, in_.stableCount = stableCount; }

    SequenceEffects Test() {
        signatures_.TraceBuffer = signatures_.LiveSignature;
        return AutoTestStepOnce(plan_, position_, working_, signatures_, measurement_, in_);
    }
    SequenceEffects Capture() {
        return AutoCaptureStepOnce(plan_, position_, working_, signatures_, measurement_, in_);
    }
    SequenceEffects Freeze() { return AutoFreezeStepOnce(working_, signatures_, in_); }

    TestPlan plan_;
    PlanPosition position_;
    WorkingState working_;
    Signatures signatures_;
    Measurement measurement_;
    SequenceInputs in_;
};

TEST(CaptureDelayTest, KnownTextsAndFiveForAnyOther) {
    EXPECT_EQ(CaptureDelay("2 cycles"), 2);
    EXPECT_EQ(CaptureDelay("5 cycles"), 5);
    EXPECT_EQ(CaptureDelay("10 cycles"), 10);
    EXPECT_EQ(CaptureDelay("15 cycles"), 15);
    EXPECT_EQ(CaptureDelay("20 cycles"), 20);
    EXPECT_EQ(CaptureDelay(" 2 cycles"), 5);
    EXPECT_EQ(CaptureDelay(""), 5);
}

TEST_F(AutomaticStepsTest, ATestWalksThePlanPinByPin) {
    GiveGolden(2);
    GiveGolden(4);
    working_.WorkingMode = kAutomaticTest;
    position_.TestPlanIndex = 1;
    Test();  // the search skips the header and lands on the first record with a golden
    EXPECT_EQ(position_.TestPlanIndex, 2);
    EXPECT_EQ(working_.AutoTestStep, 1);
    Touch(3);
    Test();
    EXPECT_EQ(working_.AutoTestStep, 1);  // a new pin needs a lift first
    Lift();
    Test();
    EXPECT_EQ(working_.AutoTestStep, 2);
    Touch(9);
    EXPECT_FALSE(Test().sound);  // not yet stable for ten evaluations
    Touch(10);
    const SequenceEffects judged = Test();
    EXPECT_EQ(judged.sound, Sound::TestGood);
    EXPECT_TRUE(judged.recordChanged);
    EXPECT_TRUE(judged.refresh);  // the percentages follow the verdict
    EXPECT_EQ(Cell(plan_, 2, column::kStatus), "Good");
    EXPECT_EQ(working_.AutoTestStep, 3);
    Test();  // still on the pin
    EXPECT_EQ(position_.TestPlanIndex, 2);
    Lift();
    Test();
    EXPECT_EQ(position_.TestPlanIndex, 3);
    EXPECT_EQ(working_.AutoTestStep, 0);
    Test();  // row 3 has no golden: the search goes on to row 4
    EXPECT_EQ(position_.TestPlanIndex, 4);
    Test();
    // A pin far from its golden reads Bad.
    for (int i = 1; i <= 64; ++i)
        signatures_.LiveSignature.X[i] += 0.2f;
    Touch(10);
    EXPECT_EQ(Test().sound, Sound::TestBad);
    EXPECT_EQ(Cell(plan_, 4, column::kStatus), "Bad");
    EXPECT_GT(measurement_.DifferencePercent, 1.5f);
    Lift();
    const SequenceEffects end = Test();
    EXPECT_EQ(end.sound, Sound::CaptureComplete);
    EXPECT_TRUE(end.finished);
    EXPECT_EQ(working_.WorkingMode, kManualTest);
    EXPECT_EQ(Cell(plan_, 3, column::kStatus), "Untested");
}

TEST_F(AutomaticStepsTest, APlanAlreadyJudgedCompletesAtOnce) {
    GiveGolden(2);
    SetCell(plan_, 2, column::kStatus, "Good");
    SetCell(plan_, 3, column::kStatus, "Bad");
    working_.WorkingMode = kAutomaticTest;
    position_.TestPlanIndex = 2;
    EXPECT_EQ(Test().sound, Sound::CaptureComplete);
    EXPECT_EQ(working_.WorkingMode, kManualTest);
    // Beyond the last row nothing is searched.
    working_.WorkingMode = kAutomaticTest;
    position_.TestPlanIndex = 9;
    EXPECT_FALSE(Test().sound);
    EXPECT_EQ(working_.WorkingMode, kAutomaticTest);
    EXPECT_EQ(working_.AutoTestStep, 0);
}

TEST_F(AutomaticStepsTest, TwoCyclesMeasureOnTheSecondStableEvaluation) {
    GiveGolden(2);
    in_.captureDelay = CaptureDelay("2 cycles");
    position_.TestPlanIndex = 2;
    working_.AutoTestStep = 2;
    Touch(1);
    Test();
    EXPECT_EQ(Cell(plan_, 2, column::kStatus), "Untested");
    Touch(2);
    Test();
    EXPECT_EQ(Cell(plan_, 2, column::kStatus), "Good");
}

TEST_F(AutomaticStepsTest, ALiftBeforeTheMeasurementKeepsWaiting) {
    GiveGolden(2);
    position_.TestPlanIndex = 2;
    working_.AutoTestStep = 2;
    Touch(4);
    Test();
    Lift();
    Test();
    EXPECT_EQ(working_.AutoTestStep, 2);
    in_.signatureState = kUnstable;
    Test();
    EXPECT_EQ(working_.AutoTestStep, 2);
    Touch(10);
    Test();
    EXPECT_EQ(working_.AutoTestStep, 3);
}

TEST_F(AutomaticStepsTest, WithAScannerRecordsFollowWithoutALift) {
    GiveGolden(2);
    GiveGolden(3);
    in_.scannerInUse = true;
    position_.TestPlanIndex = 2;
    working_.WorkingMode = kAutomaticTest;
    working_.AutoTestStep = 1;
    Lift();  // an open pin: from 1 past the measurement to 3 in one pass
    Test();
    EXPECT_EQ(working_.AutoTestStep, 3);
    measurement_.StableCount = 7;
    Test();
    EXPECT_EQ(position_.TestPlanIndex, 3);
    EXPECT_EQ(working_.AutoTestStep, 1);
    EXPECT_EQ(measurement_.StableCount, 0);
    EXPECT_EQ(Cell(plan_, 2, column::kStatus), "Untested");  // moved past, no verdict
    Touch(10);
    Test();  // the scanner's pin is never lifted: straight on to the measurement
    EXPECT_EQ(working_.AutoTestStep, 2);
    Test();
    EXPECT_EQ(Cell(plan_, 3, column::kStatus), "Good");
    EXPECT_EQ(Test().sound, std::nullopt);  // row 4 next, still within the plan
    EXPECT_EQ(position_.TestPlanIndex, 4);
}

TEST_F(AutomaticStepsTest, CaptureStoresGoldensAndHonoursTheOverwriteSetting) {
    working_.WorkingMode = kAutomaticCapture;
    SetCell(plan_, 3, column::kSignature, "Yes");
    SetCell(plan_, 4, column::kSignature, "");  // neither "Yes" nor "No"
    position_.TestPlanIndex = 1;
    Capture();
    EXPECT_EQ(position_.TestPlanIndex, 2);
    Lift();
    Capture();
    Touch(10);
    const SequenceEffects captured = Capture();
    EXPECT_EQ(captured.sound, Sound::CaptureSignature);
    EXPECT_TRUE(captured.captureFlash);
    EXPECT_TRUE(captured.refresh);
    EXPECT_EQ(Cell(plan_, 2, column::kSignature), "Yes");
    EXPECT_EQ(Cell(plan_, 2, column::kVoltage), "1000");
    EXPECT_EQ(Cell(plan_, 2, column::kStatus), "Untested");
    Lift();
    Capture();
    EXPECT_EQ(position_.TestPlanIndex, 3);
    EXPECT_EQ(Capture().sound, Sound::CaptureComplete);  // rows 3 and 4 are not taken
    EXPECT_EQ(working_.WorkingMode, kManualCapture);

    // With overwriting allowed every Untested record is captured again.
    in_.allowOverwrite = true;
    working_.WorkingMode = kAutomaticCapture;
    working_.AutoCaptureStep = 0;
    position_.TestPlanIndex = 2;
    Capture();
    EXPECT_EQ(position_.TestPlanIndex, 2);
    position_.TestPlanIndex = 4;
    working_.AutoCaptureStep = 0;
    Capture();
    EXPECT_EQ(working_.AutoCaptureStep, 1);  // the empty Signature too
}

TEST_F(AutomaticStepsTest, TheTestTakesNoRecordWithoutAYes) {
    SetCell(plan_, 2, column::kSignature, "");
    SetCell(plan_, 3, column::kSignature, "yes");
    working_.WorkingMode = kAutomaticTest;
    position_.TestPlanIndex = 2;
    EXPECT_EQ(Test().sound, Sound::CaptureComplete);
}

TEST_F(AutomaticStepsTest, AutoFreezeFreezesGoldenThenDutAndStartsAgain) {
    Touch(10);
    SequenceEffects effects = Freeze();
    EXPECT_EQ(effects.sound, Sound::CaptureSignature);
    EXPECT_EQ(signatures_.FrozenGolden.X, signatures_.LiveSignature.X);
    EXPECT_EQ(working_.AutoFreezeStep, 1);
    Freeze();  // still on the same pin
    EXPECT_EQ(working_.AutoFreezeStep, 1);
    Lift();
    Freeze();
    EXPECT_EQ(working_.AutoFreezeStep, 2);
    signatures_.LiveSignature.X[3] = 0.9f;
    Touch(9);
    Freeze();
    EXPECT_EQ(working_.AutoFreezeStep, 2);
    Touch(10);
    effects = Freeze();
    EXPECT_FALSE(effects.sound);  // the second freeze is silent
    EXPECT_TRUE(effects.captureFlash);
    EXPECT_EQ(signatures_.FrozenDut.X[3], 0.9f);
    Lift();
    Freeze();
    EXPECT_EQ(working_.AutoFreezeStep, 4);
    in_.signatureState = kUnstable;  // touching again, stable or not, re-arms
    Freeze();
    EXPECT_EQ(working_.AutoFreezeStep, 0);
    EXPECT_EQ(signatures_.FrozenGolden.X[3], 0.0f);
    EXPECT_EQ(signatures_.FrozenDut.X[3], 0.0f);
}

}  // namespace
}  // namespace orv
