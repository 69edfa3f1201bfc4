#include "link/link_state.h"

namespace orv {

void ResetLink(Link& link) {
    link.state = LinkState{};
    {
        std::lock_guard lock(link.frameMutex);
        link.frames = FrameBuffers{};
    }
    link.calibration = Calibration{};
    link.generator = GeneratorState{};
    link.registers = RegisterImage{};
}

void WakeCommsThread(Link& link) {
    {
        std::lock_guard lock(link.wakeMutex);
        link.woken = true;
    }
    link.wake.notify_one();
}

}  // namespace orv
