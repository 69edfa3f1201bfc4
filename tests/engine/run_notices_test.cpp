// The prompt on a pin that reads open in the automatic test's measuring step, timed on
// a clock the test sets, and the counts shown at the end of a run.

#include "engine/run_notices.h"

#include <gtest/gtest.h>

#include <vector>

#include "testplan/record_cells.h"

namespace orv {
namespace {

// Row 2 has a golden that carries current, row 3 an open golden.
TestPlan TwoRecordPlan() {
    TestPlan plan;
    ResizeTable(plan, 3, kPlanColumns);
    std::array<float, kMaxStoredPoints + 1> x{};
    std::array<float, kMaxStoredPoints + 1> current{};
    std::array<float, kMaxStoredPoints + 1> flat{};
    for (int i = 1; i <= 64; ++i) {
        x[static_cast<size_t>(i)] = 0.01f * static_cast<float>(i % 17);
        current[static_cast<size_t>(i)] = 0.00001f * static_cast<float>(i % 17);
    }
    const GeneratorSettings applied{1000, 1000, 50, 0, 0, 0, 0};
    StoreSignature(plan, 2, kGoldenBlock, applied, 64, x, current);
    StoreSignature(plan, 3, kGoldenBlock, applied, 64, x, flat);
    return plan;
}

struct Sample {
    std::int64_t atMs;
    int state;
    bool prompt;
};

struct Case {
    const char* name;
    int row;
    bool measuring;
    bool connected;
    std::vector<Sample> samples;
};

TEST(OpenPinPromptTest, ShowsAfterTwoSecondsOpenInTheMeasuringStepOnly) {
    const TestPlan plan = TwoRecordPlan();
    const std::vector<Case> cases = {
        {"open just under 2 s", 2, true, true, {{0, 0, false}, {1999, 0, false}}},
        {"open 2 s", 2, true, true, {{0, 0, false}, {1000, 0, false}, {2000, 0, true}}},
        {"a touch starts the time again",
         2,
         true,
         true,
         {{0, 0, false}, {1500, 2, false}, {1600, 0, false}, {3500, 0, false}, {3600, 0, true}}},
        {"touched once prompted",
         2,
         true,
         true,
         {{0, 0, false}, {2500, 0, true}, {2600, 1, false}}},
        {"the golden is open too", 3, true, true, {{0, 0, false}, {5000, 0, false}}},
        {"not in the measuring step", 2, false, true, {{0, 0, false}, {5000, 0, false}}},
        {"not connected", 2, true, false, {{0, 0, false}, {5000, 0, false}}},
    };
    for (const Case& c : cases) {
        OpenPinWatch watch;
        for (const Sample& s : c.samples) {
            const OpenPinInput in{c.measuring, c.connected, s.state, c.row, "0.50%", s.atMs};
            EXPECT_EQ(OpenPinPromptDue(watch, plan, in), s.prompt) << c.name << " at " << s.atMs;
        }
    }
}

TEST(OpenPinPromptTest, AnotherRecordStartsTheTimeAgain) {
    TestPlan plan = TwoRecordPlan();
    const GeneratorSettings applied{1000, 1000, 50, 0, 0, 0, 0};
    std::array<float, kMaxStoredPoints + 1> y{};
    for (int i = 1; i <= 64; ++i)
        y[static_cast<size_t>(i)] = 0.0001f * static_cast<float>(i % 3);
    StoreSignature(plan, 3, kGoldenBlock, applied, 64, y, y);
    OpenPinWatch watch;
    EXPECT_FALSE(OpenPinPromptDue(watch, plan, {true, true, 0, 2, "0.50%", 0}));
    EXPECT_TRUE(OpenPinPromptDue(watch, plan, {true, true, 0, 2, "0.50%", 2000}));
    // Judged by hand: the test measures the next record, still open.
    EXPECT_FALSE(OpenPinPromptDue(watch, plan, {true, true, 0, 3, "0.50%", 2100}));
    EXPECT_TRUE(OpenPinPromptDue(watch, plan, {true, true, 0, 3, "0.50%", 4100}));
}

TEST(RunSummaryTest, CountsEveryRecord) {
    TestPlan plan;
    ResizeTable(plan, 5, kPlanColumns);
    const char* statuses[] = {"Good", "Bad", "Good", "Untested"};
    const char* signatures[] = {"Yes", "Yes", "No", "Yes"};
    for (int row = 2; row <= 5; ++row) {
        SetCell(plan, row, column::kStatus, statuses[row - 2]);
        SetCell(plan, row, column::kSignature, signatures[row - 2]);
    }
    SetCell(plan, 1, column::kStatus, "Good");  // the header is no record
    EXPECT_EQ(TestRunSummary(plan), "Automatic test finished: 2 Good, 1 Bad, 1 Untested");
    EXPECT_EQ(CaptureRunSummary(plan), "Automatic capture finished: 3 of 4 records captured");
}

}  // namespace
}  // namespace orv
