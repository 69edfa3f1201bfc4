// The link under a long run of unplugging and corrupted frames: once stepped in virtual
// time, exactly repeatable, and once with both threads running for real.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "link/commands.h"
#include "link/comms_thread.h"
#include "link/connection.h"
#include "link_fixture.h"

namespace orv {
namespace {

class SoakTest : public test::SimulatedLinkTest {
protected:
    // Takes the newest frame, if any, and checks it was not one sent corrupted.
    void TakeAndCheck() {
        RawFrame frame;
        if (!TakeFrame(frame))
            return;
        ++taken;
        if (sim::SentCorrupted(*instrument, frame.FrameWord0))
            ++badTaken;
    }

    int taken = 0;
    int badTaken = 0;
};

TEST_F(SoakTest, HundredUnplugsWithOnePercentCorruptedFrames) {
    sim::SetCorruptFraction(*instrument, 0.01);
    Connect();
    ASSERT_TRUE(link.state.Connected);
    std::uint32_t dice = 12345;
    auto roll = [&dice](int below) {
        dice = dice * 1103515245u + 12345u;
        return static_cast<int>((dice >> 8) % static_cast<std::uint32_t>(below));
    };
    constexpr int kCycles = 100;
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        SCOPED_TRACE(cycle);
        for (const std::int64_t end = NowMs(link.clock) + 200 + roll(800);
             NowMs(link.clock) < end;) {
            Turn();
            TakeAndCheck();
        }
        sim::Unplug(*instrument);
        const int timeout = RunUntil([&] { return !link.state.Connected; }, 2000);
        ASSERT_GE(timeout, 0);
        ASSERT_LE(timeout, 1500 + kCommsTurnMs);
        Run(roll(4000));
        sim::Replug(*instrument);
        const int back = RunUntil([&] { return link.state.Connected.load(); }, 4000);
        ASSERT_GE(back, 0);
        ASSERT_EQ(reconnections, cycle + 1);
    }
    const sim::Counters counters = sim::Inspect(*instrument).counters;
    EXPECT_EQ(badTaken, 0);
    EXPECT_GT(counters.framesCorrupted, 20u);
    EXPECT_GT(taken, 2000);
    EXPECT_TRUE(dialogs.shown.empty());
}

// Both threads for real, the clock running twenty times fast: the user-interface side
// sends settings and takes frames while the communications thread reads, times out
// and asks for reconnections.
TEST_F(SoakTest, BothThreadsThroughUnplugsAndCorruption) {
    UseFastTime(link.clock, 20);  // the instrument reads the same clock
    sim::SetCorruptFraction(*instrument, 0.01);
    Connect();
    ASSERT_TRUE(link.state.Connected);

    std::thread comms([this] { ORV_CommsThread(link, app, log); });
    auto serve = [this]() {
        if (app.ReconnectRequested.exchange(false) && !link.state.Connected) {
            WriteLogLine(log, "Auto-reconnect: initiating connection from UI thread");
            ORV_StartConnection(link, app, log);
            if (link.state.Connected)
                ++reconnections;
        }
        TakeAndCheck();
    };
    auto runFor = [&](int ms, auto done) {
        const std::int64_t until = NowMs(link.clock) + ms;
        while (NowMs(link.clock) < until && !done()) {
            serve();
            SleepMs(link.clock, 1);
        }
        return done();
    };
    constexpr int kCycles = 5;
    int cycles = 0;
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        for (int burst = 0; burst < 20; ++burst) {
            app.GeneratorApplied.FrequencyHz = burst % 2 == 0 ? 50.0f : 1000.0f;
            SendGeneratorSettings(link, app);
            runFor(10, [] { return false; });
        }
        sim::Unplug(*instrument);
        if (!runFor(10000, [&] { return !link.state.Connected; }))
            break;
        runFor(200, [] { return false; });
        sim::Replug(*instrument);
        if (!runFor(10000, [&] { return link.state.Connected.load(); }))
            break;
        ++cycles;
    }
    app.CommsThreadStop = true;
    WakeCommsThread(link);
    comms.join();

    EXPECT_EQ(cycles, kCycles);
    EXPECT_GE(reconnections, kCycles);
    EXPECT_EQ(badTaken, 0);
    EXPECT_GT(taken, 0);
}

}  // namespace
}  // namespace orv
