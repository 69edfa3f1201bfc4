#include "link/comms_thread.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>

#include "link/commands.h"
#include "link/connection.h"

namespace orv {

void ORV_CommsThread(Link& link, AppState& app, EventLog& log) {
    while (!app.CommsThreadStop)
        CommsThreadPass(link, app, log);
}

namespace {

// Virtual time only moves when told, so there the sleep is the clock's step; otherwise
// a wait that WakeCommsThread can end early.
void SleepForTurn(Link& link, int ms) {
    if (link.clock.virtualTime || ms <= kCommsTurnMs) {
        SleepMs(link.clock, ms);
        return;
    }
    const int speed = std::max(link.clock.speed.load(), 1);
    std::unique_lock lock(link.wakeMutex);
    link.wake.wait_for(lock, std::chrono::microseconds(1000LL * ms / speed),
                       [&link] { return link.woken; });
    link.woken = false;
}

}  // namespace

int CommsSleepMs(const Link& link, const AppState& app) {
    const LinkState& state = link.state;
    if (state.Connected || state.ConnectInProgress)
        return kCommsTurnMs;
    if (!state.AutoReconnectEnabled || app.ReconnectRequested)
        return kCommsIdleSleepMaxMs;
    // The probe runs once the clock has passed NextProbeTime.
    const std::int64_t toProbe = state.NextProbeTime + 1 - NowMs(link.clock);
    return static_cast<int>(std::clamp<std::int64_t>(toProbe, kCommsTurnMs, kCommsIdleSleepMaxMs));
}

void CommsThreadPass(Link& link, AppState& app, EventLog& log) {
    SleepForTurn(link, CommsSleepMs(link, app));
    const bool wasConnected = link.state.Connected;
    const bool wasRequested = app.ReconnectRequested;
    bool news = false;
    if (!link.state.ConnectInProgress) {
        PollInstrument(link, kPollIntervalMs);
        CheckDataTimeout(link, log);
        news = ReceiveFrames(link, log);
    }
    ReconnectProbe(link, app, log);
    news = news || wasConnected != link.state.Connected ||
           (!wasRequested && app.ReconnectRequested) || log.warningPending;
    if (news && link.notifyUi)
        link.notifyUi();
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

bool ReceiveFrames(Link& link, EventLog& log) {
    if (!link.state.Connected)
        return false;
    std::lock_guard linkLock(link.linkMutex);
    if (!link.state.Connected || link.driver == nullptr)
        return false;
    bool any = false;
    std::uint32_t waiting = 0, tx = 0, events = 0;
    link.driver->GetStatus(waiting, tx, events);
    std::array<std::uint8_t, kFrameBytes> frame;
    while (waiting >= static_cast<std::uint32_t>(kFrameBytes)) {
        std::uint32_t got = 0;
        const UsbStatus status = link.driver->Read(frame.data(), kFrameBytes, got);
        if (status != kUsbOk || got < static_cast<std::uint32_t>(kFrameBytes)) {
            WriteLogLine(log, "FT_Read failed: ftStatus=" + std::to_string(status) +
                                  " bytes=" + std::to_string(got));
            return any;
        }
        waiting -= kFrameBytes;
        any = true;
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
    return any;
}

}  // namespace orv
