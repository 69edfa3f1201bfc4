#pragma once
// What the automatic sequences tell the user besides their sounds: a prompt when the
// automatic test waits on a pin that reads open, and the counts when a run ends.
// An open pin reads the same as a lifted probe, so the test would wait on it without
// a word until the user judges it.

#include <cstdint>
#include <string>
#include <string_view>

#include "testplan/test_plan.h"

namespace orv {

inline constexpr std::string_view kOpenPinPrompt =
    "Pin reads open: judge it Bad (Alt+K), or touch the pin";
inline constexpr std::int64_t kOpenPinPromptAfterMs = 2000;

// The record the live signature has read open on, and since when.
struct OpenPinWatch {
    int row = 0;
    std::int64_t openSinceMs = -1;  // -1: not open in the measuring step
    int goldenRow = 0;              // the row goldenOpen was worked out for
    bool goldenOpen = false;
};

struct OpenPinInput {
    bool measuring = false;  // the automatic test waits for a stable signature to judge
    bool connected = false;
    int signatureState = 0;
    int row = 0;  // the record being measured
    std::string_view openCircuitThreshold;
    std::int64_t nowMs = 0;  // the link clock
};

// True once the live signature has read open for kOpenPinPromptAfterMs on the same
// record in the measuring step, unless that record's golden signature is open itself
// (then an open reading is what the pin should give, and it will not become stable).
bool OpenPinPromptDue(OpenPinWatch& watch, const TestPlan& plan, const OpenPinInput& in);

// The record's golden signature carries no current beyond the open-circuit band of its
// own full scale: the same test the live signature gets.
bool GoldenReadsOpen(const TestPlan& plan, int row, std::string_view openCircuitThreshold);

// The window's notice: the summary of the last run, kept until the user's next
// action, and the text shown now (the open-pin prompt goes before the summary).
struct RunNotice {
    OpenPinWatch watch;
    std::string summary;
    std::string shown;
};

// "Automatic test finished: 41 Good, 7 Bad, 0 Untested" over every record.
std::string TestRunSummary(const TestPlan& plan);
// "Automatic capture finished: 48 of 48 records captured" (records with a golden).
std::string CaptureRunSummary(const TestPlan& plan);

}  // namespace orv
