#pragma once
// Steps of start-up and of the top-level loop that belong to subsystems built on top
// of the foundation. Each is one named call; where its subsystem is not built yet
// the step does nothing.

#include "app/program.h"
#include "core/release_check.h"

namespace orv {

// Start-up step 7: the daily release check, asking `server`. Offers the download page
// when the active model's product page names a newer release; silent otherwise.
void CheckForUpdate(Program& program, const ReleaseServer& server);
// Start-up step 8: PNG, JPEG and JPEG 2000 decoders.
void PrepareImageDecoders(Program& program);
// Start-up step 9: true when sound can be played.
bool StartSoundSystem(Program& program);
// Main window step 6: the current test plan.
void LoadCurrentTestPlan(Program& program);
// Main window step 7: pictures and sounds.
void LoadGraphicsAndSounds(Program& program);
// Main window step 8: the menu bar and the keyboard shortcuts.
void CreateMenusAndShortcuts(Program& program);
// Main window step 9: control ribbon, scope areas, tree panels, recent files.
void CreateWindowContents(Program& program);
// Main window step 11: layout, refresh of every control, scopes marked for redraw.
void ApplyLayoutAndRefresh(Program& program);
// Main window step 12: false when the communications thread cannot be created.
bool StartCommsThread(Program& program);
// Top-level loop step 5.
bool LinkConnected(const Program& program);
void StartConnection(Program& program);
// At the end of the run: the communications thread is asked to end and joined.
void StopCommsThread(Program& program);

}  // namespace orv
