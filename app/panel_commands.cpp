// The ribbon's controls, the two record trees and the probe-button functions. Each
// number does what its control says; the rules live with the state they change (the
// generator steps and the verdicts in the engine, navigation in the plan), and this
// dispatcher reads the controls and refreshes the window afterwards.

#include <string>

#include "app/commands.h"
#include "app/display_refresh.h"
#include "app/program.h"
#include "display/ribbon_tables.h"
#include "engine/capture_verdict.h"
#include "engine/generator_steps.h"
#include "testplan/navigation.h"
#include "ui/controls.h"

namespace orv {

namespace {

void SelectFromTree(Program& program, int tree) {
    ui::Gui& gui = *program.gui;
    const int selected = ui::TreeSelection(gui, tree);
    if (selected < 0)
        return;
    program.position.TestPlanIndex = ui::TreeEntryAt(gui, tree, selected).datum;
    RefreshUiState(program);
    program.position.RecordChanged = true;
}

struct FreezeButton {
    int control;
    std::string_view upText;
    std::string_view downText;
    SignatureBuffer Signatures::*frozen;
};
constexpr FreezeButton kFreezeGolden{kControlFreezeGolden, kFreezeGoldenText, kGoldenFrozenText,
                                     &Signatures::FrozenGolden};
constexpr FreezeButton kFreezeDut{kControlFreezeDut, kFreezeDutText, kDutFrozenText,
                                  &Signatures::FrozenDut};

// The toggle as it now stands: down freezes the live signature, up thaws.
void FreezeOrThaw(Program& program, const FreezeButton& button) {
    ui::Gui& gui = *program.gui;
    SignatureBuffer& frozen = program.signatures.*button.frozen;
    if (ui::IsControlChecked(gui, button.control)) {
        ui::SetControlText(gui, button.control, std::string(button.downText));
        CopySignature(program.signatures.LiveSignature, frozen);
    } else {
        ui::SetControlText(gui, button.control, std::string(button.upText));
        ClearSignature(frozen);  // points 1 to 128; entry 0 stays
    }
    program.display.traceRefreshRequested = true;
}

void PressFreezeButton(Program& program, const FreezeButton& button, bool down) {
    ui::SetControlChecked(*program.gui, button.control, down);
    FreezeOrThaw(program, button);
}

// The probe's FREEZE presses the first freeze button still up, golden before DUT, so
// one button freezes the known-good pin and then the pin under test; THAW releases both.
void ProbeFreeze(Program& program) {
    for (const FreezeButton* button : {&kFreezeGolden, &kFreezeDut}) {
        if (!ui::IsControlChecked(*program.gui, button->control)) {
            PressFreezeButton(program, *button, true);
            return;
        }
    }
}

void ProbeThaw(Program& program) {
    PressFreezeButton(program, kFreezeGolden, false);
    PressFreezeButton(program, kFreezeDut, false);
}

VerdictInputs VerdictInputsOf(Program& program) {
    VerdictInputs in;
    in.editCapture = ui::IsControlChecked(*program.gui, kControlEditCapture);
    in.mode = program.app.settings.Mode;
    in.connected = program.link.state.Connected;
    in.live = &program.signatures.LiveSignature;
    in.applied = program.app.GeneratorApplied;
    in.pointCount = program.link.generator.SignaturePointCount;
    in.signatures = &program.signatures;
    in.measurement = &program.measurement;
    return in;
}

// What the window does after a hand verdict: a pause in which it keeps painting, the
// refresh, the capture's flash, the redraw of the record and its sound.
void AfterVerdict(Program& program, VerdictAction action, Sound sound) {
    if (action == VerdictAction::None)
        return;
    PlaySoundIfLoaded(program.media, sound);
    const bool captured = action == VerdictAction::Captured;
    ui::KeepPaintingFor(*program.gui, captured ? kCapturePauseMs : kVerdictPauseMs);
    RefreshUiState(program);
    if (captured)
        StartCaptureFlash(program.display.scope);
    program.position.RecordChanged = true;
}

void GoodOrCapture(Program& program) {
    const VerdictAction action =
        CaptureOrGood(program.testPlan, program.position, VerdictInputsOf(program), program.log);
    AfterVerdict(program, action,
                 action == VerdictAction::Captured ? Sound::CaptureSignature : Sound::TestGood);
}

void Bad(Program& program) {
    AfterVerdict(program, MarkBad(program.testPlan, program.position, VerdictInputsOf(program)),
                 Sound::TestBad);
}

void Navigate(Program& program, void (*move)(const TestPlan&, PlanPosition&)) {
    move(program.testPlan, program.position);
}

// The generator commands: the request changes, the main cycle sends it.
bool HandleGeneratorCommand(Program& program, int control) {
    ui::Gui& gui = *program.gui;
    AppState& app = program.app;
    GeneratorSettings& request = app.GeneratorRequest;
    const GeneratorSettings& applied = app.GeneratorApplied;
    const std::string& model = app.settings.ActiveInstrument;
    switch (control) {
        case kControlVoltageList:
            ChooseVoltageItem(request, ui::ListSelection(gui, control));
            return true;
        case kCommandVoltageCycle:
            StepVoltage(request, Step::Cycle);
            return true;
        case kControlVoltagePlus:
            StepVoltage(request, Step::Up);
            return true;
        case kControlVoltageMinus:
            StepVoltage(request, Step::Down);
            return true;
        case kControlResistanceList:
            ChooseResistanceItem(request, model, ui::ListSelection(gui, control));
            return true;
        case kCommandResistanceCycle:
            CycleResistance(request, applied, model, app.ResistanceStepDirection);
            return true;
        case kControlResistancePlus:
            StepResistance(request, applied, model, Step::Up);
            return true;
        case kControlResistanceMinus:
            StepResistance(request, applied, model, Step::Down);
            return true;
        case kControlFrequencyList:
            ChooseFrequencyItem(request, ui::ListSelection(gui, control));
            return true;
        case kCommandFrequencyCycle:
            StepFrequency(request, applied, Step::Cycle);
            return true;
        case kControlFrequencyPlus:
            StepFrequency(request, applied, Step::Up);
            return true;
        case kControlFrequencyMinus:
            StepFrequency(request, applied, Step::Down);
            return true;
        case kControlDcModeList:
            ChooseDcModeItem(request, ui::ListSelection(gui, control));
            return true;
        case kControlDcLevelList:
            ChooseDcLevelText(request, ui::ControlText(gui, control));
            return true;
        case kControlScanSignalList:
            request.ScanA = ui::ListSelection(gui, control);
            RefreshUiState(program);
            return true;
        case kControlScanCommonList:
            request.ScanB = ui::ListSelection(gui, control);
            RefreshUiState(program);
            return true;
        default:
            return false;
    }
}

}  // namespace

void HandlePanelCommand(Program& program, int control) {
    if (HandleGeneratorCommand(program, control))
        return;
    ui::Gui& gui = *program.gui;
    switch (control) {
        case kControlTestTree:
        case kControlBadTree:
            SelectFromTree(program, control);
            break;
        case kControlAutoFreeze:
            program.cycle.AutoFreeze = ui::IsControlChecked(gui, control);
            program.working.AutoFreezeStep = 0;
            RefreshUiState(program);
            break;
        case kControlProbeButtonA:
            program.cycle.ProbeButtonAPressed = true;
            break;
        case kControlProbeButtonB:
            program.cycle.ProbeButtonBPressed = true;
            break;
        case kControlFreezeGolden:
            FreezeOrThaw(program, kFreezeGolden);
            break;
        case kControlFreezeDut:
            FreezeOrThaw(program, kFreezeDut);
            break;
        case kCommandFreeze:
            ProbeFreeze(program);
            break;
        case kCommandThaw:
            ProbeThaw(program);
            break;
        case kControlNextRecord:
            Navigate(program, NextRecord);
            break;
        case kControlPreviousRecord:
            Navigate(program, PreviousRecord);
            break;
        case kControlNextComponent:
            Navigate(program, NextComponent);
            break;
        case kControlPreviousComponent:
            Navigate(program, PreviousComponent);
            break;
        case kControlFirstRecord:
            Navigate(program, FirstRecord);
            break;
        case kControlLastRecord:
            Navigate(program, LastRecord);
            break;
        case kControlEditCapture:
            program.working.WorkingMode =
                ui::IsControlChecked(gui, control) ? kManualCapture : kManualTest;
            RefreshUiState(program);
            break;
        case kControlGood:
            GoodOrCapture(program);
            break;
        case kControlBad:
            Bad(program);
            break;
        case kControlResetTest:
            ResetResultsConfirm(program.testPlan, program.position, *program.dialogs);
            break;
        case kControlEditRecords:
            if (ui::IsControlChecked(gui, kControlEditCapture)) {
                OpenRecordEditor(program);
                program.position.RecordChanged = true;
            }
            break;
        case kControlWorkingMode:
            ToggleAutomatic(program.working, program.position);
            RefreshUiState(program);
            break;
        default:
            break;
    }
}

}  // namespace orv
