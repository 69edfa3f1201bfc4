#pragma once
// Windows that serve their own events wherever the user-interface thread waits: the
// main loop and the loops of the modal windows hand such events over here.

#include "base/event.h"

namespace orv {

struct Program;

// Serves the event when its window has a handler of its own; false for the others.
bool ServeOwnWindowEvent(Program& program, const ui::Event& event);

}  // namespace orv
