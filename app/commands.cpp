#include "app/commands.h"

namespace orv {

void HandleInstrumentChange(Program&) {}
void OpenRecordEditor(Program&) {}
void OpenCalibrationWindow(Program&) {}

}  // namespace orv
