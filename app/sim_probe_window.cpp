#include "app/sim_probe_window.h"

#include <algorithm>

#include "app/program.h"
#include "core/clock.h"
#include "testplan/test_plan.h"
#include "ui/controls.h"

namespace orv {

namespace {

enum Control {
    kUnitList = 3001,
    kComponentList,
    kPinList,
    kTouch,
    kLift,
    kHoldA,
    kHoldB,
    kFollowPlan,
    kUnplug,
    kReplug,
    kCorrupt,
    kShortRead,
    kStall,
    kProbeText,
    kUnitLabel,
    kPinLabel,
    kFaultLabel,
};

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
    const int index = ui::ListSelection(gui, kComponentList);
    const auto& components = program.simProbe.components;
    if (index < 0 || index >= static_cast<int>(components.size()))
        return;
    ui::SetListItems(gui, kPinList, PinsOf(*program.simulator, components[index]));
    ui::SetListSelection(gui, kPinList, 0);
}

void TouchChosenPin(Program& program) {
    ui::Gui& gui = *program.gui;
    const int index = ui::ListSelection(gui, kComponentList);
    const auto& components = program.simProbe.components;
    if (index < 0 || index >= static_cast<int>(components.size()))
        return;
    sim::TouchPin(*program.simulator, components[index], ui::ControlText(gui, kPinList));
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
    ui::CreateControl(gui, w, kUnitLabel, ControlKind::Label, {10, 10, 80, 23}, "Board unit");
    ui::CreateControl(gui, w, kUnitList, ControlKind::List, {100, 10, 190, 23});
    ui::SetListItems(gui, kUnitList, {"Known good", "Under test (faulty)"});
    ui::SetListSelection(gui, kUnitList, 0);
    ui::CreateControl(gui, w, kPinLabel, ControlKind::Label, {10, 44, 80, 23}, "Component, pin");
    ui::CreateControl(gui, w, kComponentList, ControlKind::List, {10, 70, 135, 23});
    ui::SetListItems(gui, kComponentList, state.components);
    ui::SetListSelection(gui, kComponentList, 0);
    ui::CreateControl(gui, w, kPinList, ControlKind::List, {155, 70, 135, 23});
    FillPins(program);
    ui::CreateControl(gui, w, kTouch, ControlKind::Button, {10, 100, 135, 26}, "Touch");
    ui::CreateControl(gui, w, kLift, ControlKind::Button, {155, 100, 135, 26}, "Lift");
    ui::CreateControl(gui, w, kProbeText, ControlKind::Label, {10, 130, 280, 23});
    ui::CreateControl(gui, w, kFollowPlan, ControlKind::CheckBox, {10, 158, 280, 23},
                      "Follow the plan (touch each record's pin)");
    ui::CreateControl(gui, w, kHoldA, ControlKind::ToggleButton, {10, 190, 135, 26},
                      "Hold button A");
    ui::CreateControl(gui, w, kHoldB, ControlKind::ToggleButton, {155, 190, 135, 26},
                      "Hold button B");
    ui::CreateControl(gui, w, kFaultLabel, ControlKind::Label, {10, 226, 280, 23}, "Link faults");
    ui::CreateControl(gui, w, kUnplug, ControlKind::Button, {10, 252, 135, 26}, "Unplug");
    ui::CreateControl(gui, w, kReplug, ControlKind::Button, {155, 252, 135, 26}, "Plug back in");
    ui::CreateControl(gui, w, kShortRead, ControlKind::Button, {10, 284, 135, 26}, "Short read");
    ui::CreateControl(gui, w, kStall, ControlKind::ToggleButton, {155, 284, 135, 26},
                      "Stall stream");
    ui::CreateControl(gui, w, kCorrupt, ControlKind::CheckBox, {10, 318, 280, 23},
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
        case kUnitList:
            sim::SelectBoard(instrument, ui::ListSelection(gui, kUnitList) == 1
                                             ? sim::BoardUnit::UnderTest
                                             : sim::BoardUnit::KnownGood);
            break;
        case kComponentList:
            FillPins(program);
            break;
        case kTouch:
            TouchChosenPin(program);
            break;
        case kLift:
            sim::LiftProbe(instrument);
            break;
        case kPinList:
            TouchChosenPin(program);
            break;
        case kHoldA:
            sim::SetButton(instrument, sim::ProbeButton::A, ui::IsControlChecked(gui, kHoldA));
            break;
        case kHoldB:
            sim::SetButton(instrument, sim::ProbeButton::B, ui::IsControlChecked(gui, kHoldB));
            break;
        case kFollowPlan:
            program.simProbe.follow = ui::IsControlChecked(gui, kFollowPlan);
            program.simProbe.followedRecord = -1;
            break;
        case kUnplug:
            sim::Unplug(instrument);
            break;
        case kReplug:
            sim::Replug(instrument);
            break;
        case kShortRead:
            sim::ShortenNextReads(instrument, 1);
            break;
        case kStall:
            sim::SetStalled(instrument, ui::IsControlChecked(gui, kStall));
            break;
        case kCorrupt:
            sim::SetCorruptFraction(instrument, ui::IsControlChecked(gui, kCorrupt) ? 0.01 : 0.0);
            break;
        default:
            break;
    }
    ShowProbe(program);
}

void FollowPlanWithProbe(Program& program) {
    SimProbeState& state = program.simProbe;
    if (!state.open || !state.follow || program.simulator == nullptr)
        return;
    const int record = program.position.TestPlanIndex;
    const std::int64_t now = MonotonicMs();
    if (record != state.followedRecord) {
        // The hand leaves the old pin at once and reaches the new one a moment later.
        state.followedRecord = record;
        sim::LiftProbe(*program.simulator);
        state.touchDueMs =
            HasRow(program.testPlan, record) && record >= 2 ? now + kFollowTouchDelayMs : -1;
        ShowProbe(program);
    }
    if (state.touchDueMs >= 0 && now >= state.touchDueMs) {
        state.touchDueMs = -1;
        sim::TouchPin(*program.simulator, CellView(program.testPlan, record, column::kComponent),
                      CellView(program.testPlan, record, column::kPin));
        ShowProbe(program);
    }
}

}  // namespace orv
