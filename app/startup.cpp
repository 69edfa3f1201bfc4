#include "app/startup.h"

#include <string>

#include "app/display_refresh.h"
#include "app/main_cycle.h"
#include "app/plan_files.h"
#include "app/sim_probe_window.h"
#include "app/subsystem_steps.h"
#include "app/window_events.h"
#include "core/clock.h"
#include "core/crash_report.h"
#include "core/files.h"
#include "core/instrument_model.h"
#include "core/settings.h"
#include "display/grid_layout.h"
#include "display/photo_cache.h"
#include "link/link_clock.h"

namespace orv {

namespace {

constexpr std::string_view kDefaultTestPlan = "testplans\\demo_A.orv";

void CheckInstrumentModel(Program& program) {
    Settings& settings = program.app.settings;
    if (!IsKnownModel(settings.ActiveInstrument)) {
        // Corrected for this run only; the file keeps what the user wrote.
        settings.ActiveInstrument = std::string(kDefaultInstrumentModel);
        WriteLogLine(program.log,
                     "ORV32.EXE start-up, cannot find legal instrument name, defaulting "
                     "'activeinstrument$' to 'ORV310'");
    }
    program.app.MainWindowTitle = MainWindowTitleFor(settings.ActiveInstrument);
    WriteLogLine(program.log, "ORV32.EXE start-up, activeinstrument:" + settings.ActiveInstrument);
}

void RunDailyReleaseCheck(Program& program, const ReleaseServer& server) {
    AppState& app = program.app;
    if (app.settings.CheckWebsiteForUpdate != 1)
        return;
    app.TodayText = FormatDayMonthYear(NowLocal());
    if (app.TodayText == app.settings.DateOfLastUpdateCheck)
        return;
    WriteSetting(program.log, kSettingsFileName, "DateOfLastUpdateCheck", app.TodayText);
    CheckForUpdate(program, server);
}

// The current plan must exist before it is loaded: fall back to the demo plan, and
// create that as a new, empty plan when it is missing too.
void EnsureCurrentTestPlan(Program& program) {
    std::string& planFile = program.app.settings.TestPlanFileName;
    if (CanOpenForReading(planFile))
        return;
    planFile = std::string(kDefaultTestPlan);
    if (CanOpenForReading(planFile))
        return;
    CreateNewFile(planFile, std::string(576, ','));
}

// Keeps the window painting while the start-up settles; events that arrive stay
// pending for the first passes of the loop.
void Settle(Program& program, int ms) {
    const std::int64_t until = MonotonicMs() + ms;
    std::deque<ui::Event> arrived;
    for (std::int64_t now = MonotonicMs(); now < until; now = MonotonicMs()) {
        const ui::Event event = ui::WaitEvent(*program.gui, static_cast<int>(until - now));
        if (event.kind != ui::EventKind::None)
            arrived.push_back(event);
    }
    program.gui->pending.insert(program.gui->pending.begin(), arrived.begin(), arrived.end());
}

// How long the next pass may sleep waiting for an event. Window events and the
// communications thread's news (frames, a lost link, a reconnection request) end the
// wait at once; what the loop times itself is due no later than the wait's end.
int LoopWaitMs(const Program& program) {
    // The simulated hand touches its pin on the link's clock, which a test may run fast.
    const std::int64_t touchDue = program.simProbe.touchDueMs;
    return touchDue >= 0 ? RealMsUntil(program.link.clock, touchDue, kLoopIdleWaitMs)
                         : kLoopIdleWaitMs;
}

}  // namespace

void StartUp(Program& program, const StartOptions& options) {
    ResetProgram(program);
    CrashStateSources crashSources;
    crashSources.app = &program.app;
    crashSources.testPlanIndex = &program.position.TestPlanIndex;
    crashSources.connected = &program.link.state.Connected.raw();
    crashSources.boxProgram = options.crashBoxProgram;
    InstallCrashHandler(crashSources);
    LoadAllSettings(program.app);
    CheckInstrumentModel(program);
    // The plan's photograph takes longest to make ready: it is decoded on a worker while
    // the window is opened and built, and is there when the board view is first drawn.
    DecodePhotographAhead(program.display.photo, program.app.settings.TestPlanFileName);

    AppState& app = program.app;
    const std::string title = TitleWithVersion(app.MainWindowTitle, app.SoftwareVersion);
    if (!ui::OpenWindow(*program.gui, ui::kMainWindow, title, 0, 0, 500, 500)) {
        ShowUserMessage(program.log, "Error #0066 main window won't start");
        app.QuitRequested = true;
    }
    RunDailyReleaseCheck(program, options.releaseServer);
    PrepareImageDecoders(program);
    app.SoundAvailable = StartSoundSystem(program);
    ui::PrepareStartupFonts(*program.gui);
    OpenMainWindow(program, options);
    OpenSimProbeWindow(program);
}

void OpenMainWindow(Program& program, const StartOptions& options) {
    AppState& app = program.app;
    ui::ResizeWindow(*program.gui, ui::kMainWindow, kStartupWindowSize.width,
                     kStartupWindowSize.height);
    // The model is fixed for the whole run: reading the settings again must not undo
    // the start-up's correction of an unknown model name.
    const std::string model = app.settings.ActiveInstrument;
    LoadAllSettings(app);
    app.settings.ActiveInstrument = model;
    MakeFolder("testplans");
    EnsureCurrentTestPlan(program);
    LoadCurrentTestPlan(program);
    LoadGraphicsAndSounds(program);
    CreateMenusAndShortcuts(program);
    CreateWindowContents(program);
    ui::SetWindowBackground(*program.gui, ui::kMainWindow, app.settings.ColourBackground);
    app.LayoutChanged = true;
    ApplyLayoutAndRefresh(program);
    RestoreWindowPlace(program);
    app.CommsThreadStop = false;
    if (!StartCommsThread(program)) {
        WriteLogLine(program.log, "CRITICAL: CreateThread failed for ORV_CommsThread");
        ShowUserMessage(program.log,
                        "Error #0070 Cannot create communications thread. USB comms will not "
                        "function.");
    }
    app.ShownConnectionState = 99;
    // The scopes, mini-scopes and board view are drawn before the settle, so the whole
    // window is on screen at once instead of after it.
    RunMainCycle(program);
    Settle(program, options.settleMs);
}

void RunTopLevelPass(Program& program) {
    AppState& app = program.app;
    ui::Event event = ui::WaitEvent(*program.gui, LoopWaitMs(program));
    if (ServeOwnWindowEvent(program, event))
        event = {};
    app.LastEvent = event;
    switch (event.kind) {
        case ui::EventKind::CloseRequest:
            // A secondary window's close is its own loop's business. Unsaved work is
            // not given up without a word.
            if (event.window == ui::kMainWindow && MayLeavePlan(program))
                app.QuitRequested = true;
            break;
        case ui::EventKind::LeftClick:
        case ui::EventKind::Control:
            app.ClickPending = true;
            break;
        case ui::EventKind::RightClick:
            app.RightClickPending = true;
            break;
        case ui::EventKind::MovedOrResized:
            app.LayoutChanged = true;
            break;
        case ui::EventKind::Menu:
        case ui::EventKind::None:
            break;
    }
    RunMainCycle(program);
    FollowPlanWithProbe(program);
    if (app.ReconnectRequested.exchange(false) && !LinkConnected(program)) {
        WriteLogLine(program.log, "Auto-reconnect: initiating connection from UI thread");
        StartConnection(program);
    }
    ShowPendingLogWarning(program.log);
    RefreshCrashClock();
}

void RunTopLevelLoop(Program& program) {
    // A start-up failure that requested the end still gets its one pass.
    do {
        RunTopLevelPass(program);
    } while (!program.app.QuitRequested);
}

}  // namespace orv
