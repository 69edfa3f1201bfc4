#include "app/subsystem_steps.h"

#include <system_error>

#include "app/display_refresh.h"
#include "app/plan_files.h"
#include "core/crash_report.h"
#include "display/display_areas.h"
#include "display/main_menu.h"
#include "display/ribbon.h"
#include "link/comms_thread.h"
#include "link/connection.h"
#include "media/media.h"
#include "testplan/orv_file.h"
#include "ui/gui.h"
#include "ui/sound.h"

namespace orv {

// The decoders are linked in and keep no state between pictures: nothing to set up.
void PrepareImageDecoders(Program&) {}
bool StartSoundSystem(Program&) {
    return ui::AudioOutputAvailable();
}
void LoadCurrentTestPlan(Program& program) {
    LoadTestPlan(program.testPlan, program.log, program.app.settings.TestPlanFileName);
    program.planOnDisk = MarkOnDisk(program.testPlan);
    program.position.TestPlanIndex = 1;
    program.position.RecordChanged = true;
}
void LoadGraphicsAndSounds(Program& program) {
    LoadGraphics(program.media, program.log);
    LoadSounds(program.media, program.app.SoundAvailable, program.log);
}
void CreateMenusAndShortcuts(Program& program) {
    if (!CreateMainMenu(*program.gui)) {
        ShowUserMessage(program.log, "Error #0055 cannot create menu");
        program.app.QuitRequested = true;
        return;
    }
    CreateShortcuts(*program.gui);
}
void CreateWindowContents(Program& program) {
    PictureLookup pictures;
    for (size_t i = 0; i < kPictureCount; ++i) {
        // Implicitly shared: the map holds references to the loaded images, not copies.
        pictures.emplace(kPictureFiles[i], program.media.pictures[i]);
    }
    BuildControlRibbon(*program.gui, program.app.settings, pictures);
    CreateDisplayAreas(*program.gui, program.app.settings);
    UpdateRecentList(program);
}
void ApplyLayoutAndRefresh(Program& program) {
    PrepareBadges(program);
    LayOutMainWindow(program);
    RefreshUiState(program);
    program.position.RecordChanged = true;
    program.display.traceRefreshRequested = true;
}
bool StartCommsThread(Program& program) {
    program.link.notifyUi = ui::WakerOf(*program.gui);
    try {
        program.commsThread = std::thread([&program] {
            const CrashSignalStack signalStack;
            ORV_CommsThread(program.link, program.app, program.log);
        });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}
bool LinkConnected(const Program& program) {
    return program.link.state.Connected;
}
void StartConnection(Program& program) {
    ORV_StartConnection(program.link, program.app, program.log);
}

void StopCommsThread(Program& program) {
    program.app.CommsThreadStop = true;
    WakeCommsThread(program.link);
    if (program.commsThread.joinable())
        program.commsThread.join();
}

}  // namespace orv
