#include "app/sim_probe_window.h"

#include <algorithm>

#include "app/program.h"
#include "core/clock.h"
#include "link/link_clock.h"
#include "testplan/test_plan.h"
#include "ui/control_numbers.h"
#include "ui/controls.h"

namespace orv {

namespace {

std::vector<std::string> PinsOf(const sim::Instrument& instrument, const std::string& component) {
    std::vector<std::string> pins;
    for (const sim::BoardPin& pin : sim::BoardPins(instrument)) {
        if (pin.component == component)
            pins.push_back(pin.pin);
    }
    return pins;
}

void ShowProbe(Program& program) {
    const sim::InstrumentView view = sim::Inspect(*program.simulator);
    std::string text = "Probe lifted";
    if (view.probe.kind == sim::Probe::Kind::Pin) {
        text = "Probe on " + view.probe.component + " pin " + view.probe.pin;
    } else if (view.probe.kind == sim::Probe::Kind::Circuit) {
        text = "Probe on a test circuit";
    }
    if (!view.plugged)
        text += ", unplugged";
    ui::SetControlText(*program.gui, kProbeText, text);
}

void FillPins(Program& program) {
    ui::Gui& gui = *program.gui;
    const int index = ui::ListSelection(gui, kProbeComponentList);
    const auto& components = program.simProbe.components;
    if (index < 0 || index >= static_cast<int>(components.size()))
        return;
    ui::SetListItems(gui, kProbePinList, PinsOf(*program.simulator, components[index]));
    ui::SetListSelection(gui, kProbePinList, 0);
}

void TouchChosenPin(Program& program) {
    ui::Gui& gui = *program.gui;
    const int index = ui::ListSelection(gui, kProbeComponentList);
    const auto& components = program.simProbe.components;
    if (index < 0 || index >= static_cast<int>(components.size()))
        return;
    sim::TouchPin(*program.simulator, components[index], ui::ControlText(gui, kProbePinList));
}

}  // namespace

void OpenSimProbeWindow(Program& program) {
    if (program.simulator == nullptr || program.gui == nullptr)
        return;
    ui::Gui& gui = *program.gui;
    if (!ui::OpenWindow(gui, kSimProbeWindow, "Simulated probe", 1560, 0, 300, 372))
        return;
    SimProbeState& state = program.simProbe;
    state.open = true;
    state.components.clear();
    for (const sim::BoardPin& pin : sim::BoardPins(*program.simulator)) {
        if (std::find(state.components.begin(), state.components.end(), pin.component) ==
            state.components.end()) {
            state.components.push_back(pin.component);
        }
    }
    using ui::ControlKind;
    const int w = kSimProbeWindow;
    ui::CreateControl(gui, w, kProbeUnitLabel, ControlKind::Label, {10, 10, 80, 23}, "Board unit");
    ui::CreateControl(gui, w, kProbeUnitList, ControlKind::List, {100, 10, 190, 23});
    ui::SetListItems(gui, kProbeUnitList, {"Known good", "Under test (faulty)"});
    ui::SetListSelection(gui, kProbeUnitList, 0);
    ui::CreateControl(gui, w, kProbePinLabel, ControlKind::Label, {10, 44, 80, 23},
                      "Component, pin");
    ui::CreateControl(gui, w, kProbeComponentList, ControlKind::List, {10, 70, 135, 23});
    ui::SetListItems(gui, kProbeComponentList, state.components);
    ui::SetListSelection(gui, kProbeComponentList, 0);
    ui::CreateControl(gui, w, kProbePinList, ControlKind::List, {155, 70, 135, 23});
    FillPins(program);
    ui::CreateControl(gui, w, kProbeTouch, ControlKind::Button, {10, 100, 135, 26}, "Touch");
    ui::CreateControl(gui, w, kProbeLift, ControlKind::Button, {155, 100, 135, 26}, "Lift");
    ui::CreateControl(gui, w, kProbeText, ControlKind::Label, {10, 130, 280, 23});
    ui::CreateControl(gui, w, kProbeFollowPlan, ControlKind::CheckBox, {10, 158, 280, 23},
                      "Follow the plan (touch each record's pin)");
    ui::CreateControl(gui, w, kProbeHoldA, ControlKind::ToggleButton, {10, 190, 135, 26},
                      "Hold button A");
    ui::CreateControl(gui, w, kProbeHoldB, ControlKind::ToggleButton, {155, 190, 135, 26},
                      "Hold button B");
    ui::CreateControl(gui, w, kProbeFaultLabel, ControlKind::Label, {10, 226, 280, 23},
                      "Link faults");
    ui::CreateControl(gui, w, kProbeUnplug, ControlKind::Button, {10, 252, 135, 26}, "Unplug");
    ui::CreateControl(gui, w, kProbeReplug, ControlKind::Button, {155, 252, 135, 26},
                      "Plug back in");
    ui::CreateControl(gui, w, kProbeShortRead, ControlKind::Button, {10, 284, 135, 26},
                      "Short read");
    ui::CreateControl(gui, w, kProbeStall, ControlKind::ToggleButton, {155, 284, 135, 26},
                      "Stall stream");
    ui::CreateControl(gui, w, kProbeCorrupt, ControlKind::CheckBox, {10, 318, 280, 23},
                      "Corrupt 1 % of the frames");
    ShowProbe(program);
}

void HandleSimProbeEvent(Program& program, const ui::Event& event) {
    sim::Instrument& instrument = *program.simulator;
    ui::Gui& gui = *program.gui;
    if (event.kind == ui::EventKind::CloseRequest) {
        ui::CloseWindow(gui, kSimProbeWindow);
        program.simProbe = SimProbeState{};
        return;
    }
    if (event.kind != ui::EventKind::Control)
        return;
    switch (event.number) {
        case kProbeUnitList:
            sim::SelectBoard(instrument, ui::ListSelection(gui, kProbeUnitList) == 1
                                             ? sim::BoardUnit::UnderTest
                                             : sim::BoardUnit::KnownGood);
            break;
        case kProbeComponentList:
            FillPins(program);
            break;
        case kProbeTouch:
            TouchChosenPin(program);
            break;
        case kProbeLift:
            sim::LiftProbe(instrument);
            break;
        case kProbePinList:
            TouchChosenPin(program);
            break;
        case kProbeHoldA:
            sim::SetButton(instrument, sim::ProbeButton::A, ui::IsControlChecked(gui, kProbeHoldA));
            break;
        case kProbeHoldB:
            sim::SetButton(instrument, sim::ProbeButton::B, ui::IsControlChecked(gui, kProbeHoldB));
            break;
        case kProbeFollowPlan:
            program.simProbe.follow = ui::IsControlChecked(gui, kProbeFollowPlan);
            program.simProbe.followedRecord = -1;
            break;
        case kProbeUnplug:
            sim::Unplug(instrument);
            break;
        case kProbeReplug:
            sim::Replug(instrument);
            break;
        case kProbeShortRead:
            sim::ShortenNextReads(instrument, 1);
            break;
        case kProbeStall:
            sim::SetStalled(instrument, ui::IsControlChecked(gui, kProbeStall));
            break;
        case kProbeCorrupt:
            sim::SetCorruptFraction(instrument,
                                    ui::IsControlChecked(gui, kProbeCorrupt) ? 0.01 : 0.0);
            break;
        default:
            break;
    }
    ShowProbe(program);
}

namespace {

std::string RecordState(const TestPlan& plan, int record) {
    return Cell(plan, record, column::kStatus) + "|" + Cell(plan, record, column::kSignature);
}

}  // namespace

void FollowPlanWithProbe(Program& program) {
    SimProbeState& state = program.simProbe;
    if (!state.open || !state.follow || program.simulator == nullptr)
        return;
    const TestPlan& plan = program.testPlan;
    const int record = program.position.TestPlanIndex;
    // The link's clock: the monotonic one, or the one a test runs fast.
    const std::int64_t now = NowMs(program.link.clock);
    if (program.working.WorkingMode != state.followedWorkingMode) {
        state.followedWorkingMode = program.working.WorkingMode;
        state.followedRecord = -1;
    }
    if (record != state.followedRecord) {
        // The hand leaves the old pin at once and reaches the new one a moment later.
        state.followedRecord = record;
        state.onFollowedPin = false;
        sim::LiftProbe(*program.simulator);
        state.touchDueMs = HasRow(plan, record) && record >= 2 ? now + kFollowTouchDelayMs : -1;
        ShowProbe(program);
    }
    if (state.touchDueMs >= 0 && now >= state.touchDueMs) {
        state.touchDueMs = -1;
        state.onFollowedPin = true;
        state.touchedRecordState = RecordState(plan, record);
        sim::TouchPin(*program.simulator, CellView(plan, record, column::kComponent),
                      CellView(plan, record, column::kPin));
        ShowProbe(program);
    }
    // Judged or captured: the technician lifts the probe, which lets the sequence move on.
    if (state.onFollowedPin && RecordState(plan, record) != state.touchedRecordState) {
        state.onFollowedPin = false;
        sim::LiftProbe(*program.simulator);
        ShowProbe(program);
    }
}

}  // namespace orv
