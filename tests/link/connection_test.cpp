#include "link/connection.h"

#include <gtest/gtest.h>

#include "core/files.h"
#include "link/calibration.h"
#include "link/commands.h"
#include "link/comms_thread.h"
#include "link/generator_tables.h"
#include "link/sim/simulated_driver.h"
#include "link_fixture.h"

namespace orv {
namespace {

using test::FileText;
using test::LogMessages;

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class ConnectionTest : public test::SimulatedLinkTest {
protected:
    std::vector<ui::ShownBox> Boxes() const { return dialogs.shown; }
    static ui::ShownBox Box(const std::string& title, const std::string& text, ui::BoxIcon icon) {
        return {ui::ShownBox::Kind::Message, title, text, icon};
    }
};

TEST_F(ConnectionTest, IdentitiesEachModelAcceptsAndRefuses) {
    struct Case {
        const char* model;
        const char* maker;
        const char* product;
        const char* error;  // empty: accepted
    };
    const char* wrongModel =
        "Error #0060 USB descriptor incorrect, make sure you have the correct instrument "
        "selected. (Software=";
    const Case cases[] = {
        {"ORV310", "Korvane", "ORV310", ""},
        {"ORV310", "Korvane", "Korvane ORV310 rev 2", ""},
        {"ORV310", "Korvane", "Korvane ORV311P", "ORV310, Device=Korvane ORV311P)"},
        {"ORV311P", "Korvane", "ORV311P", ""},
        {"ORV311P", "Korvane Ltd", "Korvane ORV311P", ""},
        {"ORV311P", "Korvane", "ORV310", "ORV311P, Device=ORV310)"},
        {"ORV320", "Korvane", "Korvane ORV320", ""},
        {"ORV320", "Korvane", "ORV320", "ORV320, Device=ORV320)"},
        {"ORV320", "Korvane", "Korvane ORV340", "ORV320, Device=Korvane ORV340)"},
        {"ORV320", "Korvane", "korvane ORV320", "ORV320, Device=korvane ORV320)"},
        {"ORV340", "Korvane", "Korvane ORV340", ""},
        {"ORV340", "Korvane", "Korvane ORV340X", ""},
        {"ORV340X", "Korvane", "Korvane ORV340", ""},
        {"ORV340X", "Korvane", "Korvane ORV320", "ORV340X, Device=Korvane ORV320)"},
        {"ORV340X", "Korvane", "   Korvane ORV340", "ORV340X, Device=Korvane ORV340)"},
        {"ORV320", "Korvane", "Korvane~ORV320", ""},
        {"ORV320", "Korvane", "Korvane\tORV320\x01\x7F", ""},
        {"ORV320", "Korvane\x7F~", "Korvane\x1FORV320", ""},
        {"ORV320", "Korvane", "Korvane_ORV320", "ORV320, Device=Korvane_ORV320)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " / " + c.product);
        UseModel(c.model);
        sim::SetIdentityTexts(*instrument, c.maker, c.product);
        dialogs.shown.clear();
        Connect();
        const bool accepted = *c.error == 0;
        EXPECT_EQ(link.state.Connected, accepted);
        EXPECT_EQ(link.state.AutoReconnectEnabled, accepted);
        EXPECT_FALSE(link.state.ConnectInProgress);
        EXPECT_EQ(sim::Inspect(*instrument).open, accepted);
        if (accepted) {
            EXPECT_TRUE(Boxes().empty());
        } else {
            const std::string message = std::string(wrongModel) + c.error;
            EXPECT_EQ(Boxes(), std::vector<ui::ShownBox>{
                                   Box("Error #0060", message.substr(12), ui::BoxIcon::Error)});
            EXPECT_EQ(LogMessages().back(), message);
        }
        DisconnectMenuItem(link, log);
    }
}

TEST_F(ConnectionTest, AWrongMakerNamesWhatTheInstrumentSays) {
    const std::pair<const char*, const char*> cases[] = {
        {"Acme Instruments", "Error #0059 USB descriptor incorrect: Acme In"},
        {"Korvan", "Error #0059 USB descriptor incorrect: Korvan "},
        {"korvane", "Error #0059 USB descriptor incorrect: korvane"},
        {"", "Error #0059 USB descriptor incorrect:        "},
    };
    for (const auto& [maker, message] : cases) {
        SCOPED_TRACE(maker);
        sim::SetIdentityTexts(*instrument, maker, "Korvane ORV320");
        dialogs.shown.clear();
        Connect();
        EXPECT_FALSE(link.state.Connected);
        EXPECT_FALSE(link.state.AutoReconnectEnabled);
        EXPECT_FALSE(sim::Inspect(*instrument).open);
        ASSERT_EQ(Boxes().size(), 1u);
        EXPECT_EQ(Boxes()[0].title, "Error #0059");
        EXPECT_EQ(LogMessages().back(), message);
        const std::vector<std::string> lines = LogMessages();
        EXPECT_EQ(lines[lines.size() - 2], "ORV_StopConnection()");
    }
}

TEST_F(ConnectionTest, TheFullSequence) {
    const std::int64_t start = NowMs(link.clock);
    Connect();
    EXPECT_EQ(NowMs(link.clock) - start, 600);  // 50 + 50 + 250 + 250 ms of waits

    EXPECT_TRUE(link.state.Connected);
    EXPECT_FALSE(link.state.ConnectInProgress);
    EXPECT_TRUE(link.state.AutoReconnectEnabled);
    EXPECT_TRUE(link.state.SettingsSendPending);
    EXPECT_EQ(app.GeneratorApplied.PeakMillivolts, 200.0f);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(
        LogMessages(),
        (std::vector<std::string>{
            "ORV_StartConnection()",
            "Calibration loaded: ADC0_gain=0.000334 ADC1_gain=0.000333 DCBIAS_gain=51.200001"}));
    EXPECT_EQ(FileText("ORV_cal.txt"), sim::FactoryCalibrationText(sim::HardwareConstants{}));
    EXPECT_EQ(EepromText(link.state.eeprom, kProductTextFirstWord, kProductTextWords),
              "Korvane ORV320           ");

    const sim::InstrumentView view = sim::Inspect(*instrument);
    EXPECT_EQ(view.host.baudRate, 250000u);
    EXPECT_EQ(view.host.bits, 8);
    EXPECT_EQ(view.host.stopBits, 0);
    EXPECT_EQ(view.host.parity, 0);
    EXPECT_EQ(view.host.flow, 0);
    EXPECT_EQ(view.host.inTransferSize, 32768u);
    EXPECT_EQ(view.host.outTransferSize, 32768u);
    EXPECT_EQ(view.host.readTimeoutMs, 1000u);
    EXPECT_EQ(view.host.writeTimeoutMs, 1000u);
    EXPECT_TRUE(view.streaming);
    EXPECT_EQ(view.registers[kRegControl], 2u);
    EXPECT_EQ(view.registers[kRegPeakMillivolts], 200u);
    // 0.2 x (DAC@1V - DAC@-1V) = 0.2 x 57124, rounded.
    EXPECT_EQ(view.registers[kRegAmplitude], 11425u);
    EXPECT_EQ(view.registers[kRegAmplitudeZero], 1113u);
    EXPECT_EQ(view.registers[kRegFixedFive], 5u);
    EXPECT_NEAR(view.drive.peakVolts, 0.2, 1e-4);
    // Two bursts of 26 packets and the stream bit.
    EXPECT_EQ(view.counters.packetsAccepted, 53u);
    EXPECT_EQ(view.counters.packetsRejected, 0u);
}

TEST_F(ConnectionTest, FailedOpeningsAndTheirMessages) {
    const std::string warning =
        "Warning #0061 USB service unable to start - please check instrument is connected via USB.";
    struct Case {
        const char* name;
        std::vector<std::string> log;
    };
    const Case noLibrary{
        "no driver library",
        {"ORV_StartConnection()", "Error #0005 FTD2XX.DLL failed to open.", warning}};
    const Case noDevice{
        "no instrument",
        {"ORV_StartConnection()",
         "Info #0056 No USB detected, please check instrument is connected via USB.", warning}};
    const Case busy{"the device cannot be opened",
                    {"ORV_StartConnection()",
                     "Info #0004 No USB. USB instrument port not detected, please check USB "
                     "connection and/or powersupply for instrument.",
                     warning}};

    auto attempt = [&](const Case& c) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(ReplaceFile("log.txt", "t", "") == ReplaceResult::Replaced);
        dialogs.shown.clear();
        app.ReconnectRequested = true;
        Connect();
        EXPECT_FALSE(link.state.Connected);
        EXPECT_FALSE(link.state.ConnectInProgress);
        EXPECT_FALSE(link.state.AutoReconnectEnabled);
        EXPECT_FALSE(app.ReconnectRequested);
        EXPECT_EQ(LogMessages(), c.log);
        ASSERT_EQ(dialogs.shown.size(), 2u);
        EXPECT_EQ(dialogs.shown[1].title, "Warning #0061");
    };

    link.driver = nullptr;
    attempt(noLibrary);
    link.driver = driver.get();

    sim::Unplug(*instrument);
    attempt(noDevice);
    EXPECT_FALSE(driver->LibraryLoaded());
    sim::Replug(*instrument);

    const std::unique_ptr<UsbDriver> other = sim::MakeSimulatedDriver(*instrument);
    other->LoadLibrary();
    ASSERT_EQ(other->Open(0), kUsbOk);
    attempt(busy);
    EXPECT_TRUE(driver->LibraryLoaded());
    other->Close();
}

TEST_F(ConnectionTest, UserRequests) {
    CloseDevice(link, log);
    EXPECT_EQ(dialogs.shown.at(0).title, "Info #0006");
    EXPECT_EQ(dialogs.shown.at(0).text, "Comms Not running..");

    ASSERT_TRUE(ReplaceFile("log.txt", "t", "") == ReplaceResult::Replaced);
    ConnectButtonPressed(link, app, log);
    EXPECT_TRUE(link.state.Connected);
    EXPECT_EQ(LogMessages().at(0), "User pressed Connect (instrument=ORV320)");
    EXPECT_EQ(LogMessages().at(1), "ORV_StartConnection()");
    ConnectMenuItem(link, app, log);  // already connected: nothing
    EXPECT_EQ(sim::Inspect(*instrument).counters.opens, 1u);

    ConnectButtonPressed(link, app, log);
    EXPECT_FALSE(link.state.Connected);
    EXPECT_FALSE(link.state.AutoReconnectEnabled);
    EXPECT_TRUE(link.state.TraceRefreshRequested);
    EXPECT_FALSE(sim::Inspect(*instrument).open);
    const std::vector<std::string> lines = LogMessages();
    EXPECT_EQ(std::vector<std::string>(lines.end() - 2, lines.end()),
              (std::vector<std::string>{"User pressed Disconnect (instrument=ORV320)",
                                        "ORV_StopConnection()"}));

    DisconnectMenuItem(link, log);  // already disconnected: nothing
    EXPECT_EQ(LogMessages().size(), lines.size());

    // Stopping leaves the user's wish alone.
    Connect();
    ORV_StopConnection(link, log);
    EXPECT_TRUE(link.state.AutoReconnectEnabled);
    EXPECT_EQ(dialogs.shown.size(), 1u);
}

TEST_F(ConnectionTest, UnplugTimesOutAndReplugReconnects) {
    Connect();
    Run(200);
    const int lastOk = link.state.LastGoodDataTime;
    sim::Unplug(*instrument);
    const std::int64_t unplugged = NowMs(link.clock);
    ASSERT_GE(RunUntil([&] { return !link.state.Connected; }, 3000), 0);
    // Strictly more than 1.5 s after the last good frame, at the first turn that sees it.
    EXPECT_GT(ElapsedMs32(NowMs(link.clock), lastOk), 1500);
    EXPECT_LE(ElapsedMs32(NowMs(link.clock), lastOk), 1500 + kCommsTurnMs);
    EXPECT_LE(NowMs(link.clock) - unplugged, 1500 + kCommsTurnMs);
    std::vector<std::string> lines = LogMessages();
    EXPECT_EQ(
        std::vector<std::string>(lines.end() - 2, lines.end()),
        (std::vector<std::string>{"USB connection timeout: no good data for 1.5s, disconnecting",
                                  "ORV_StopConnection()"}));
    EXPECT_TRUE(link.state.AutoReconnectEnabled);
    EXPECT_TRUE(link.state.TraceRefreshRequested);

    Run(5000);  // nothing to find
    EXPECT_FALSE(link.state.Connected);
    EXPECT_EQ(reconnections, 0);

    sim::Replug(*instrument);
    const std::int64_t replugged = NowMs(link.clock);
    ASSERT_GE(RunUntil([&] { return link.state.Connected.load(); }, 4000), 0);
    // Found by the next probe, then the 600 ms connect sequence.
    EXPECT_LE(NowMs(link.clock) - replugged, 3000 + 600 + kCommsTurnMs);
    EXPECT_EQ(reconnections, 1);
    lines = LogMessages();
    EXPECT_TRUE(Contains(lines, "Auto-reconnect: USB device detected, requesting reconnection"));
    EXPECT_TRUE(Contains(lines, "Auto-reconnect: initiating connection from UI thread"));
    EXPECT_TRUE(dialogs.shown.empty());

    RawFrame frame;
    Run(100);
    EXPECT_TRUE(TakeFrame(frame));
}

// Over a slow USB bus the EEPROM reads alone outlast the data time-out; the sequence's
// own length must not close the link it has just brought up.
TEST_F(ConnectionTest, ASlowEepromDoesNotCountAgainstTheDataTimeOut) {
    sim::SetEepromReadTime(*instrument, 2);  // 129 identity and 896 calibration words
    const std::int64_t start = NowMs(link.clock);
    Connect();
    ASSERT_TRUE(link.state.Connected);
    EXPECT_GT(NowMs(link.clock) - start, kDataTimeoutMs + 600);
    Run(3000);
    EXPECT_TRUE(link.state.Connected);
    EXPECT_EQ(reconnections, 0);
    EXPECT_FALSE(
        Contains(LogMessages(), "USB connection timeout: no good data for 1.5s, disconnecting"));
    RawFrame frame;
    EXPECT_TRUE(TakeFrame(frame));
}

TEST_F(ConnectionTest, AFailedAttemptLeavesNothingToReconnect) {
    sim::Unplug(*instrument);
    Connect();
    EXPECT_FALSE(link.state.AutoReconnectEnabled);
    sim::Replug(*instrument);
    Run(10000);
    EXPECT_FALSE(link.state.Connected);
    EXPECT_EQ(reconnections, 0);
    EXPECT_FALSE(
        Contains(LogMessages(), "Auto-reconnect: USB device detected, requesting reconnection"));
}

TEST_F(ConnectionTest, TheTimeOutHoldsAcrossTheWrapOfThe32BitClock) {
    const std::int64_t starts[] = {0x7FFFFF00LL, 0xFFFFFF00LL, 0x17FFFFF00LL};
    for (const std::int64_t start : starts) {
        SCOPED_TRACE(start);
        link.clock.virtualNowMs = start;
        Connect();
        Run(1000);
        EXPECT_TRUE(link.state.Connected);
        sim::Unplug(*instrument);
        const int ms = RunUntil([&] { return !link.state.Connected; }, 3000);
        EXPECT_GT(ms, 1400);
        EXPECT_LE(ms, 1500 + kCommsTurnMs);
        sim::Replug(*instrument);
        link.state.AutoReconnectEnabled = false;
    }
}

}  // namespace
}  // namespace orv
