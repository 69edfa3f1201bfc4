#include "app/colours_window.h"

#include <vector>

#include "app/program.h"
#include "core/event_log.h"
#include "display/colours_window.h"
#include "ui/control_numbers.h"

namespace orv {

namespace {

void AskForRedraw(Program& program) {
    program.position.RecordChanged = true;
    program.display.traceRefreshRequested = true;
}

void ServeControl(Program& program, int number) {
    Settings& settings = program.app.settings;
    if (!ApplyColourAction(settings, ColourActionOf(number), *program.dialogs))
        return;
    WriteColourSettings(program.log, settings);
    FillColourSwatches(*program.gui, settings);
    AskForRedraw(program);
}

}  // namespace

void OpenDisplayColoursWindow(Program& program) {
    if (program.gui == nullptr || !BuildColoursWindow(*program.gui, program.app.settings)) {
        ShowUserMessage(program.log, "Error #00xx 'Display Colours' window won't start");
        return;
    }
    ui::Gui& gui = *program.gui;
    ui::RaiseWindow(gui, kDisplayColoursWindow);
    // What the user does in the other windows meanwhile is served after this window
    // has closed, in order, rather than lost.
    std::vector<ui::Event> forLater;
    // The window closes when another of ours takes the focus from it; until it has had
    // the focus once, the main window still holding it means nothing. The chooser and
    // other programs are not ours (0).
    bool hadFocus = false;
    for (;;) {
        // Nothing here runs on a clock: the wait ends with the user's next event, or a
        // focus change, which Qt reports as events too.
        const ui::Event event = ui::WaitEvent(gui, 50);
        if (event.kind != ui::EventKind::None && event.window != kDisplayColoursWindow) {
            forLater.push_back(event);
        } else if (event.kind == ui::EventKind::CloseRequest) {
            break;
        } else if (event.kind == ui::EventKind::Control) {
            ServeControl(program, event.number);
        }
        const int active = ui::ActiveWindow(gui);
        if (active == kDisplayColoursWindow) {
            hadFocus = true;
        } else if (hadFocus && active != 0) {
            break;
        }
    }
    ui::CloseWindow(gui, kDisplayColoursWindow);
    gui.pending.insert(gui.pending.begin(), forLater.begin(), forLater.end());
    AskForRedraw(program);
}

}  // namespace orv
