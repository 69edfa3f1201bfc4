#pragma once
// The "Edit/Add Records & Images" window's own loop: while it is open the main cycle
// waits, the communications thread goes on, and every change goes straight into the
// plan in memory.

#include <vector>

#include "display/pcb_view.h"
#include "testplan/editor_state.h"
#include "base/event.h"

namespace orv {

struct Program;

struct RecordEditorSession {
    bool open = false;
    ShownImage shown;  // what the picture showed at its last refresh
    PcbViewState view;
    // Close requests, moves and resizes of the main window wait for the main loop.
    std::vector<ui::Event> forLater;
};

// Opens the window and shows the current record; false (with the user told) when the
// window cannot be made.
bool BeginRecordEditor(Program& program, RecordEditorSession& session);
// Serves one event; false once the window has been closed.
bool RecordEditorPass(Program& program, RecordEditorSession& session);
// Closes the window and has both trees rebuilt.
void EndRecordEditor(Program& program, RecordEditorSession& session);

}  // namespace orv
