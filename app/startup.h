#pragma once
// Start-up, the main window and the top-level loop.

#include <string>

#include "app/program.h"
#include "core/release_check.h"

namespace orv {

struct StartOptions {
    bool simulator = false;       // the simulated instrument instead of the USB one
    std::string crashBoxProgram;  // shows the crash report; empty for none
    int settleMs = 1000;          // pause after the main window is built
    ReleaseServer releaseServer;  // asked by the daily release check; no host: not asked
};

// The start-up sequence up to and including the main window's contents.
void StartUp(Program& program, const StartOptions& options);

// Builds the main window's contents and starts the communications thread.
void OpenMainWindow(Program& program, const StartOptions& options);

// The longest a pass sleeps waiting for an event when nothing wakes it sooner.
inline constexpr int kLoopIdleWaitMs = 50;

// One pass of the top-level loop: takes an event, sleeping until one comes, the
// communications thread has news, or a timer of the loop's is due.
void RunTopLevelPass(Program& program);

// Passes until the main window's close is requested.
void RunTopLevelLoop(Program& program);

}  // namespace orv
