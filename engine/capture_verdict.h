#pragma once
// The two hand actions that store the live signature into the current record: Good
// (or, with "Edit/Capture signature" ticked, capture of the golden signature) and Bad.
// They change the plan and the position; what the window does afterwards (the pause,
// the refresh, the flash of a capture) is the caller's, told by the result.

#include <string_view>

#include "core/app_state.h"
#include "core/event_log.h"
#include "engine/signatures.h"
#include "testplan/navigation.h"
#include "testplan/test_plan.h"

namespace orv {

struct VerdictInputs {
    bool editCapture = false;  // the "Edit/Capture signature" check box
    std::string_view mode;     // "Basic", "Basic-Auto" or "Advanced"
    bool connected = false;
    const SignatureBuffer* live = nullptr;
    GeneratorSettings applied;  // stored with the signature
    int pointCount = kDefaultSignaturePoints;
    // When given, a judged record with a golden signature is compared with the live
    // trace, so the status line's "Prev:" tells how far off the pin just judged was.
    Signatures* signatures = nullptr;
    Measurement* measurement = nullptr;
};

enum class VerdictAction {
    None,      // nothing was stored
    Captured,  // the golden signature of the record; the pause is 250 ms
    Judged,    // the record's DUT signature and result; the pause is 150 ms
};

inline constexpr int kCapturePauseMs = 250;
inline constexpr int kVerdictPauseMs = 150;

// Captures the golden signature (edit ticked, Advanced, connected; not connected gives
// "Info #0054 ...") or judges the record Good (edit cleared, Advanced, connected or
// not), then moves to the next record. Nothing happens in the Basic modes, beyond the
// last row, or on the header row, which holds no pin.
VerdictAction CaptureOrGood(TestPlan& plan, PlanPosition& position, const VerdictInputs& in,
                            EventLog& log);

// Judges the record Bad in every mode, with the edit box cleared, then moves on.
VerdictAction MarkBad(TestPlan& plan, PlanPosition& position, const VerdictInputs& in);

}  // namespace orv
