#include <gtest/gtest.h>

#include <vector>

#include "link/comms_thread.h"
#include "link_fixture.h"

namespace orv {
namespace {

// A frame whose samples on channel A are base + k, with header word 0 = word0.
std::vector<std::uint8_t> Frame(std::int32_t base, std::uint16_t word0 = 0, bool good = true) {
    RawFrame frame;
    frame.FrameWord0 = word0;
    for (int k = 1; k <= kFrameSamples; ++k)
        frame.channelA[k] = base + k;
    std::vector<std::uint8_t> bytes(kFrameBytes);
    EncodeFrame(frame, bytes.data());
    if (!good) {
        SetFrameChecksumWord(bytes.data(),
                             static_cast<std::uint16_t>(FrameChecksumWord(bytes.data()) + 1));
    }
    return bytes;
}

// Samples 0..63 sum to 0x07E0, so this frame's checksum is 0xABCC, sent off by one as
// 0xABCD.
std::vector<std::uint8_t> FrameWithBadChecksumABCD() {
    return Frame(-1, 0xA3EC, false);
}

class FrameReceiveTest : public test::ScriptedLinkTest {
protected:
    void Deliver(const std::vector<std::uint8_t>& bytes) {
        driver.Deliver(bytes.data(), bytes.size());
    }
};

TEST_F(FrameReceiveTest, WhatAPassTakes) {
    struct Case {
        const char* name;
        std::vector<std::vector<std::uint8_t>> frames;
        size_t extraBytes;
        bool newFrame;
        size_t bytesLeft;
        std::int32_t sample1;  // channel A entry 1 afterwards
        const char* errorText;
        bool timeMoved;
    };
    const Case cases[] = {
        {"exactly one frame", {Frame(100)}, 0, true, 0, 101, "", true},
        {"1039 bytes: one frame, 519 left", {Frame(100)}, 519, true, 519, 101, "", true},
        {"519 bytes: nothing read", {}, 519, false, 519, 0, "", false},
        {"checksum off by one",
         {FrameWithBadChecksumABCD()},
         0,
         false,
         0,
         0,
         "USB error: $ABCD",
         false},
        {"two good frames: the newest wins", {Frame(100), Frame(200)}, 0, true, 0, 201, "", true},
        {"a bad frame cancels a good one before it",
         {Frame(100), Frame(200, 0, false)},
         0,
         false,
         0,
         201,
         "USB error: $3A21",
         true},
        {"a good frame after a bad one counts",
         {Frame(200, 0, false), Frame(100)},
         0,
         true,
         0,
         101,
         "USB error: $3A21",
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        driver.incoming.clear();
        {
            std::lock_guard lock(link.frameMutex);
            link.frames = FrameBuffers{};
        }
        link.state.LastGoodDataTime = 123;
        for (const auto& frame : c.frames)
            Deliver(frame);
        Deliver(std::vector<std::uint8_t>(c.extraBytes, 0x55));

        ReceiveFrames(link, log);

        EXPECT_EQ(link.frames.NewFrame, c.newFrame);
        EXPECT_EQ(driver.incoming.size(), c.bytesLeft);
        EXPECT_EQ(link.frames.raw.channelA[1], c.sample1);
        EXPECT_EQ(link.frames.LinkErrorText, c.errorText);
        EXPECT_EQ(link.state.LastGoodDataTime, c.timeMoved ? 5000 : 123);
    }
    // Checksum errors go to the status line only.
    EXPECT_TRUE(test::LogMessages().empty());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(FrameReceiveTest, AFailedReadIsLoggedAndLeavesTheBytes) {
    Deliver(Frame(100));
    driver.readStatus = kUsbIoError;
    ReceiveFrames(link, log);
    EXPECT_EQ(test::LogMessages(), std::vector<std::string>{"FT_Read failed: ftStatus=4 bytes=0"});
    EXPECT_EQ(driver.incoming.size(), static_cast<size_t>(kFrameBytes));
    EXPECT_FALSE(link.frames.NewFrame);

    driver.readStatus = kUsbOk;
    ReceiveFrames(link, log);
    EXPECT_TRUE(link.frames.NewFrame);
}

TEST_F(FrameReceiveTest, AShortReadIsAFailureAndTheRestWaits) {
    Deliver(Frame(100));
    driver.readLimit = 300;
    ReceiveFrames(link, log);
    EXPECT_EQ(test::LogMessages(),
              std::vector<std::string>{"FT_Read failed: ftStatus=0 bytes=300"});
    EXPECT_EQ(driver.incoming.size(), 220u);
    EXPECT_FALSE(link.frames.NewFrame);
    EXPECT_EQ(link.state.LastGoodDataTime, 0);
}

TEST_F(FrameReceiveTest, NothingIsReadWhileDisconnected) {
    Deliver(Frame(100));
    link.state.Connected = false;
    ReceiveFrames(link, log);
    EXPECT_EQ(driver.incoming.size(), static_cast<size_t>(kFrameBytes));
    EXPECT_FALSE(link.frames.NewFrame);
}

TEST_F(FrameReceiveTest, PollsEvery250Ms) {
    for (int ms = 0; ms < 1000; ++ms) {
        PollInstrument(link, kPollIntervalMs);
        AdvanceMs(link.clock, 1);
    }
    ASSERT_EQ(driver.writes.size(), 4u);
    for (const auto& write : driver.writes) {
        EXPECT_EQ(write, std::vector<std::uint8_t>(kPollPacket.begin(), kPollPacket.end()));
    }
    link.state.Connected = false;
    AdvanceMs(link.clock, 1000);
    PollInstrument(link, kPollIntervalMs);
    EXPECT_EQ(driver.writes.size(), 4u);
}

}  // namespace
}  // namespace orv
