// Good/Capture and Bad by hand: what each stores in the current record, where the
// record moves, and when nothing happens at all.

#include "engine/capture_verdict.h"

#include <gtest/gtest.h>

#include "support/working_dir.h"
#include "testplan/record_cells.h"
#include "base/dialogs.h"

namespace orv {
namespace {

class CaptureVerdictTest : public test::InWorkingDir {
protected:
    void SetUp() override {
        InWorkingDir::SetUp();
        log_.dialogs = &dialogs_;
        Reset();
    }

    void Reset() {
        plan_ = TestPlan{};
        ResizeTable(plan_, 4, kPlanColumns);  // header and three records
        for (int row = 2; row <= 4; ++row) {
            SetCell(plan_, row, column::kComponent, "U1");
            SetCell(plan_, row, column::kPin, std::to_string(row - 1));
            SetCell(plan_, row, column::kStatus, "Untested");
        }
        position_.TestPlanIndex = 2;
        for (int i = 1; i <= 64; ++i) {
            live_.X[i] = 0.01f * static_cast<float>(i);
            live_.Y[i] = -0.0001f * static_cast<float>(i);
        }
        in_ = VerdictInputs{};
        in_.mode = "Advanced";
        in_.live = &live_;
        in_.applied = {2000, 1000, 100, 0, 0, 0, 0};
    }

    int StoredPoints(int row, int block) {
        SignatureBuffer stored;
        return LoadSignature(plan_, row, block, stored.X, stored.Y);
    }

    ui::ScriptedDialogs dialogs_;
    EventLog log_;
    TestPlan plan_;
    PlanPosition position_;
    SignatureBuffer live_;
    VerdictInputs in_;
};

TEST_F(CaptureVerdictTest, CaptureStoresTheGoldenWithTheAppliedSettingsAndMovesOn) {
    in_.editCapture = true;
    in_.connected = true;
    EXPECT_EQ(CaptureOrGood(plan_, position_, in_, log_), VerdictAction::Captured);
    EXPECT_EQ(Cell(plan_, 2, column::kSignature), "Yes");
    EXPECT_EQ(Cell(plan_, 2, column::kVoltage), "2000");
    EXPECT_EQ(Cell(plan_, 2, column::kFrequency), "100");
    EXPECT_EQ(StoredPoints(2, kGoldenBlock), 64);
    EXPECT_EQ(Cell(plan_, 2, column::kStatus), "Untested");  // a capture judges nothing
    EXPECT_EQ(position_.TestPlanIndex, 3);
    EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_F(CaptureVerdictTest, CaptureWhileDisconnectedSaysSoAndKeepsTheRecord) {
    in_.editCapture = true;
    in_.connected = false;
    EXPECT_EQ(CaptureOrGood(plan_, position_, in_, log_), VerdictAction::None);
    ASSERT_EQ(dialogs_.shown.size(), 1u);
    EXPECT_EQ(dialogs_.shown[0].title, "Info #0054");
    EXPECT_EQ(dialogs_.shown[0].text,
              "Instrument not connected, cannot capture signature - no ORV connected");
    EXPECT_EQ(position_.TestPlanIndex, 2);
    EXPECT_EQ(Cell(plan_, 2, column::kSignature), "");
}

TEST_F(CaptureVerdictTest, GoodAndBadStoreTheDutAndTheResult) {
    struct Case {
        const char* name;
        bool good;
        const char* mode;
        bool connected;
        const char* result;  // nullptr: nothing happens
    };
    const Case cases[] = {
        {"Good, disconnected", true, "Advanced", false, "Good"},
        {"Good, connected", true, "Advanced", true, "Good"},
        {"Bad", false, "Advanced", true, "Bad"},
        {"Bad in Basic", false, "Basic", false, "Bad"},
        {"Bad in Basic-Auto", false, "Basic-Auto", false, "Bad"},
        {"Good in Basic", true, "Basic", true, nullptr},
        {"Good in Basic-Auto", true, "Basic-Auto", true, nullptr},
    };
    for (const Case& c : cases) {
        Reset();
        in_.mode = c.mode;
        in_.connected = c.connected;
        const VerdictAction action =
            c.good ? CaptureOrGood(plan_, position_, in_, log_) : MarkBad(plan_, position_, in_);
        if (c.result == nullptr) {
            EXPECT_EQ(action, VerdictAction::None) << c.name;
            EXPECT_EQ(Cell(plan_, 2, column::kStatus), "Untested") << c.name;
            EXPECT_EQ(position_.TestPlanIndex, 2) << c.name;
            continue;
        }
        EXPECT_EQ(action, VerdictAction::Judged) << c.name;
        EXPECT_EQ(Cell(plan_, 2, column::kStatus), c.result) << c.name;
        EXPECT_EQ(StoredPoints(2, kDutBlock), 64) << c.name;
        EXPECT_EQ(StoredPoints(2, kGoldenBlock), 0) << c.name;
        EXPECT_EQ(position_.TestPlanIndex, 3) << c.name;
    }
}

TEST_F(CaptureVerdictTest, GoodWithoutAnyFrameStoresZeros) {
    const SignatureBuffer none;
    in_.live = &none;
    EXPECT_EQ(CaptureOrGood(plan_, position_, in_, log_), VerdictAction::Judged);
    SignatureBuffer stored;
    stored.X[5] = 7;
    ASSERT_EQ(LoadSignature(plan_, 2, kDutBlock, stored.X, stored.Y), 64);
    EXPECT_EQ(stored.X[5], 0.0f);
    EXPECT_EQ(Cell(plan_, 2, column::kStatus), "Good");
}

TEST_F(CaptureVerdictTest, TheLastRecordIsJudgedAndStaysCurrent) {
    position_.TestPlanIndex = 4;
    EXPECT_EQ(CaptureOrGood(plan_, position_, in_, log_), VerdictAction::Judged);
    EXPECT_EQ(Cell(plan_, 4, column::kStatus), "Good");
    EXPECT_EQ(position_.TestPlanIndex, 4);
}

TEST_F(CaptureVerdictTest, NothingHappensOffTheRecords) {
    for (const int row : {1, 5, 9}) {  // the header, and past the last row
        for (const bool capture : {false, true}) {
            Reset();
            in_.connected = true;
            in_.editCapture = capture;
            position_.TestPlanIndex = row;
            const TestPlan before = plan_;
            EXPECT_EQ(CaptureOrGood(plan_, position_, in_, log_), VerdictAction::None) << row;
            EXPECT_EQ(MarkBad(plan_, position_, in_), VerdictAction::None) << row;
            EXPECT_EQ(position_.TestPlanIndex, row);
            EXPECT_EQ(RowCount(plan_), RowCount(before));
            EXPECT_EQ(Cell(plan_, 1, column::kStatus), "");
            EXPECT_EQ(Cell(plan_, 1, column::kVoltage), "");
        }
    }
    EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_F(CaptureVerdictTest, BadWithTheEditBoxTickedDoesNothing) {
    in_.editCapture = true;
    in_.connected = true;
    EXPECT_EQ(MarkBad(plan_, position_, in_), VerdictAction::None);
    EXPECT_EQ(Cell(plan_, 2, column::kStatus), "Untested");
    EXPECT_EQ(position_.TestPlanIndex, 2);
}

TEST_F(CaptureVerdictTest, AJudgedPinWithAGoldenIsMeasured) {
    in_.editCapture = true;
    in_.connected = true;
    ASSERT_EQ(CaptureOrGood(plan_, position_, in_, log_), VerdictAction::Captured);
    Signatures signatures;
    signatures.TraceBuffer = live_;
    Measurement measurement;
    measurement.DifferencePercent = 42;
    in_.editCapture = false;
    in_.signatures = &signatures;
    in_.measurement = &measurement;
    position_.TestPlanIndex = 2;
    EXPECT_EQ(MarkBad(plan_, position_, in_), VerdictAction::Judged);
    EXPECT_LT(measurement.DifferencePercent, 0.01f);  // the very signature of the golden
    measurement.DifferencePercent = 42;
    EXPECT_EQ(MarkBad(plan_, position_, in_), VerdictAction::Judged);  // row 3: no golden
    EXPECT_EQ(measurement.DifferencePercent, 42);
}

}  // namespace
}  // namespace orv
