#include "app/commands.h"

namespace orv {

void HandleMenuCommand(Program&, int) {}
void HandleInstrumentChange(Program&) {}
void HandlePanelCommand(Program&, int) {}
void AutoTestStepOnce(Program&) {}
void AutoCaptureStepOnce(Program&) {}
void AutoFreezeStepOnce(Program&) {}
void FillTestTree(Program&) {}
void FillBadTree(Program&) {}

}  // namespace orv
