#include "link/connection.h"

#include <array>
#include <vector>

#include "link/calibration.h"
#include "link/commands.h"

namespace orv {

namespace {

bool BeginsWith(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
}

std::string TrimBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

void SetLastGoodDataTimeNow(Link& link) {
    link.state.LastGoodDataTime = static_cast<std::int32_t>(NowMs(link.clock));
}

// A failed connection leaves nothing to reconnect to on its own.
void AbandonConnection(Link& link, AppState& app) {
    link.state.AutoReconnectEnabled = false;
    app.ReconnectRequested = false;
}

// Streaming starts when the control register's stream bit is set; what was queued
// before it is stale and is read away.
void DiscardWaitingBytes(Link& link) {
    std::lock_guard lock(link.linkMutex);
    if (!link.state.Connected || link.driver == nullptr)
        return;
    std::uint32_t rx = 0, tx = 0, events = 0;
    link.driver->GetStatus(rx, tx, events);
    if (rx > kReceiveBufferBytes)
        rx = kReceiveBufferBytes;
    if (rx == 0)
        return;
    std::array<std::uint8_t, kReceiveBufferBytes> discard;
    std::uint32_t got = 0;
    link.driver->Read(discard.data(), rx, got);
}

void QueryStatus(Link& link) {
    std::lock_guard lock(link.linkMutex);
    if (!link.state.Connected || link.driver == nullptr)
        return;
    std::uint32_t rx = 0, tx = 0, events = 0;
    link.driver->GetStatus(rx, tx, events);
}

}  // namespace

bool MakerAccepted(std::string_view makerText) {
    return BeginsWith(makerText, kMakerText);
}

bool ProductAccepted(std::string_view model, std::string_view productText) {
    std::vector<std::string> accepted;
    if (model == "ORV310" || model == "ORV311P") {
        accepted = {std::string(model), "Korvane " + std::string(model)};
    } else if (model == "ORV320" || model == "ORV340") {
        accepted = {"Korvane " + std::string(model)};
    } else if (model == "ORV340X") {
        accepted = {"Korvane ORV340"};  // the X model carries the plain model's descriptor
    }
    for (const std::string& start : accepted) {
        if (BeginsWith(productText, start))
            return true;
    }
    return false;
}

void OpenDevice(Link& link, EventLog& log, std::uint32_t baudRate) {
    UsbDriver* driver = link.driver;
    if (driver == nullptr || !driver->LoadLibrary()) {
        ShowUserMessage(log, "Error #0005 FTD2XX.DLL failed to open.");
        link.state.Connected = false;
        return;
    }
    std::uint32_t count = 0;
    driver->CreateDeviceInfoList(count);
    driver->SetVidPid(kInstrumentVendorId, kInstrumentProductId);
    count = 0;
    driver->CreateDeviceInfoList(count);
    if (count < 1) {
        ShowUserMessage(
            log, "Info #0056 No USB detected, please check instrument is connected via USB.");
        link.state.Connected = false;
        driver->UnloadLibrary();
        return;
    }
    driver->GetDeviceInfoDetail(0);
    if (driver->Open(0) != kUsbOk) {
        ShowUserMessage(log,
                        "Info #0004 No USB. USB instrument port not detected, please check USB "
                        "connection and/or powersupply for instrument.");
        return;
    }
    driver->SetBaudRate(baudRate);
    driver->SetDataCharacteristics(kBits8, kStopBits1, kParityNone);
    driver->SetFlowControl(kFlowNone, 0, 0);
    driver->SetUsbParameters(kUsbTransferSize, kUsbTransferSize);
    driver->SetTimeouts(kUsbTimeoutMs, kUsbTimeoutMs);
    link.state.Connected = true;
    SetLastGoodDataTimeNow(link);
}

namespace {

// Both threads close (the user, the time-out): whoever takes the mutex second finds
// the device closed already and does nothing, and shows nothing.
bool CloseIfConnected(Link& link) {
    std::lock_guard lock(link.linkMutex);
    if (!link.state.Connected)
        return false;
    if (link.driver != nullptr)
        link.driver->Close();
    link.state.Connected = false;
    return true;
}

}  // namespace

void CloseDevice(Link& link, EventLog& log) {
    if (!link.state.Connected) {
        ShowUserMessage(log, "Info #0006 Comms Not running..");
        return;
    }
    CloseIfConnected(link);
}

void ORV_StopConnection(Link& link, EventLog& log) {
    WriteLogLine(log, "ORV_StopConnection()");
    if (!link.state.Connected)
        return;
    if (CloseIfConnected(link))
        link.state.TraceRefreshRequested = true;
}

namespace {

void StartConnectionSteps(Link& link, AppState& app, EventLog& log) {
    WriteLogLine(log, "ORV_StartConnection()");
    link.state.ConnectInProgress = true;

    OpenDevice(link, log, kInstrumentBaudRate);
    if (!link.state.Connected) {
        AbandonConnection(link, app);
        ShowUserMessage(log,
                        "Warning #0061 USB service unable to start - please check instrument is "
                        "connected via USB.");
        link.state.ConnectInProgress = false;
        return;
    }

    SetLastGoodDataTimeNow(link);
    ReadInstrumentEeprom(link, log);
    const std::string maker = EepromText(link.state.eeprom, kMakerTextFirstWord, kMakerTextWords);
    const std::string product =
        EepromText(link.state.eeprom, kProductTextFirstWord, kProductTextWords);
    const std::string& model = app.settings.ActiveInstrument;
    if (!MakerAccepted(maker)) {
        ORV_StopConnection(link, log);
        AbandonConnection(link, app);
        ShowUserMessage(
            log, "Error #0059 USB descriptor incorrect: " + maker.substr(0, kMakerText.size()));
        link.state.ConnectInProgress = false;
        return;
    }
    if (!ProductAccepted(model, product)) {
        ORV_StopConnection(link, log);
        AbandonConnection(link, app);
        ShowUserMessage(log,
                        "Error #0060 USB descriptor incorrect, make sure you have the correct "
                        "instrument selected. (Software=" +
                            model + ", Device=" + TrimBlanks(product) + ")");
        link.state.ConnectInProgress = false;
        return;
    }

    SetLastGoodDataTimeNow(link);
    link.registers.values[kRegControl] |= kControlStream;
    WriteRegisters(link, kRegControl, 1);

    SleepMs(link.clock, 50);
    DiscardWaitingBytes(link);
    SleepMs(link.clock, 50);
    QueryStatus(link);

    LoadCalibration(link, log);

    app.GeneratorApplied.PeakMillivolts = 400;
    SendGeneratorSettings(link, app);
    SleepMs(link.clock, 250);
    app.GeneratorApplied.PeakMillivolts = 200;
    SendGeneratorSettings(link, app);
    SleepMs(link.clock, 250);

    link.state.SettingsSendPending = true;
    // The sequence's own waits and EEPROM reads are no silence of the instrument: over
    // USB they can take longer than the data time-out, which would close the link the
    // moment the communications thread looks again.
    SetLastGoodDataTimeNow(link);
    link.state.ConnectInProgress = false;
}

}  // namespace

void ORV_StartConnection(Link& link, AppState& app, EventLog& log) {
    StartConnectionSteps(link, app, log);
    // Whatever came of it, the communications thread has new work: frames to read, or
    // the next reconnect probe to time.
    WakeCommsThread(link);
}

void CheckDataTimeout(Link& link, EventLog& log) {
    if (!link.state.Connected)
        return;
    if (ElapsedMs32(NowMs(link.clock), link.state.LastGoodDataTime) <= kDataTimeoutMs)
        return;
    WriteLogLine(log, "USB connection timeout: no good data for 1.5s, disconnecting");
    ORV_StopConnection(link, log);
}

void ReconnectProbe(Link& link, AppState& app, EventLog& log) {
    LinkState& state = link.state;
    if (state.Connected || app.ReconnectRequested || state.ConnectInProgress ||
        !state.AutoReconnectEnabled) {
        return;
    }
    const std::int64_t now = NowMs(link.clock);
    if (now <= state.NextProbeTime)
        return;
    state.NextProbeTime = now + kReconnectProbeMs;
    if (link.driver == nullptr || !link.driver->LibraryLoaded())
        return;
    std::uint32_t count = 0;
    link.driver->CreateDeviceInfoList(count);
    if (count == 0)
        return;
    WriteLogLine(log, "Auto-reconnect: USB device detected, requesting reconnection");
    app.ReconnectRequested = true;
}

void ConnectMenuItem(Link& link, AppState& app, EventLog& log) {
    if (link.state.Connected)
        return;
    link.state.ConnectInProgress = true;
    link.state.AutoReconnectEnabled = true;
    ORV_StartConnection(link, app, log);
}

void DisconnectMenuItem(Link& link, EventLog& log) {
    if (!link.state.Connected)
        return;
    link.state.AutoReconnectEnabled = false;
    ORV_StopConnection(link, log);
}

void ConnectButtonPressed(Link& link, AppState& app, EventLog& log) {
    const std::string& model = app.settings.ActiveInstrument;
    if (link.state.Connected) {
        WriteLogLine(log, "User pressed Disconnect (instrument=" + model + ")");
        link.state.AutoReconnectEnabled = false;
        ORV_StopConnection(link, log);
        return;
    }
    WriteLogLine(log, "User pressed Connect (instrument=" + model + ")");
    link.state.ConnectInProgress = true;
    link.state.AutoReconnectEnabled = true;
    ORV_StartConnection(link, app, log);
}

}  // namespace orv
