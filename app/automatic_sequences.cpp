// The automatic test, the automatic capture and Auto Freeze, fed from the program's
// records once per pass; the window follows what each step did.

#include "app/commands.h"
#include "app/display_refresh.h"
#include "app/program.h"
#include "engine/automatic_steps.h"

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

}  // namespace

void AutoTestStepOnce(Program& program) {
    Follow(program, AutoTestStepOnce(program.testPlan, program.position, program.working,
                                     program.signatures, program.measurement, InputsOf(program)));
}

void AutoCaptureStepOnce(Program& program) {
    Follow(program,
           AutoCaptureStepOnce(program.testPlan, program.position, program.working,
                               program.signatures, program.measurement, InputsOf(program)));
}

void AutoFreezeStepOnce(Program& program) {
    Follow(program, AutoFreezeStepOnce(program.working, program.signatures, InputsOf(program)));
}

}  // namespace orv
