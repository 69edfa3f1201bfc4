#include "app/main_cycle.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <mutex>

#include "app/commands.h"
#include "app/display_refresh.h"
#include "app/program.h"
#include "display/hit_test.h"
#include "display/ribbon_tables.h"
#include "engine/scaling.h"
#include "link/commands.h"
#include "link/connection.h"
#include "testplan/record_cells.h"
#include "ui/controls.h"

namespace orv {

namespace {

constexpr float kRailVoltsPerCount = 0.0016121270600706339f;

struct FrameTaken {
    bool got = false;
    std::uint16_t status = 0;
    std::uint16_t railRaw = 0;
};

void RunAutomaticSequences(Program& program) {
    WorkingState& working = program.working;
    switch (working.WorkingMode) {
        case kManualTest:
            if (program.cycle.AutoFreeze)
                AutoFreezeStepOnce(program);
            break;
        case kManualCapture:
            break;
        case kAutomaticTest:
            AutoTestStepOnce(program);
            break;
        case kAutomaticCapture:
            AutoCaptureStepOnce(program);
            break;
        default:
            working.WorkingMode = kManualTest;
            break;
    }
}

bool IsUserAction(const ui::Event& event) {
    switch (event.kind) {
        case ui::EventKind::Menu:
        case ui::EventKind::Control:
        case ui::EventKind::LeftClick:
        case ui::EventKind::RightClick:
            return true;
        default:
            return false;
    }
}

void RunProbeFunction(Program& program, int functionList) {
    const int index = ui::ListSelection(*program.gui, functionList);
    if (index < 0 || index >= static_cast<int>(kProbeFunctions.size()))
        return;
    const int command = kProbeFunctions[static_cast<size_t>(index)].command;
    if (command != 0)
        HandlePanelCommand(program, command);
}

// The record's own generator settings, when the "V/R/Hz" box says to use them.
void TakeRecordSettings(Program& program) {
    ui::Gui& gui = *program.gui;
    if (!ui::ControlExists(gui, kControlUseFileSettings) ||
        !ui::IsControlChecked(gui, kControlUseFileSettings)) {
        return;
    }
    PlanPosition& position = program.position;
    position.TestPlanIndex = std::min(position.TestPlanIndex, RowCount(program.testPlan));
    const RecordGenerator record = RecordSettings(program.testPlan, position.TestPlanIndex);
    GeneratorSettings& request = program.app.GeneratorRequest;
    request.ScanA = static_cast<int>(record.ScanSig);
    request.ScanB = static_cast<int>(record.ScanCom);
    if (record.Millivolts != 0 && record.Ohms != 0 && record.Hertz != 0) {
        request.PeakMillivolts = static_cast<float>(record.Millivolts);
        request.SourceOhms = static_cast<float>(record.Ohms);
        request.FrequencyHz = static_cast<float>(record.Hertz);
    }
}

void ApplyGeneratorRequest(Program& program) {
    AppState& app = program.app;
    if (app.GeneratorRequest == app.GeneratorApplied)
        return;
    app.GeneratorApplied = app.GeneratorRequest;
    ApplyEffectiveResistance(program.link.generator, app.settings.ActiveInstrument,
                             app.GeneratorApplied.SourceOhms);
    program.position.RecordChanged = true;
    program.link.state.SettingsSendPending = true;
    RefreshUiState(program);
}

// Scales the newest frame while holding the frame mutex, no longer.
FrameTaken TakeFrame(Program& program) {
    Link& link = program.link;
    FrameTaken taken;
    std::lock_guard lock(link.frameMutex);
    if (!link.frames.NewFrame)
        return taken;
    link.frames.NewFrame = false;
    const FrameScaling scaling = FrameScalingOf(link.calibration, link.generator);
    ScaleFrame(link.frames.raw.channelA, link.frames.raw.channelB, scaling,
               program.signatures.LiveSignature);
    taken.got = true;
    taken.status = link.frames.raw.InstrumentStatus;
    taken.railRaw = link.frames.raw.RailRaw;
    return taken;
}

// A held button raises one press: only the change to held counts.
void ShowProbeButton(Program& program, bool held, int indicator, bool& shownPressed, bool& pressed,
                     Picture heldPicture, Picture idlePicture) {
    ui::Gui& gui = *program.gui;
    if (!ui::ControlExists(gui, indicator))
        return;
    if (held && !shownPressed) {
        ui::SetControlImage(gui, indicator, PictureOf(program.media, heldPicture));
        shownPressed = true;
        pressed = true;
    } else if (!held && shownPressed) {
        ui::SetControlImage(gui, indicator, PictureOf(program.media, idlePicture));
        shownPressed = false;
    }
}

void SetStatusLine(Program& program, const std::string& text) {
    if (ui::ControlExists(*program.gui, kControlInstrumentStatusText))
        ui::SetControlText(*program.gui, kControlInstrumentStatusText, text);
}

void ShowRail(Program& program, std::uint16_t railRaw) {
    MainCycleState& cycle = program.cycle;
    cycle.RailVolts = static_cast<float>(railRaw) * kRailVoltsPerCount;
    if (cycle.RailVolts > cycle.RailShown + 0.01f || cycle.RailVolts < cycle.RailShown - 0.01f)
        cycle.RailShown = cycle.RailVolts;
    char text[48];
    std::snprintf(text, sizeof text, "USB rail: %.2fV", static_cast<double>(cycle.RailShown));
    SetStatusLine(program, text);
}

void ShowLinkError(Program& program) {
    std::string error;
    {
        std::lock_guard lock(program.link.frameMutex);
        error.swap(program.link.frames.LinkErrorText);
    }
    if (!error.empty())
        SetStatusLine(program, error);
}

HitAreas CurrentHitAreas(Program& program) {
    const Settings& s = program.app.settings;
    ui::Gui& gui = *program.gui;
    // The indicator sits in the ribbon panel: its rectangle in window coordinates.
    const ui::Rect panel = ui::ControlRect(gui, kControlRibbonPanel);
    const ui::Rect indicator = ui::ControlRect(gui, kControlConnectionIndicator);
    const Rect connect{panel.x + indicator.x, panel.y + indicator.y, indicator.width,
                       indicator.height};
    return MakeHitAreas(program.display.layout, ViewVisibility(s.Mode, s.DisplayView), connect);
}

// A left click on an area; returns the record offset a mini-scope asks for.
int ServeLeftClick(Program& program) {
    const ui::Event& event = program.app.LastEvent;
    const int hit = HitTestArea(CurrentHitAreas(program), event.x, event.y);
    if (hit >= kHitFirstMiniScope && hit < kHitFirstMiniScope + kMiniScopeCount)
        return hit - kHitFirstMiniScope + 1 - kCentreMiniScope;
    if (hit == kHitConnectionIndicator) {
        ConnectButtonPressed(program.link, program.app, program.log);
    } else if (hit == kHitPcbView) {
        const PcbClickResult click =
            PcbViewClick(program.display.pcb, event.x, event.y, program.display.layout.pcbView,
                         CurrentBoardPins(program).clickable);
        if (click.row != 0)
            program.position.TestPlanIndex = click.row;
        if (click.row != 0 || click.toggledWholeBoard)
            program.position.RecordChanged = true;
    }
    return 0;
}

}  // namespace

void RunMainCycle(Program& program) {
    AppState& app = program.app;
    MainCycleState& cycle = program.cycle;
    PlanPosition& position = program.position;
    WorkingState& working = program.working;
    DisplayState& display = program.display;

    // The last run's counts stay until the user does something in the window.
    if (IsUserAction(app.LastEvent))
        program.runNotice.summary.clear();
    if (app.LastEvent.kind == ui::EventKind::Menu) {
        HandleMenuCommand(program, app.LastEvent.number);
        HandleInstrumentChange(program);
    }
    if (app.LastEvent.kind == ui::EventKind::Control)
        HandlePanelCommand(program, app.LastEvent.number);
    RunAutomaticSequences(program);
    ShowRunNotice(program);
    if (working.WorkingMode != cycle.LastWorkingMode) {
        if (working.WorkingMode == kAutomaticTest || working.WorkingMode == kAutomaticCapture)
            program.measurement.StableCount = 0;
        cycle.LastWorkingMode = working.WorkingMode;
        RefreshUiState(program);
    }
    // Navigation asks for these instead of calling the display itself.
    if (position.TestTreeClearRequested) {
        position.TestTreeClearRequested = false;
        ui::ClearTree(*program.gui, kControlTestTree);
    }
    if (position.UiRefreshRequested) {
        position.UiRefreshRequested = false;
        RefreshUiState(program);
    }
    const std::int64_t now = std::time(nullptr);
    if (app.LayoutChanged && now >= cycle.LayoutTime + 1) {
        cycle.LayoutTime = now;
        app.LayoutChanged = false;
        LayOutMainWindow(program);
        RememberWindowPlace(program);
        position.RecordChanged = true;
        display.traceRefreshRequested = true;
    }
    if (cycle.ProbeButtonAPressed) {
        cycle.ProbeButtonAPressed = false;
        RunProbeFunction(program, kControlProbeFunctionA);
    }
    if (cycle.ProbeButtonBPressed) {
        cycle.ProbeButtonBPressed = false;
        RunProbeFunction(program, kControlProbeFunctionB);
    }
    if (position.TestPlanIndex != cycle.LastRecordShown) {
        cycle.LastRecordShown = position.TestPlanIndex;
        TakeRecordSettings(program);
        position.RecordChanged = true;
        FillRecordTrees(program);
    }
    ApplyGeneratorRequest(program);
    Link& link = program.link;
    if (link.state.Connected && link.state.SettingsSendPending) {
        link.state.SettingsSendPending = false;
        SendGeneratorSettings(link, app);
    }
    const FrameTaken frame = TakeFrame(program);
    if (frame.got) {
        if (link.state.Connected)
            MeasureLiveSignature(program);
        display.traceRefreshRequested = true;
        ShowProbeButton(program, (frame.status & kButtonA) != 0, kControlProbeButtonA,
                        cycle.ProbeButtonAShownPressed, cycle.ProbeButtonAPressed,
                        Picture::ButtonAYellow, Picture::ButtonAGrey);
        ShowProbeButton(program, (frame.status & kButtonB) != 0, kControlProbeButtonB,
                        cycle.ProbeButtonBShownPressed, cycle.ProbeButtonBPressed,
                        Picture::ButtonBYellow, Picture::ButtonBGrey);
        ShowRail(program, frame.railRaw);
    }
    ShowLinkError(program);
    // A disconnection on either thread asks for the scopes without the live trace.
    if (link.state.TraceRefreshRequested.exchange(false))
        display.traceRefreshRequested = true;
    if (position.RecordChanged) {
        position.RecordChanged = false;
        display.traceRefreshRequested = true;
        ComposeRecordDisplays(program);
    }
    if (display.traceRefreshRequested) {
        display.traceRefreshRequested = false;
        ComposeTraceDisplays(program, link.state.Connected);
    }
    int offset = 0;
    if (app.ClickPending) {
        app.ClickPending = false;
        offset = ServeLeftClick(program);
    }
    if (app.RightClickPending) {
        app.RightClickPending = false;
        HitTestArea(CurrentHitAreas(program), app.LastEvent.x, app.LastEvent.y);
    }
    if (offset != 0) {
        const int rows = RowCount(program.testPlan);
        position.TestPlanIndex = std::max(std::min(position.TestPlanIndex + offset, rows), 2);
        RefreshUiState(program);
        position.RecordChanged = true;
    }
    UpdateConnectionIndicator(program);
}

void UpdateConnectionIndicator(Program& program) {
    const bool connected = program.link.state.Connected;
    int& shown = program.app.ShownConnectionState;
    if ((connected ? 1 : 0) == shown)
        return;
    shown = connected ? 1 : 0;
    ui::Gui& gui = *program.gui;
    ui::SetControlImage(
        gui, kControlConnectionIndicator,
        PictureOf(program.media, connected ? Picture::ButtonConnected : Picture::ButtonNoConnect));
    if (ui::MenuItemExists(gui, kMenuConnect)) {
        ui::SetMenuItemChecked(gui, kMenuConnect, connected);
        ui::SetMenuItemChecked(gui, kMenuDisconnect, !connected);
    }
    if (!connected)
        SetStatusLine(program, " USB disconnected");
}

}  // namespace orv
