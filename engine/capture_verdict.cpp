#include "engine/capture_verdict.h"

#include "engine/difference.h"
#include "testplan/record_cells.h"

namespace orv {

namespace {

// A pin record the actions may write: not the header, not beyond the last row.
bool OnRecord(const TestPlan& plan, const PlanPosition& position) {
    return position.TestPlanIndex >= kFirstRecordRow && position.TestPlanIndex <= RowCount(plan);
}

void StoreLive(TestPlan& plan, int row, int block, const VerdictInputs& in) {
    const SignatureBuffer& live = *in.live;
    StoreSignature(plan, row, block, in.applied, in.pointCount, StoredPoints(live.X),
                   StoredPoints(live.Y));
}

VerdictAction Judge(TestPlan& plan, PlanPosition& position, const VerdictInputs& in,
                    std::string_view result) {
    const int row = position.TestPlanIndex;
    if (in.signatures != nullptr && in.measurement != nullptr &&
        CellView(plan, row, column::kSignature) == "Yes") {
        ComputeDifference(plan, row, *in.signatures, *in.measurement);
    }
    StoreLive(plan, row, kDutBlock, in);
    SetCell(plan, row, column::kStatus, result);
    NextRecord(plan, position);
    return VerdictAction::Judged;
}

}  // namespace

VerdictAction CaptureOrGood(TestPlan& plan, PlanPosition& position, const VerdictInputs& in,
                            EventLog& log) {
    if (in.mode != "Advanced")
        return VerdictAction::None;
    if (in.editCapture) {
        if (!in.connected) {
            ShowUserMessage(
                log,
                "Info #0054 Instrument not connected, cannot capture signature - no ORV connected");
            return VerdictAction::None;
        }
        if (!OnRecord(plan, position))
            return VerdictAction::None;
        const int row = position.TestPlanIndex;
        StoreLive(plan, row, kGoldenBlock, in);
        SetCell(plan, row, column::kSignature, "Yes");
        NextRecord(plan, position);
        return VerdictAction::Captured;
    }
    if (!OnRecord(plan, position))
        return VerdictAction::None;
    return Judge(plan, position, in, "Good");
}

VerdictAction MarkBad(TestPlan& plan, PlanPosition& position, const VerdictInputs& in) {
    if (in.editCapture || !OnRecord(plan, position))
        return VerdictAction::None;
    return Judge(plan, position, in, "Bad");
}

}  // namespace orv
