#include "link/comms_thread.h"

#include <array>
#include <cstdio>

#include "link/commands.h"
#include "link/connection.h"

namespace orv {

void ORV_CommsThread(Link& link, AppState& app, EventLog& log) {
    while (!app.CommsThreadStop)
        CommsThreadPass(link, app, log);
}

void CommsThreadPass(Link& link, AppState& app, EventLog& log) {
    SleepMs(link.clock, kCommsTurnMs);
    if (!link.state.ConnectInProgress) {
        PollInstrument(link, kPollIntervalMs);
        CheckDataTimeout(link, log);
        ReceiveFrames(link, log);
    }
    ReconnectProbe(link, app, log);
}

void PollInstrument(Link& link, int intervalMs) {
    if (!link.state.Connected)
        return;
    const std::int64_t now = NowMs(link.clock);
    if (now - link.state.LastPollTime < intervalMs)
        return;
    link.state.LastPollTime = now;
    SendPoll(link);
}

void ReceiveFrames(Link& link, EventLog& log) {
    if (!link.state.Connected)
        return;
    std::lock_guard linkLock(link.linkMutex);
    if (!link.state.Connected || link.driver == nullptr)
        return;
    std::uint32_t waiting = 0, tx = 0, events = 0;
    link.driver->GetStatus(waiting, tx, events);
    std::array<std::uint8_t, kFrameBytes> frame;
    while (waiting >= static_cast<std::uint32_t>(kFrameBytes)) {
        std::uint32_t got = 0;
        const UsbStatus status = link.driver->Read(frame.data(), kFrameBytes, got);
        if (status != kUsbOk || got < static_cast<std::uint32_t>(kFrameBytes)) {
            WriteLogLine(log, "FT_Read failed: ftStatus=" + std::to_string(status) +
                                  " bytes=" + std::to_string(got));
            return;
        }
        waiting -= kFrameBytes;
        std::lock_guard frameLock(link.frameMutex);
        const FrameCheck check = DecodeFrame(frame.data(), link.frames.raw);
        if (check.good) {
            link.frames.NewFrame = true;
            link.state.LastGoodDataTime = static_cast<std::int32_t>(NowMs(link.clock));
        } else {
            char text[24];
            std::snprintf(text, sizeof text, "USB error: $%04X", check.received);
            link.frames.LinkErrorText = text;
            link.frames.NewFrame = false;
        }
    }
}

}  // namespace orv
