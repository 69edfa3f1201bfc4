#include "app/subsystem_steps.h"

#include <system_error>

#include "core/crash_report.h"
#include "link/comms_thread.h"
#include "link/connection.h"

namespace orv {

void CheckForUpdate(Program&) {}
void PrepareImageDecoders(Program&) {}
bool StartSoundSystem(Program&) { return false; }
void LoadCurrentTestPlan(Program&) {}
void LoadGraphicsAndSounds(Program&) {}
void CreateMenusAndShortcuts(Program&) {}
void CreateWindowContents(Program&) {}
void ApplyLayoutAndRefresh(Program&) {}
bool StartCommsThread(Program& program) {
    try {
        program.commsThread = std::thread([&program] {
            PrepareCrashHandlingOnThisThread();
            ORV_CommsThread(program.link, program.app, program.log);
        });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}
void RunMainCycle(Program&) {}
bool LinkConnected(const Program& program) { return program.link.state.Connected; }
void StartConnection(Program& program) { ORV_StartConnection(program.link, program.app, program.log); }

void StopCommsThread(Program& program) {
    program.app.CommsThreadStop = true;
    if (program.commsThread.joinable()) program.commsThread.join();
}

}  // namespace orv
