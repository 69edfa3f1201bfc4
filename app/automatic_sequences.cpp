// The automatic test, the automatic capture and Auto Freeze, fed from the program's
// records once per pass; the window follows what each step did.

#include "app/commands.h"
#include "app/display_refresh.h"
#include "app/program.h"
#include "display/ribbon.h"
#include "engine/automatic_steps.h"
#include "engine/run_notices.h"

namespace orv {

namespace {

SequenceInputs InputsOf(const Program& program) {
    const AppState& app = program.app;
    SequenceInputs in;
    in.signatureState = program.measurement.SignatureState;
    in.stableCount = program.measurement.StableCount;
    in.captureDelay = CaptureDelay(app.settings.SignatureCaptureDelay);
    in.scannerInUse = app.GeneratorRequest.ScanA != 0 || app.GeneratorRequest.ScanB != 0;
    in.allowOverwrite = app.settings.AllowSignatureOverwrite == 1;
    in.goldenVsLiveThreshold = app.settings.GoldenVsLiveThreshold;
    in.applied = app.GeneratorApplied;
    in.pointCount = program.link.generator.SignaturePointCount;
    return in;
}

void Follow(Program& program, const SequenceEffects& effects) {
    if (effects.refresh)
        RefreshUiState(program);
    if (effects.captureFlash)
        StartCaptureFlash(program.display.scope);
    if (effects.recordChanged)
        program.position.RecordChanged = true;
    if (effects.sound)
        PlaySoundIfLoaded(program.media, *effects.sound);
}

using SequenceStep = SequenceEffects (*)(TestPlan&, PlanPosition&, WorkingState&, Signatures&,
                                         Measurement&, const SequenceInputs&);

// One step of the test or the capture; at the end of the run its counts are kept.
void StepAndFollow(Program& program, SequenceStep step, std::string (*summary)(const TestPlan&)) {
    const SequenceEffects effects =
        step(program.testPlan, program.position, program.working, program.signatures,
             program.measurement, InputsOf(program));
    if (effects.finished)
        program.runNotice.summary = summary(program.testPlan);
    Follow(program, effects);
}

}  // namespace

void AutoTestStepOnce(Program& program) {
    StepAndFollow(program, &orv::AutoTestStepOnce, &TestRunSummary);
}

void AutoCaptureStepOnce(Program& program) {
    StepAndFollow(program, &orv::AutoCaptureStepOnce, &CaptureRunSummary);
}

void ShowRunNotice(Program& program) {
    RunNotice& notice = program.runNotice;
    const WorkingState& working = program.working;
    OpenPinInput in;
    in.measuring = working.WorkingMode == kAutomaticTest && working.AutoTestStep == 2 &&
                   program.position.TestPlanIndex >= 2 &&
                   HasRow(program.testPlan, program.position.TestPlanIndex);
    in.connected = program.link.state.Connected;
    in.signatureState = program.measurement.SignatureState;
    in.row = program.position.TestPlanIndex;
    in.openCircuitThreshold = program.app.settings.OpenCircuitDetectThreshold;
    in.nowMs = NowMs(program.link.clock);
    const bool prompt = OpenPinPromptDue(notice.watch, program.testPlan, in);
    const std::string_view text = prompt ? kOpenPinPrompt : std::string_view(notice.summary);
    if (text == notice.shown)
        return;
    notice.shown = text;
    ShowRunNoticeText(*program.gui, notice.shown);
}

void AutoFreezeStepOnce(Program& program) {
    Follow(program, AutoFreezeStepOnce(program.working, program.signatures, InputsOf(program)));
}

}  // namespace orv
