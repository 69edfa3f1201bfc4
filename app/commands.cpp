#include "app/commands.h"

namespace orv {

void OpenRecordEditor(Program&) {}

}  // namespace orv
