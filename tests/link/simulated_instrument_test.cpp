// The simulated instrument through the link: pacing, polls, the registers it obeys,
// what its frames measure once calibrated, and its injected faults.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "core/files.h"
#include "link/calibration.h"
#include "link/commands.h"
#include "link/comms_thread.h"
#include "link/connection.h"
#include "link/sim/stream.h"
#include "link_fixture.h"

namespace orv {
namespace {

using test::LogMessages;

struct Point {
    float volts;
    float amps;
};

// What the main cycle makes of a frame with the loaded calibration.
std::array<Point, kFrameSamples + 1> Scale(const RawFrame& frame, const Link& link) {
    const Calibration& c = link.calibration;
    const int divisor = link.generator.AccumulateA * link.generator.AccumulateB;
    std::array<Point, kFrameSamples + 1> points{};
    for (int i = 1; i <= kFrameSamples; ++i) {
        const float a = static_cast<float>(frame.channelA[i]) / divisor;
        const float b = static_cast<float>(frame.channelB[i]) / divisor;
        const float va = (a + c.Adc0Offset) * c.Adc0Gain;
        const float vb = (b + c.Adc1Offset) * c.Adc1Gain;
        points[i] = {vb, (vb - va) / link.generator.EffectiveResistance};
    }
    return points;
}

class SimulatedInstrumentTest : public test::SimulatedLinkTest {
protected:
    // The newest frame after `ms` of streaming.
    RawFrame FrameAfter(int ms) {
        Run(ms);
        RawFrame frame;
        EXPECT_TRUE(TakeFrame(frame));
        return frame;
    }
};

TEST_F(SimulatedInstrumentTest, StreamsAtTheLinksPaceAndHearsThePolls) {
    Connect();
    RawFrame frame;
    Run(100);  // what queued during the connection comes in one pass
    TakeFrame(frame);
    const sim::Counters before = sim::Inspect(*instrument).counters;
    int frames = 0;
    std::uint16_t lastSequence = 0;
    for (const std::int64_t end = NowMs(link.clock) + 10000; NowMs(link.clock) < end;) {
        Turn();
        if (!TakeFrame(frame))
            continue;
        if (frames > 0) {
            EXPECT_EQ(frame.FrameWord0, static_cast<std::uint16_t>(lastSequence + 1));
        }
        lastSequence = frame.FrameWord0;
        ++frames;
    }
    // 250000 baud at 10 bits a byte: 48.08 frames of 520 bytes a second.
    EXPECT_GE(frames, 480);
    EXPECT_LE(frames, 481);
    const sim::Counters after = sim::Inspect(*instrument).counters;
    EXPECT_EQ(after.polls - before.polls, 40u);
    EXPECT_EQ(after.framesLost, 0u);
    EXPECT_EQ(after.packetsRejected, 0u);
}

TEST_F(SimulatedInstrumentTest, StopsStreamingWhenTheHostFallsSilent) {
    Connect();
    Run(100);
    std::uint32_t rx = 0, tx = 0, events = 0;
    AdvanceMs(link.clock, sim::kHostSilenceMs + 500);
    driver->GetStatus(rx, tx, events);
    EXPECT_FALSE(sim::Inspect(*instrument).streaming);
    // The queue kept what came before the silence, and no more than it holds.
    EXPECT_LE(rx, sim::kReceiveQueueBytes);
    EXPECT_EQ(rx % kFrameBytes, 0u);

    SendPoll(link);
    AdvanceMs(link.clock, 100);
    driver->GetStatus(rx, tx, events);
    EXPECT_TRUE(sim::Inspect(*instrument).streaming);
}

TEST_F(SimulatedInstrumentTest, PacketsWithAWrongChecksumAreIgnored) {
    Connect();
    Packet packet = EncodeWritePacket(kRegScanSig, 9);
    packet[7] ^= 1;
    std::uint32_t written = 0;
    {
        std::lock_guard lock(link.linkMutex);
        driver->Write(packet.data(), kPacketBytes, written);
    }
    EXPECT_EQ(sim::Inspect(*instrument).registers[kRegScanSig], 0u);
    EXPECT_EQ(sim::Inspect(*instrument).counters.packetsRejected, 1u);
    link.registers.values[kRegScanSig] = 9;
    WriteRegisters(link, kRegScanSig, 1);
    EXPECT_EQ(sim::Inspect(*instrument).registers[kRegScanSig], 9u);
}

TEST_F(SimulatedInstrumentTest, CalibratedFramesMeasureTheCircuit) {
    struct Case {
        const char* name;
        const char* model;
        sim::Circuit circuit;
        float millivolts, ohms, hertz;
        int dcMode;
        float dcVolts;
        float peakVolts;    // largest pin voltage
        float lowestVolts;  // smallest pin voltage
        float peakAmps;     // largest current magnitude
    };
    const Case cases[] = {
        {"1 kohm at 1 Vpk through 1 kohm", "ORV320", sim::Resistor(1000), 1000, 1000, 50, 0, 0,
         0.5f, -0.5f, 0.0005f},
        {"open circuit", "ORV320", sim::Open(), 1000, 10000, 50, 0, 0, 1.0f, -1.0f, 0.0f},
        {"short at 0.2 Vpk through 100 ohm", "ORV310", sim::Short(), 200, 100, 100, 0, 0, 0.0f,
         0.0f, 0.002f},
        {"high range: 10 Vpk", "ORV340", sim::Resistor(1000), 10000, 1000, 1000, 0, 0, 5.0f, -5.0f,
         0.005f},
        {"5 Vpk through 50 ohm at 500 Hz", "ORV340X", sim::Resistor(1000), 5000, 50, 500, 0, 0,
         4.7619f, -4.7619f, 0.0047619f},
        {"DC bias lifts the curve", "ORV320", sim::Open(), 1000, 1000, 20, 2, 2.5f, 3.5f, 1.5f,
         0.0f},
        {"DC generator off", "ORV320", sim::Open(), 1000, 1000, 20, 0, 2.5f, 1.0f, -1.0f, 0.0f},
        {"the small family has no DC bias", "ORV310", sim::Open(), 1000, 1000, 10, 2, 2.5f, 1.0f,
         -1.0f, 0.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseModel(c.model);
        Connect();
        ASSERT_TRUE(link.state.Connected);
        sim::TouchCircuit(*instrument, c.circuit);
        app.GeneratorRequest.DcMode = c.dcMode;
        app.GeneratorRequest.DcVolts = c.dcVolts;
        ApplySettings(c.millivolts, c.ohms, c.hertz);
        RawFrame frame;
        Run(30);
        TakeFrame(frame);  // may have been made before the settings
        frame = FrameAfter(30);
        const auto points = Scale(frame, link);
        float high = -100, low = 100, amps = 0;
        for (int i = 1; i <= kFrameSamples; ++i) {
            high = std::max(high, points[i].volts);
            low = std::min(low, points[i].volts);
            amps = std::max(amps, std::abs(points[i].amps));
        }
        const float voltTolerance = 0.01f * c.millivolts / 1000 + 0.003f;
        EXPECT_NEAR(high, c.peakVolts, voltTolerance);
        EXPECT_NEAR(low, c.lowestVolts, voltTolerance);
        EXPECT_NEAR(amps, c.peakAmps, 0.01f * c.peakAmps + 3e-6f);
        // Sample 17 is a quarter period in: the sine's crest.
        EXPECT_NEAR(points[17].volts, c.peakVolts, voltTolerance);
        DisconnectMenuItem(link, log);
    }
}

TEST_F(SimulatedInstrumentTest, ButtonsAndProbeMoves) {
    Connect();
    struct Step {
        bool a, b;
        std::uint16_t status;
    };
    const Step steps[] = {{true, false, 1}, {true, true, 3}, {false, true, 2}, {false, false, 0}};
    for (const Step& step : steps) {
        sim::SetButton(*instrument, sim::ProbeButton::A, step.a);
        sim::SetButton(*instrument, sim::ProbeButton::B, step.b);
        Run(30);
        EXPECT_EQ(FrameAfter(30).InstrumentStatus, step.status);
    }

    ApplySettings(1000, 1000, 50);
    sim::TouchCircuit(*instrument, sim::Resistor(1000));
    Run(30);
    const RawFrame touching = FrameAfter(30);
    sim::LiftProbe(*instrument);
    Run(30);
    const RawFrame lifted = FrameAfter(30);
    EXPECT_EQ(sim::Inspect(*instrument).probe.kind, sim::Probe::Kind::Lifted);
    // Lifted, the pin follows the source: twice the resistor's half.
    EXPECT_NEAR(Scale(lifted, link)[17].volts, 2 * Scale(touching, link)[17].volts, 0.01);
    EXPECT_NEAR(Scale(lifted, link)[17].amps, 0.0, 5e-6);
}

TEST_F(SimulatedInstrumentTest, EveryBoardPinCanBeProbed) {
    Connect();
    ApplySettings(1000, 1000, 50);
    std::vector<sim::BoardPin> pins = sim::BoardPins(*instrument);
    pins.push_back({"U99", "7"});  // not on the board: still a circuit
    for (const sim::BoardPin& pin : pins) {
        SCOPED_TRACE(pin.component + "." + pin.pin);
        sim::TouchPin(*instrument, pin.component, pin.pin);
        Run(30);
        const RawFrame frame = FrameAfter(30);
        const sim::InstrumentView view = sim::Inspect(*instrument);
        EXPECT_EQ(view.probe.component, pin.component);
        EXPECT_EQ(view.probe.pin, pin.pin);
        for (int i = 1; i <= kFrameSamples; ++i) {
            EXPECT_LE(std::abs(Scale(frame, link)[i].volts), 1.01f);
        }
    }
}

TEST_F(SimulatedInstrumentTest, TheUnitUnderTestDiffersAtItsFaultyPins) {
    Connect();
    ApplySettings(1000, 1000, 50);
    auto largestChange = [&](const RawFrame& a, const RawFrame& b) {
        const auto pa = Scale(a, link);
        const auto pb = Scale(b, link);
        float change = 0;
        for (int i = 1; i <= kFrameSamples; ++i) {
            change = std::max(change, std::abs(pa[i].volts - pb[i].volts));
        }
        return change;
    };
    std::vector<std::string> differing;
    const std::vector<sim::BoardPin> pins = sim::BoardPins(*instrument);
    for (const sim::BoardPin& pin : pins) {
        sim::SelectBoard(*instrument, sim::BoardUnit::KnownGood);
        sim::TouchPin(*instrument, pin.component, pin.pin);
        Run(30);
        const RawFrame good = FrameAfter(30);
        // The probe stays on the pin while the board is swapped under it.
        sim::SelectBoard(*instrument, sim::BoardUnit::UnderTest);
        Run(30);
        const RawFrame underTest = FrameAfter(30);
        if (largestChange(good, underTest) > 0.02f)
            differing.push_back(pin.component + "." + pin.pin);
    }
    EXPECT_GE(differing.size(), 3u);
    EXPECT_LT(differing.size(), pins.size() / 2);
    EXPECT_NE(std::find(differing.begin(), differing.end(), "U2.8"), differing.end());
}

TEST_F(SimulatedInstrumentTest, CalibrationOutputForAMeter) {
    Connect();
    std::vector<std::int64_t>& reg = link.registers.values;
    reg[kRegControl] = kControlCalibrationOutput | kControlHighRange;
    reg[kRegCalibrationLevel] = 29093;  // the factory's DAC@10V
    WriteRegisters(link, 0, 32);
    EXPECT_NEAR(sim::Inspect(*instrument).drive.dcVolts, 10.0, 1e-6);
    EXPECT_EQ(sim::Inspect(*instrument).drive.peakVolts, 0.0);
}

TEST_F(SimulatedInstrumentTest, TheCalibrationOutputKeepsTheStreamGoing) {
    Connect();
    link.registers.values[kRegControl] = kControlCalibrationOutput | kControlHighRange;
    WriteRegisters(link, kRegControl, 1);
    const std::uint64_t sent = sim::Inspect(*instrument).counters.framesSent;
    Run(500);
    EXPECT_GT(sim::Inspect(*instrument).counters.framesSent, sent + 10);
}

TEST_F(SimulatedInstrumentTest, UnplugLosesTheHandleAndThePower) {
    Connect();
    Run(100);
    sim::Unplug(*instrument);
    std::uint32_t rx = 99, tx = 0, events = 0, count = 9;
    EXPECT_EQ(driver->GetStatus(rx, tx, events), kUsbIoError);
    EXPECT_EQ(rx, 0u);
    EXPECT_EQ(driver->CreateDeviceInfoList(count), kUsbOk);
    EXPECT_EQ(count, 0u);
    sim::Replug(*instrument);
    EXPECT_EQ(driver->GetStatus(rx, tx, events), kUsbIoError);  // the old handle stays dead
    EXPECT_EQ(driver->Close(), kUsbOk);
    EXPECT_EQ(driver->Open(0), kUsbOk);
    const sim::InstrumentView view = sim::Inspect(*instrument);
    EXPECT_EQ(view.registers[kRegControl], 0u);
    EXPECT_FALSE(view.streaming);
    driver->Close();
}

TEST_F(SimulatedInstrumentTest, TheEepromKeepsAWrittenCalibrationThroughAPowerCycle) {
    Connect();
    const std::string text = sim::FactoryCalibrationText(sim::HardwareConstants{}) + "R50=50.2\r\n";
    ASSERT_TRUE(CreateNewFile("new_cal.txt", text));
    WriteCalibrationText(link, "new_cal.txt");
    DisconnectMenuItem(link, log);
    sim::Unplug(*instrument);
    sim::Replug(*instrument);
    Connect();
    EXPECT_EQ(test::FileText("ORV_cal.txt"), text);
}

TEST_F(SimulatedInstrumentTest, CorruptedFramesAreNeverTaken) {
    Connect();
    sim::CorruptNextFrames(*instrument, 3);
    std::string shown;
    int taken = 0;
    for (const std::int64_t end = NowMs(link.clock) + 500; NowMs(link.clock) < end;) {
        Turn();
        RawFrame frame;
        if (TakeFrame(frame)) {
            EXPECT_FALSE(sim::SentCorrupted(*instrument, frame.FrameWord0));
            ++taken;
        }
        std::lock_guard lock(link.frameMutex);
        if (!link.frames.LinkErrorText.empty())
            shown = link.frames.LinkErrorText;
        link.frames.LinkErrorText.clear();
    }
    EXPECT_EQ(shown.substr(0, 12), "USB error: $");
    EXPECT_EQ(shown.size(), 16u);
    EXPECT_EQ(sim::Inspect(*instrument).counters.framesCorrupted, 3u);
    EXPECT_GE(taken, 20);
    EXPECT_TRUE(link.state.Connected);
}

TEST_F(SimulatedInstrumentTest, AShortReadLosesTheFrameBoundaryUntilTheLinkIsRemade) {
    Connect();
    Run(100);
    sim::ShortenNextReads(*instrument, 1);
    // Every frame after it straddles two: no good data until the time-out, after which
    // the instrument, still there, is connected again at once.
    const int ms = RunUntil([&] { return reconnections == 1; }, 3000);
    EXPECT_GT(ms, 1400);
    const std::vector<std::string> lines = LogMessages();
    const auto failed =
        std::find(lines.begin(), lines.end(), "FT_Read failed: ftStatus=0 bytes=260");
    const auto timedOut = std::find(lines.begin(), lines.end(),
                                    "USB connection timeout: no good data for 1.5s, disconnecting");
    EXPECT_LT(failed, timedOut);
    EXPECT_NE(timedOut, lines.end());
    RawFrame frame;
    Run(100);
    EXPECT_TRUE(TakeFrame(frame));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(SimulatedInstrumentTest, AStalledStreamTimesOutUntilItFlowsAgain) {
    Connect();
    Run(100);
    sim::SetStalled(*instrument, true);
    Run(6000);
    // Still plugged in: found again, connected, timed out again.
    EXPECT_GE(reconnections, 2);
    const std::vector<std::string> lines = LogMessages();
    EXPECT_GE(std::count(lines.begin(), lines.end(),
                         "USB connection timeout: no good data for 1.5s, disconnecting"),
              2);
    sim::SetStalled(*instrument, false);
    // A time-out already under way may still end the link once; then it stays up.
    Run(4000);
    ASSERT_TRUE(link.state.Connected);
    const int reconnected = reconnections;
    Run(3000);
    EXPECT_TRUE(link.state.Connected);
    EXPECT_EQ(reconnections, reconnected);
    RawFrame frame;
    EXPECT_TRUE(TakeFrame(frame));
}

}  // namespace
}  // namespace orv

namespace orv::sim {
namespace {

TEST(DriveFromRegistersTest, WhatTheGeneratorPutsOut) {
    struct Case {
        const char* name;
        std::vector<std::pair<int, std::uint32_t>> registers;
        bool hasDcBias;
        double peakVolts, dcVolts, sourceOhms, frequencyHz;
        int readings;
    };
    const std::uint32_t huge = 0xFFFFFFFF;
    const Case cases[] = {
        {"power-on defaults", {}, true, 0.0, -1113 / 28562.0, 10000, 50, 1},
        {"1 Vpk, low range",
         {{4, 57124}, {5, 1113}, {8, 1000}, {14, 1000}, {11, 1}, {12, 80}},
         true,
         1.0,
         0.0,
         1000,
         1000,
         80},
        {"10 Vpk, high range", {{1, 32}, {4, 55960}, {5, 1113}}, true, 10.0, 0.0, 10000, 50, 1},
        {"DC bias +2.5 V",
         {{4, 57124}, {5, 1113}, {20, 1152}, {22, 2}},
         true,
         1.0,
         2.5,
         10000,
         50,
         1},
        {"DC mode off", {{4, 57124}, {5, 1113}, {20, 1152}, {22, 1}}, true, 1.0, 0.0, 10000, 50, 1},
        {"no DC bias on the small family",
         {{4, 57124}, {5, 1113}, {20, 1152}, {22, 2}},
         false,
         1.0,
         0.0,
         10000,
         50,
         1},
        {"calibration output: DAC@-10V",
         {{1, 48}, {3, 0xFFFF970D}, {4, 57124}},
         true,
         0.0,
         -10.0,
         10000,
         50,
         1},
        // -26867 as the host splits it: 256 above, upper half clear.
        {"calibration output: DAC@-10V as sent",
         {{1, 48}, {3, 0x980D}, {4, 57124}},
         true,
         0.0,
         -10.0,
         10000,
         50,
         1},
        {"absurd values stay within the hardware",
         {{1, 32},
          {4, huge},
          {5, 0x7FFF},
          {8, huge},
          {14, huge},
          {11, huge},
          {12, huge},
          {20, 0x7FFFFFFF},
          {22, 2}},
         true,
         65535 / 2.0 / 2798.0,
         12.0,
         1.0e6,
         10000,
         1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RegisterFile registers(kSimRegisterCount);
        for (const auto& [reg, value] : c.registers)
            registers[static_cast<size_t>(reg)] = value;
        const Drive drive = DriveFromRegisters(registers, HardwareConstants{}, c.hasDcBias);
        EXPECT_NEAR(drive.peakVolts, c.peakVolts, 1e-9);
        EXPECT_NEAR(drive.dcVolts, c.dcVolts, 1e-9);
        EXPECT_EQ(drive.sourceOhms, c.sourceOhms);
        EXPECT_EQ(drive.frequencyHz, c.frequencyHz);
        EXPECT_EQ(ReadingsPerSample(registers), c.readings);
    }
}

}  // namespace
}  // namespace orv::sim
