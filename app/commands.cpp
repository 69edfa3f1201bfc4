#include "app/commands.h"

namespace orv {

void HandleMenuCommand(Program&, int) {}
void AutoTestStepOnce(Program&) {}
void AutoCaptureStepOnce(Program&) {}
void AutoFreezeStepOnce(Program&) {}
void OpenRecordEditor(Program&) {}

}  // namespace orv
