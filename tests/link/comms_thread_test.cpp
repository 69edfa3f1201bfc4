// The communications thread's sleep: a turn at a time while connected, until the next
// reconnect probe while not, ended early by a connection or the thread's end; and the
// news it passes to the user-interface thread.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "link/comms_thread.h"
#include "link/connection.h"
#include "link_fixture.h"

namespace orv {
namespace {

using namespace std::chrono_literals;

class CommsThreadTest : public test::SimulatedLinkTest {
protected:
    bool Woken() {
        std::lock_guard lock(link.wakeMutex);
        return link.woken;
    }
};

TEST_F(CommsThreadTest, SleepsATurnWhileConnectedElseUntilTheNextProbe) {
    const std::int64_t now = NowMs(link.clock);
    struct Case {
        const char* what;
        bool connected, connecting, autoReconnect, requested;
        std::int64_t probeIn;  // NextProbeTime - now
        int sleepMs;
    };
    const Case cases[] = {
        {"connected", true, false, true, false, 3000, kCommsTurnMs},
        {"connecting", false, true, true, false, 3000, kCommsTurnMs},
        {"no reconnection wanted", false, false, false, false, 0, kCommsIdleSleepMaxMs},
        {"reconnection already asked", false, false, true, true, 300, kCommsIdleSleepMaxMs},
        {"probe in 300 ms", false, false, true, false, 300, 301},
        {"probe in 2 s", false, false, true, false, 2000, kCommsIdleSleepMaxMs},
        {"probe due", false, false, true, false, -40, kCommsTurnMs},
    };
    for (const Case& c : cases) {
        link.state.Connected = c.connected;
        link.state.ConnectInProgress = c.connecting;
        link.state.AutoReconnectEnabled = c.autoReconnect;
        app.ReconnectRequested = c.requested;
        link.state.NextProbeTime = now + c.probeIn;
        EXPECT_EQ(CommsSleepMs(link, app), c.sleepMs) << c.what;
    }
}

TEST_F(CommsThreadTest, AConnectionAttemptWakesTheThread) {
    EXPECT_FALSE(Woken());
    sim::Unplug(*instrument);
    Connect();  // fails: the thread must still time its reconnect probes
    EXPECT_FALSE(link.state.Connected);
    EXPECT_TRUE(Woken());
}

// Both threads for real: asleep while nothing is connected, the thread reads frames
// once connected and tells the user-interface side, and its end is not held up by a
// sleep.
TEST_F(CommsThreadTest, AsleepWhileDisconnectedAndWokenToReadAndToEnd) {
    UseFastTime(link.clock, 1);
    std::atomic<int> news{0};
    link.notifyUi = [&news] { ++news; };
    std::thread comms([this] { ORV_CommsThread(link, app, log); });
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(news, 0);

    Connect();
    ASSERT_TRUE(link.state.Connected);
    const auto connected = std::chrono::steady_clock::now();
    while (news == 0 && std::chrono::steady_clock::now() - connected < 5s)
        std::this_thread::sleep_for(1ms);
    EXPECT_GT(news, 0);

    DisconnectMenuItem(link, log);
    std::this_thread::sleep_for(50ms);  // into the sleep of kCommsIdleSleepMaxMs
    const auto stopping = std::chrono::steady_clock::now();
    app.CommsThreadStop = true;
    WakeCommsThread(link);
    comms.join();
    EXPECT_LT(std::chrono::steady_clock::now() - stopping,
              std::chrono::milliseconds(kCommsIdleSleepMaxMs / 2));
}

}  // namespace
}  // namespace orv
