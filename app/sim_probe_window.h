#pragma once
// The "Simulated probe" window, present only on the simulated instrument: the
// technician's hands. It picks the board unit, puts the probe on a component's pin or
// lifts it, holds the probe buttons, injects link faults, and can follow the test plan:
// touch the current record's pin a moment after it becomes current, lift it once the
// pin has been judged or captured and when the record changes, so the automatic
// sequences run without hardware.

#include <cstdint>
#include <string>
#include <vector>

#include "ui/control_numbers.h"
#include "base/event.h"

namespace orv {

struct Program;

// How long the simulated hand takes to move to the next pin.
inline constexpr std::int64_t kFollowTouchDelayMs = 400;

struct SimProbeState {
    bool open = false;
    std::vector<std::string> components;  // as listed, in board order
    bool follow = false;
    int followedRecord = -1;
    std::int64_t touchDueMs = -1;  // when the followed pin is touched; -1 for none
    // The record's result and golden mark when its pin was touched: once either
    // changes, the pin has been judged or captured and the hand lifts.
    std::string touchedRecordState;
    bool onFollowedPin = false;
    int followedWorkingMode = -1;  // a new run starts with the hand on its pin again
};

void OpenSimProbeWindow(Program& program);

// Serves an event of the window.
void HandleSimProbeEvent(Program& program, const ui::Event& event);

// Once per loop pass: follows the plan when asked to.
void FollowPlanWithProbe(Program& program);

}  // namespace orv
