// The multimeter client against the simulated multimeter, a real TCP server on
// 127.0.0.1, with the client's waits on a fast clock.

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <arpa/inet.h>
#include <atomic>
#include <chrono>

#include "calibration/dmm_client.h"
#include "calibration/sim_multimeter.h"
#include "support/working_dir.h"
#include "base/dialogs.h"

namespace orv {
namespace {

using Strings = std::vector<std::string>;

class DmmClientTest : public test::InWorkingDir {
protected:
    void SetUp() override {
        InWorkingDir::SetUp();
        log.dialogs = &dialogs;
        // Five times fast: a read's second passes in 200 ms, and the 200 ms reply wait
        // leaves 40 ms of real time for the meter's thread to answer.
        UseFastTime(clock, 5);
        meter = StartSimMultimeter([this] { return volts.load(); });
        ASSERT_NE(meter, nullptr);
        SetSimMultimeterNoise(*meter, 0.0);
    }

    void Connect() { ASSERT_TRUE(DmmConnect(dmm, clock, SimMultimeterAddress(*meter))); }

    void Reply(const std::string& text) {
        SimMultimeterFaults faults;
        faults.cannedReply = text;
        SetSimMultimeterFaults(*meter, faults);
    }

    std::atomic<double> volts{10.0};
    LinkClock clock;
    ui::ScriptedDialogs dialogs;
    EventLog log;
    DmmClient dmm;
    std::unique_ptr<SimMultimeter> meter;
};

TEST_F(DmmClientTest, TheRangeIsConfiguredOnlyWhenItChanges) {
    Connect();
    EXPECT_EQ(DmmRead(dmm, clock, log, "10V"), DmmReadOutcome::Read);
    EXPECT_EQ(DmmRead(dmm, clock, log, "10V"), DmmReadOutcome::Read);
    EXPECT_EQ(DmmRead(dmm, clock, log, "100mV"), DmmReadOutcome::Rejected);
    EXPECT_EQ(DmmRead(dmm, clock, log, "2V"), DmmReadOutcome::Rejected);  // not a range: READ? only
    EXPECT_EQ(ReceivedCommands(*meter),
              (Strings{"CONFigure:VOLTage:DC", "VOLTage:DC:RANGe 10V", "READ?", "READ?",
                       "CONFigure:VOLTage:DC", "VOLTage:DC:RANGe 100mV", "READ?", "READ?"}));
    EXPECT_EQ(dmm.DmmLastRange, "100mV");
    // 10 V is over the 100 mV range: the meter's overload value is no reading.
    EXPECT_EQ(dmm.rejectedReply, "+9.90000000E+37\n");
    EXPECT_DOUBLE_EQ(dmm.DmmReading, 10.0);
}

TEST_F(DmmClientTest, CurrentRangesConfigureTheCurrentFunction) {
    Connect();
    volts = 0.0015;
    DmmRead(dmm, clock, log, "10mA");
    EXPECT_EQ(ReceivedCommands(*meter),
              (Strings{"CONFigure:CURRent:DC", "CURRent:DC:RANGe 10mA", "READ?"}));
    EXPECT_DOUBLE_EQ(dmm.DmmReading, 0.0015);
}

TEST_F(DmmClientTest, RepliesInTheLayoutAreReadingsAndOthersAreShownNotTaken) {
    Connect();
    struct Case {
        const char* reply;
        DmmReadOutcome outcome;
        double reading;
    };
    const Case cases[] = {
        {"+1.00000000E+01\n", DmmReadOutcome::Read, 10.0},
        {"-1.23456789E-03\n", DmmReadOutcome::Read, -0.00123456789},
        {"+2.5\n", DmmReadOutcome::Read, 2.5},
        {"\n", DmmReadOutcome::Rejected, 2.5},
        {"OVERLOAD\n", DmmReadOutcome::Rejected, 2.5},
        {"-113,\"Undefined header\"\n", DmmReadOutcome::Rejected, 2.5},
        {"+1.00000000E+0", DmmReadOutcome::Rejected, 2.5},  // cut short, no line end
        {"-1.00000000E+01\n", DmmReadOutcome::Read, -10.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        Reply(c.reply);
        EXPECT_EQ(DmmRead(dmm, clock, log, "10V"), c.outcome);
        EXPECT_DOUBLE_EQ(dmm.DmmReading, c.reading);
        EXPECT_EQ(dmm.rejectedReply, c.outcome == DmmReadOutcome::Read ? "" : c.reply);
    }
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(DmmClientTest, NoReplyKeepsTheOldReadingSilently) {
    Connect();
    DmmRead(dmm, clock, log, "10V");
    SimMultimeterFaults faults;
    faults.noReply = true;
    SetSimMultimeterFaults(*meter, faults);
    volts = 3.0;
    const std::int64_t start = NowMs(clock);
    EXPECT_EQ(DmmRead(dmm, clock, log, "10V"), DmmReadOutcome::NoReply);
    // The trigger's 500 ms, then 200 ms of looking for a reply.
    EXPECT_GE(NowMs(clock) - start, 700);
    EXPECT_DOUBLE_EQ(dmm.DmmReading, 10.0);
    EXPECT_TRUE(dialogs.shown.empty());
    // The meter answers again: the next read is its own, not a late one.
    SetSimMultimeterFaults(*meter, {});
    EXPECT_EQ(DmmRead(dmm, clock, log, "10V"), DmmReadOutcome::Read);
    EXPECT_DOUBLE_EQ(dmm.DmmReading, 3.0);
}

TEST_F(DmmClientTest, AReplyInTwoPacketsIsReadWhole) {
    Connect();
    SimMultimeterFaults faults;
    faults.splitReply = true;
    SetSimMultimeterFaults(*meter, faults);
    volts = -7.25;
    EXPECT_EQ(DmmRead(dmm, clock, log, "10V"), DmmReadOutcome::Read);
    EXPECT_DOUBLE_EQ(dmm.DmmReading, -7.25);
}

TEST_F(DmmClientTest, ReadingWithoutAConnectionShowsTheBox) {
    EXPECT_EQ(DmmRead(dmm, clock, log, "10V"), DmmReadOutcome::NotConnected);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Error");
    EXPECT_EQ(dialogs.shown[0].text, "DMM not connected");
    EXPECT_TRUE(ReceivedCommands(*meter).empty());
}

TEST_F(DmmClientTest, AMeterThatGoesAwayLeavesNoConnection) {
    Connect();
    meter.reset();
    EXPECT_EQ(DmmRead(dmm, clock, log, "10V"), DmmReadOutcome::NoReply);
    EXPECT_FALSE(DmmConnected(dmm));
    EXPECT_DOUBLE_EQ(dmm.DmmReading, 0.0);
}

// A loopback port that nothing listens on: connecting is refused.
int RefusingPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

// A loopback port that listens but never accepts, its queue already full: a connection
// attempt gets no answer at all.
struct SilentPort {
    int listener = -1;
    std::vector<int> fillers;
    int port = 0;

    SilentPort() {
        listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listener, 0);
        socklen_t length = sizeof address;
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
        for (int i = 0; i < 4; ++i) {
            const int filler = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
            ::connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address);
            fillers.push_back(filler);
        }
    }
    ~SilentPort() {
        for (const int fd : fillers)
            ::close(fd);
        ::close(listener);
    }
};

TEST_F(DmmClientTest, RefusedAndSilentAddressesFailWithinTheLimit) {
    UseFastTime(clock, 1);
    dmm.connectLimitMs = 400;
    SilentPort silent;
    const std::string refused = "127.0.0.1:" + std::to_string(RefusingPort());
    const std::string quiet = "127.0.0.1:" + std::to_string(silent.port);
    for (const std::string& address :
         {refused, quiet, std::string("no address"), std::string("127.0.0.1:99999")}) {
        SCOPED_TRACE(address);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(DmmConnect(dmm, clock, address));
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2000));
        EXPECT_FALSE(DmmConnected(dmm));
    }
}

TEST_F(DmmClientTest, TheTenSecondLimitPassesOnTheClock) {
    UseFastTime(clock, 50);
    SilentPort silent;
    const std::int64_t start = NowMs(clock);
    EXPECT_FALSE(DmmConnect(dmm, clock, "127.0.0.1:" + std::to_string(silent.port)));
    EXPECT_GE(NowMs(clock) - start, kDmmConnectLimitMs);
    EXPECT_LT(NowMs(clock) - start, kDmmConnectLimitMs + 1000);
}

}  // namespace
}  // namespace orv
