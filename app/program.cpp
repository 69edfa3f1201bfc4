#include "app/program.h"

#include "app/subsystem_steps.h"

namespace orv {

Program::~Program() {
    StopCommsThread(*this);
}

void ResetProgram(Program& program) {
    // Records are not reset under a running communications thread.
    StopCommsThread(program);
    program.app = AppState{};
    program.media = Media{};
    program.log.dialogs = program.dialogs.get();
    program.log.uiThread = std::this_thread::get_id();
    program.log.warningPending = false;
    ResetLink(program.link);
    program.link.driver = program.driver.get();
    program.signatures = Signatures{};
    program.measurement = Measurement{};
    program.testPlan = TestPlan{};
    program.planOnDisk = MarkOnDisk(program.testPlan);
    program.position = PlanPosition{};
    program.working = WorkingState{};
    program.display = DisplayState{};
    program.cycle = MainCycleState{};
    program.runNotice = RunNotice{};
    program.simProbe = SimProbeState{};
    program.dmm = DmmClient{};
}

}  // namespace orv
