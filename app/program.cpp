#include "app/program.h"

namespace orv {

void ResetProgram(Program& program) {
    program.app = AppState{};
    program.media = Media{};
    program.log.dialogs = program.dialogs.get();
    program.log.uiThread = std::this_thread::get_id();
    program.log.warningPending = false;
    program.signatures = Signatures{};
    program.measurement = Measurement{};
    program.testPlan = TestPlan{};
    program.position = PlanPosition{};
    program.working = WorkingState{};
    program.display = DisplayState{};
}

}  // namespace orv
