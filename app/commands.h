#pragma once
// The command dispatchers and sequences the main cycle calls. The menu commands, the
// control-panel commands, the instrument selection, the automatic sequences and the
// trees are built on top of the main window; until one is, its call does nothing.

namespace orv {

struct Program;

void HandleMenuCommand(Program& program, int command);
void HandleInstrumentChange(Program& program);
void HandlePanelCommand(Program& program, int control);
void AutoTestStepOnce(Program& program);
void AutoCaptureStepOnce(Program& program);
void AutoFreezeStepOnce(Program& program);
void FillTestTree(Program& program);
void FillBadTree(Program& program);

}  // namespace orv
