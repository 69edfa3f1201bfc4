#include "app/subsystem_steps.h"

#include "display/display_areas.h"
#include "display/ribbon.h"
#include "testplan/orv_file.h"

namespace orv {

void CheckForUpdate(Program&) {}
void PrepareImageDecoders(Program&) {}
bool StartSoundSystem(Program&) {
    return false;
}
void LoadCurrentTestPlan(Program& program) {
    LoadTestPlan(program.testPlan, program.log, program.app.settings.TestPlanFileName);
    program.position.TestPlanIndex = 1;
    program.position.RecordChanged = true;
}
void LoadGraphicsAndSounds(Program&) {}
void CreateMenusAndShortcuts(Program&) {}
void CreateWindowContents(Program& program) {
    // No pictures until the graphics are loaded: the ribbon's picture controls stay blank.
    const PictureLookup pictures;
    BuildControlRibbon(*program.gui, program.app.settings, pictures);
    CreateDisplayAreas(*program.gui, program.app.settings);
}
void ApplyLayoutAndRefresh(Program&) {}
bool StartCommsThread(Program&) {
    return true;
}
void RunMainCycle(Program&) {}
bool LinkConnected(const Program&) {
    return false;
}
void StartConnection(Program&) {}

void StopCommsThread(Program& program) {
    program.app.CommsThreadStop = true;
    if (program.commsThread.joinable())
        program.commsThread.join();
}

}  // namespace orv
