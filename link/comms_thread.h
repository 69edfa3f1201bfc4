#pragma once
// The communications thread: polls the instrument every 250 ms, reads and checks every
// whole frame that has arrived, leaves the newest for the main cycle, enforces the data
// time-out and, while the link is down, looks for the instrument coming back.
//
// Locks: the link mutex around every driver call that sends, receives or closes; inside
// it the frame mutex around `Link::frames`. The main cycle takes only the frame mutex.

#include "core/app_state.h"
#include "core/event_log.h"
#include "link/link_state.h"

namespace orv {

inline constexpr int kPollIntervalMs = 250;
// Each turn sleeps this long. A frame comes every 20.8 ms, so a frame waits at most 5 ms
// to be read, the poll period and the data time-out stay whole multiples of a turn, and
// the wake-ups cost a fifth of what 1 ms turns would.
inline constexpr int kCommsTurnMs = 5;
// While nothing is connected there is nothing to read: the thread sleeps until the next
// reconnect probe is due, at most this long, unless WakeCommsThread ends it sooner.
inline constexpr int kCommsIdleSleepMaxMs = 1000;

// How long the next turn sleeps, in link-clock milliseconds: a turn while connected or
// connecting, else until the next reconnect probe (or the longest sleep when no probe
// is wanted), never less than a turn.
int CommsSleepMs(const Link& link, const AppState& app);

// The thread body; returns when `CommsThreadStop` is raised (then WakeCommsThread, so
// that a sleep while nothing is connected ends at once).
void ORV_CommsThread(Link& link, AppState& app, EventLog& log);

// One turn of the thread: the sleep, then the link's work; `link.notifyUi` is called
// when the turn brought a frame, a link error, a lost connection or a reconnection
// request.
void CommsThreadPass(Link& link, AppState& app, EventLog& log);

// Sends the poll packet when `intervalMs` have passed since the last one.
void PollInstrument(Link& link, int intervalMs);

// Reads and decodes every whole frame waiting in the driver; true when any came.
bool ReceiveFrames(Link& link, EventLog& log);

}  // namespace orv
