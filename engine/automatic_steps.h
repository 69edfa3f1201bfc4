#pragma once
// The three step machines that turn the stability detection into actions while the
// operator moves the probe from pin to pin: the automatic test, the automatic capture
// and Auto Freeze. Each call does the work of the current step only; what the window
// does afterwards (sounds, flash, refresh) is the caller's, told by the result.

#include <optional>
#include <string_view>

#include "core/app_state.h"
#include "core/sounds.h"
#include "engine/signatures.h"
#include "testplan/navigation.h"
#include "testplan/test_plan.h"

namespace orv {

// What the sequences read of the measurement and the settings in this pass.
struct SequenceInputs {
    int signatureState = kOpenCircuit;
    int stableCount = 0;
    int captureDelay = 10;        // CaptureDelay of the setting, read afresh at every use
    bool scannerInUse = false;    // ScanSig or ScanCom requested
    bool allowOverwrite = false;  // ORV_AllowSignatureOverwrite is 1
    std::string_view goldenVsLiveThreshold;
    GeneratorSettings applied;  // stored with a captured signature
    int pointCount = kDefaultSignaturePoints;
};

// What the window is to do after a step.
struct SequenceEffects {
    std::optional<Sound> sound;
    bool refresh = false;        // RefreshUiState
    bool captureFlash = false;   // the next trace redraws start from black
    bool recordChanged = false;  // redraw the record's displays
    bool finished = false;       // the run found no record left and is back in manual
};

// "2 cycles" 2, "5 cycles" 5, "10 cycles" 10, "15 cycles" 15, "20 cycles" 20; any
// other text 5.
int CaptureDelay(std::string_view text);

SequenceEffects AutoTestStepOnce(TestPlan& plan, PlanPosition& position, WorkingState& working,
                                 Signatures& signatures, Measurement& measurement,
                                 const SequenceInputs& in);
SequenceEffects AutoCaptureStepOnce(TestPlan& plan, PlanPosition& position, WorkingState& working,
                                    Signatures& signatures, Measurement& measurement,
                                    const SequenceInputs& in);
SequenceEffects AutoFreezeStepOnce(WorkingState& working, Signatures& signatures,
                                   const SequenceInputs& in);

}  // namespace orv
