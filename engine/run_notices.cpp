#include "engine/run_notices.h"

#include "engine/signature_buffer.h"
#include "engine/signatures.h"
#include "engine/stability.h"
#include "engine/thresholds.h"
#include "testplan/record_cells.h"

namespace orv {

namespace {

int CountWhere(const TestPlan& plan, int column, std::string_view text) {
    int count = 0;
    for (int row = 2; row <= RowCount(plan); ++row)
        count += CellView(plan, row, column) == text ? 1 : 0;
    return count;
}

}  // namespace

bool GoldenReadsOpen(const TestPlan& plan, int row, std::string_view openCircuitThreshold) {
    SignatureBuffer golden;
    const int n = LoadSignature(plan, row, kGoldenBlock, golden.X, golden.Y);
    const RecordGenerator settings = RecordSettings(plan, row);
    if (n < 1 || settings.Ohms == 0)
        return false;
    const float fullVolts = static_cast<float>(settings.Millivolts) / 1000.0f;
    const float fullAmps = fullVolts / static_cast<float>(settings.Ohms);
    return CurrentIsFlat(golden.Y, n, OpenCircuitFraction(openCircuitThreshold) * fullAmps);
}

bool OpenPinPromptDue(OpenPinWatch& watch, const TestPlan& plan, const OpenPinInput& in) {
    const bool open = in.measuring && in.connected && in.signatureState == kOpenCircuit;
    if (!open || in.row != watch.row || watch.openSinceMs < 0) {
        // A new open spell: the golden is read again, since it may have been recaptured.
        watch = {in.row, open ? in.nowMs : -1, 0, false};
        return false;
    }
    if (in.nowMs - watch.openSinceMs < kOpenPinPromptAfterMs)
        return false;
    if (watch.goldenRow != in.row) {
        watch.goldenRow = in.row;
        watch.goldenOpen = GoldenReadsOpen(plan, in.row, in.openCircuitThreshold);
    }
    return !watch.goldenOpen;
}

std::string TestRunSummary(const TestPlan& plan) {
    return "Automatic test finished: " + std::to_string(CountWhere(plan, column::kStatus, "Good")) +
           " Good, " + std::to_string(CountWhere(plan, column::kStatus, "Bad")) + " Bad, " +
           std::to_string(CountWhere(plan, column::kStatus, "Untested")) + " Untested";
}

std::string CaptureRunSummary(const TestPlan& plan) {
    return "Automatic capture finished: " +
           std::to_string(CountWhere(plan, column::kSignature, "Yes")) + " of " +
           std::to_string(RowCount(plan) - 1) + " records captured";
}

}  // namespace orv
