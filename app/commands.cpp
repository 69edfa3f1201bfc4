#include "app/commands.h"

namespace orv {

void OpenRecordEditor(Program&) {}
void OpenCalibrationWindow(Program&) {}

}  // namespace orv
