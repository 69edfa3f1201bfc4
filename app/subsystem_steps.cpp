#include "app/subsystem_steps.h"

#include "core/media.h"
#include "ui/sound.h"

namespace orv {

void CheckForUpdate(Program&) {}
// The decoders are linked in and keep no state between pictures: nothing to set up.
void PrepareImageDecoders(Program&) {}
bool StartSoundSystem(Program&) {
    return ui::AudioOutputAvailable();
}
void LoadCurrentTestPlan(Program&) {}
void LoadGraphicsAndSounds(Program& program) {
    LoadGraphics(program.media, program.log);
    LoadSounds(program.media, program.app.SoundAvailable, program.log);
}
void CreateMenusAndShortcuts(Program&) {}
void CreateWindowContents(Program&) {}
void ApplyLayoutAndRefresh(Program&) {}
bool StartCommsThread(Program&) { return true; }
void RunMainCycle(Program&) {}
bool LinkConnected(const Program&) { return false; }
void StartConnection(Program&) {}

void StopCommsThread(Program& program) {
    program.app.CommsThreadStop = true;
    if (program.commsThread.joinable()) program.commsThread.join();
}

}  // namespace orv
