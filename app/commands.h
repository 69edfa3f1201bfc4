#pragma once
// The command dispatchers and sequences the main cycle calls, and the secondary
// windows they open.

namespace orv {

struct Program;

// A menu item or shortcut, by its command number.
void HandleMenuCommand(Program& program, int command);
void HandleInstrumentChange(Program& program);
// A ribbon control, a tree selection or a probe-button function, by its number.
void HandlePanelCommand(Program& program, int control);
void AutoTestStepOnce(Program& program);
void AutoCaptureStepOnce(Program& program);
void AutoFreezeStepOnce(Program& program);
// The notice under the ribbon: the open-pin prompt, or the last run's counts until the
// user acts again.
void ShowRunNotice(Program& program);
// The record editor window, with its own loop, until the user closes it.
void OpenRecordEditor(Program& program);

}  // namespace orv
