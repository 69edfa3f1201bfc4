#include "engine/automatic_steps.h"

#include "engine/difference.h"
#include "engine/thresholds.h"
#include "testplan/record_cells.h"

namespace orv {

namespace {

constexpr int kSearch = 0;
constexpr int kWaitForNewPin = 1;
constexpr int kAct = 2;
constexpr int kMoveOn = 3;

bool Ready(const SequenceInputs& in) {
    return in.signatureState == kStable && in.stableCount >= in.captureDelay;
}

bool Lifted(const SequenceInputs& in) {
    return in.signatureState == kOpenCircuit;
}

// Step 1 of both sequences: a lift, and a scanner (which never lifts), each advance it.
void WaitForNewPin(int& step, const SequenceInputs& in) {
    if (Lifted(in))
        ++step;
    if (in.scannerInUse)
        ++step;
}

// The first record from the current one on that the predicate takes; false for none.
template <class Takes>
bool SearchFromCurrent(const TestPlan& plan, PlanPosition& position, Takes takes) {
    const int rows = RowCount(plan);
    for (int row = position.TestPlanIndex; row <= rows; ++row) {
        if (takes(row)) {
            position.TestPlanIndex = row;
            return true;
        }
    }
    return false;
}

// Onwards to the next record; past the last one the run is complete.
void NextOrComplete(const TestPlan& plan, PlanPosition& position, WorkingState& working,
                    int manualMode, SequenceEffects& effects) {
    ++position.TestPlanIndex;
    if (position.TestPlanIndex > RowCount(plan)) {
        effects.sound = Sound::CaptureComplete;
        effects.finished = true;
        working.WorkingMode = manualMode;
    }
}

void StoreLive(TestPlan& plan, int row, int block, const Signatures& signatures,
               const SequenceInputs& in) {
    StoreSignature(plan, row, block, in.applied, in.pointCount,
                   StoredPoints(signatures.LiveSignature.X),
                   StoredPoints(signatures.LiveSignature.Y));
}

}  // namespace

int CaptureDelay(std::string_view text) {
    if (text == "2 cycles")
        return 2;
    if (text == "10 cycles")
        return 10;
    if (text == "15 cycles")
        return 15;
    if (text == "20 cycles")
        return 20;
    return 5;
}

SequenceEffects AutoTestStepOnce(TestPlan& plan, PlanPosition& position, WorkingState& working,
                                 Signatures& signatures, Measurement& measurement,
                                 const SequenceInputs& in) {
    SequenceEffects effects;
    int& step = working.AutoTestStep;
    switch (step) {
        case kSearch: {
            if (position.TestPlanIndex > RowCount(plan))
                break;
            const bool found = SearchFromCurrent(plan, position, [&](int row) {
                return CellView(plan, row, column::kStatus) == "Untested" &&
                       CellView(plan, row, column::kSignature) == "Yes";
            });
            if (found) {
                step = kWaitForNewPin;
            } else {
                working.WorkingMode = kManualTest;
                effects.sound = Sound::CaptureComplete;
                effects.finished = true;
            }
            break;
        }
        case kWaitForNewPin:
            WaitForNewPin(step, in);
            break;
        case kAct: {
            if (!Ready(in))
                break;
            const int row = position.TestPlanIndex;
            StoreLive(plan, row, kDutBlock, signatures, in);
            ComputeDifference(plan, row, signatures, measurement);
            const bool good =
                IsGoodVerdict(measurement.DifferencePercent, in.goldenVsLiveThreshold);
            SetCell(plan, row, column::kStatus, good ? "Good" : "Bad");
            effects.sound = good ? Sound::TestGood : Sound::TestBad;
            // The percentages follow each verdict, not only the end of the run.
            effects.refresh = true;
            effects.recordChanged = true;
            step = kMoveOn;
            break;
        }
        case kMoveOn:
            if (Lifted(in) && !in.scannerInUse) {
                step = kSearch;
                NextOrComplete(plan, position, working, kManualTest, effects);
            } else if (in.scannerInUse) {
                measurement.StableCount = 0;
                NextOrComplete(plan, position, working, kManualTest, effects);
                step = kWaitForNewPin;
            }
            break;
        default:
            break;
    }
    return effects;
}

SequenceEffects AutoCaptureStepOnce(TestPlan& plan, PlanPosition& position, WorkingState& working,
                                    Signatures& signatures, Measurement& measurement,
                                    const SequenceInputs& in) {
    SequenceEffects effects;
    int& step = working.AutoCaptureStep;
    switch (step) {
        case kSearch: {
            const bool found = SearchFromCurrent(plan, position, [&](int row) {
                const std::string_view signature = CellView(plan, row, column::kSignature);
                return CellView(plan, row, column::kStatus) == "Untested" &&
                       (signature == "No" || in.allowOverwrite);
            });
            if (found) {
                step = kWaitForNewPin;
            } else {
                working.WorkingMode = kManualCapture;
                effects.sound = Sound::CaptureComplete;
                effects.finished = true;
            }
            break;
        }
        case kWaitForNewPin:
            WaitForNewPin(step, in);
            break;
        case kAct:
            if (!Ready(in))
                break;
            StoreLive(plan, position.TestPlanIndex, kGoldenBlock, signatures, in);
            SetCell(plan, position.TestPlanIndex, column::kSignature, "Yes");
            effects.refresh = true;
            effects.captureFlash = true;
            effects.recordChanged = true;
            effects.sound = Sound::CaptureSignature;
            step = kMoveOn;
            break;
        case kMoveOn:
            if (Lifted(in) && !in.scannerInUse) {
                step = kSearch;
                NextOrComplete(plan, position, working, kManualCapture, effects);
            } else if (in.scannerInUse) {
                measurement.StableCount = 0;
                step = kSearch;
                NextOrComplete(plan, position, working, kManualCapture, effects);
            }
            break;
        default:
            break;
    }
    return effects;
}

SequenceEffects AutoFreezeStepOnce(WorkingState& working, Signatures& signatures,
                                   const SequenceInputs& in) {
    SequenceEffects effects;
    int& step = working.AutoFreezeStep;
    switch (step) {
        case 0:
            if (Ready(in)) {
                CopySignature(signatures.LiveSignature, signatures.FrozenGolden);
                effects = {Sound::CaptureSignature, true, true, true};
                step = 1;
            }
            break;
        case 1:
            if (Lifted(in))
                step = 2;
            break;
        case 2:
            if (Ready(in)) {
                CopySignature(signatures.LiveSignature, signatures.FrozenDut);
                effects = {std::nullopt, true, true, true};
                step = 3;
            }
            break;
        case 3:
            if (Lifted(in))
                step = 4;
            break;
        case 4:
            if (!Lifted(in)) {
                ClearSignature(signatures.FrozenGolden);
                ClearSignature(signatures.FrozenDut);
                step = 0;
            }
            break;
        default:
            break;
    }
    return effects;
}

}  // namespace orv
