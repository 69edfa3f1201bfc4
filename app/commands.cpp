#include "app/commands.h"

namespace orv {

void HandleInstrumentChange(Program&) {}
void AutoTestStepOnce(Program&) {}
void AutoCaptureStepOnce(Program&) {}
void AutoFreezeStepOnce(Program&) {}
void OpenRecordEditor(Program&) {}
void OpenCalibrationWindow(Program&) {}
void OpenDisplayColoursWindow(Program&) {}

}  // namespace orv
