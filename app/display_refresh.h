#pragma once
// The main window's displays fed from the program's records: the layout, the scope
// layers, the mini-scopes, the board view, and the part of the interface refresh that
// follows the mode and the view.

#include <string>
#include <vector>

#include "app/program.h"

namespace orv {

// The plan's records as the board view sees them.
std::vector<PcbPin> BoardPins(const TestPlan& plan);

// The board view's pins for markers and clicks, made from BoardPins again only when
// the plan has changed since the last call.
const BoardPinCache& CurrentBoardPins(Program& program);

// Loads the result badges and tree icons from the pictures; once, after the graphics
// are loaded.
void PrepareBadges(Program& program);

// Lays the areas out for the window's current size.
void LayOutMainWindow(Program& program);

// At start-up: the window goes back to where it was when the program last ran, kept on
// a screen; that place, or the one it has, is what later moves are compared with.
void RestoreWindowPlace(Program& program);
// Saves the window's place when it moved or resized since it was last saved.
void RememberWindowPlace(Program& program);
// The current plan's name as the trees show it: the working directory left out.
std::string CurrentPlanName(const Program& program);

// Every control of the main window from the state; on a change of mode or view the
// window is sized and laid out again and both redraws are asked for.
void RefreshUiState(Program& program);

// Both record trees from the plan and the current record, in place.
void FillRecordTrees(Program& program);

// A record change: scope background with badge and legend, mini-scopes, board view.
void ComposeRecordDisplays(Program& program);

// A new frame while connected: the live signature becomes the live side of the next
// comparison and the stability detection runs on it, once per frame, whether or not
// the scope is redrawn in that pass.
void MeasureLiveSignature(Program& program);

// A trace refresh: the trace layer and the centre mini-scope's overlay; while
// connected the live status line is written over it.
void ComposeTraceDisplays(Program& program, bool connected);

}  // namespace orv
