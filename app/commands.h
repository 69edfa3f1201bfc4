#pragma once
// The command dispatchers and sequences the main cycle calls. The menu commands, the
// instrument selection and the automatic sequences are built on top of the main
// window; until one is, its call does nothing.

namespace orv {

struct Program;

void HandleMenuCommand(Program& program, int command);
void HandleInstrumentChange(Program& program);
// A ribbon control, a tree selection or a probe-button function, by its number.
void HandlePanelCommand(Program& program, int control);
void AutoTestStepOnce(Program& program);
void AutoCaptureStepOnce(Program& program);
void AutoFreezeStepOnce(Program& program);
// The record editor window; nothing until it is built.
void OpenRecordEditor(Program& program);

}  // namespace orv
