#pragma once
// One pass of the main cycle: commands, automatic sequences, generator settings, the
// newest frame, redraws and clicks. Runs on the user-interface thread after every
// window event and at least every millisecond.

#include <cstdint>

namespace orv {

struct Program;

// What the main cycle carries from one pass to the next.
struct MainCycleState {
    int LastWorkingMode = -1;
    int LastRecordShown = -100;
    std::int64_t LayoutTime = 0;  // seconds of the last layout
    float RailVolts = 0;
    float RailShown = 0;
    bool ProbeButtonAPressed = false;
    bool ProbeButtonBPressed = false;
    bool ProbeButtonAShownPressed = false;  // which picture each indicator shows
    bool ProbeButtonBShownPressed = false;
    bool AutoFreeze = false;
};

void RunMainCycle(Program& program);

// The connection indicator, the Instrument menu's check marks and the status line
// follow `Connected` when it changed since they were last drawn.
void UpdateConnectionIndicator(Program& program);

}  // namespace orv
