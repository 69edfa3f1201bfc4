#pragma once
// The "Display Colours" window on the program: opened from the Display menu, it runs
// its own loop until it is closed or another of the program's windows is activated;
// the main cycle waits meanwhile. Every change is written to the settings at once; the
// scopes show the new colours when the main cycle redraws them, the ribbon at the next
// start.

namespace orv {

struct Program;

void OpenDisplayColoursWindow(Program& program);

}  // namespace orv
