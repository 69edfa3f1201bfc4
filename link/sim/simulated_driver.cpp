#include "link/sim/simulated_driver.h"

#include <chrono>
#include <thread>

#include "link/sim/stream.h"

namespace orv::sim {

namespace {

class SimulatedDriver final : public UsbDriver {
public:
    explicit SimulatedDriver(Instrument& instrument) : in_(instrument) {}

    // The simulated library is always there.
    bool LoadLibrary() override {
        std::lock_guard lock(in_.mutex);
        loaded_ = true;
        return true;
    }
    void UnloadLibrary() override {
        std::lock_guard lock(in_.mutex);
        loaded_ = false;
    }
    bool LibraryLoaded() const override {
        std::lock_guard lock(in_.mutex);
        return loaded_;
    }

    UsbStatus CreateDeviceInfoList(std::uint32_t& count) override {
        std::lock_guard lock(in_.mutex);
        count = Matches() ? 1 : 0;
        return loaded_ ? kUsbOk : kUsbOtherError;
    }

    UsbStatus SetVidPid(std::uint16_t vendor, std::uint16_t product) override {
        std::lock_guard lock(in_.mutex);
        vendor_ = vendor;
        product_ = product;
        return kUsbOk;
    }

    UsbStatus GetDeviceInfoDetail(std::uint32_t index) override {
        std::lock_guard lock(in_.mutex);
        return Matches() && index == 0 ? kUsbOk : kUsbDeviceNotFound;
    }

    UsbStatus Open(std::uint32_t index) override {
        std::lock_guard lock(in_.mutex);
        if (!loaded_ || !Matches() || index != 0 || in_.open)
            return kUsbDeviceNotOpened;
        in_.open = true;
        in_.handleLost = false;
        in_.host = HostSettings{};
        ++in_.counters.opens;
        // Opening resets the converter's buffers: the host starts on a frame boundary.
        AdvanceStream(in_);
        ClearQueue(in_);
        return kUsbOk;
    }

    UsbStatus SetBaudRate(std::uint32_t baud) override {
        return Configure([&](HostSettings& host) { host.baudRate = baud; });
    }
    UsbStatus SetDataCharacteristics(std::uint8_t bits, std::uint8_t stopBits,
                                     std::uint8_t parity) override {
        return Configure([&](HostSettings& host) {
            host.bits = bits;
            host.stopBits = stopBits;
            host.parity = parity;
        });
    }
    UsbStatus SetFlowControl(std::uint16_t flow, std::uint8_t, std::uint8_t) override {
        return Configure([&](HostSettings& host) { host.flow = flow; });
    }
    UsbStatus SetUsbParameters(std::uint32_t inSize, std::uint32_t outSize) override {
        return Configure([&](HostSettings& host) {
            host.inTransferSize = inSize;
            host.outTransferSize = outSize;
        });
    }
    UsbStatus SetTimeouts(std::uint32_t readMs, std::uint32_t writeMs) override {
        return Configure([&](HostSettings& host) {
            host.readTimeoutMs = readMs;
            host.writeTimeoutMs = writeMs;
        });
    }

    UsbStatus GetStatus(std::uint32_t& rxBytes, std::uint32_t& txBytes,
                        std::uint32_t& events) override {
        std::lock_guard lock(in_.mutex);
        rxBytes = txBytes = events = 0;
        if (const UsbStatus status = HandleStatus(); status != kUsbOk)
            return status;
        AdvanceStream(in_);
        rxBytes = static_cast<std::uint32_t>(QueuedBytes(in_));
        return kUsbOk;
    }

    UsbStatus Read(std::uint8_t* buffer, std::uint32_t count, std::uint32_t& got) override {
        std::lock_guard lock(in_.mutex);
        got = 0;
        if (const UsbStatus status = HandleStatus(); status != kUsbOk)
            return status;
        AdvanceStream(in_);
        std::uint32_t deliver = count;
        if (in_.faults.shortNextReads > 0) {
            --in_.faults.shortNextReads;
            deliver = count / 2;
        }
        // What has not arrived is not waited for: the read comes back short at once,
        // as the real one does when its time-out ends.
        got = static_cast<std::uint32_t>(TakeQueued(in_, buffer, deliver));
        return kUsbOk;
    }

    UsbStatus Write(const std::uint8_t* buffer, std::uint32_t count,
                    std::uint32_t& written) override {
        std::lock_guard lock(in_.mutex);
        written = 0;
        if (const UsbStatus status = HandleStatus(); status != kUsbOk)
            return status;
        // Frames due before the command were made under the old settings.
        AdvanceStream(in_);
        ReceiveCommandBytes(in_, buffer, count);
        written = count;
        return kUsbOk;
    }

    UsbStatus ReadEE(std::uint32_t address, std::uint16_t& word) override {
        int readMs = 0;
        {
            std::lock_guard lock(in_.mutex);
            if (const UsbStatus status = HandleStatus(); status != kUsbOk)
                return status;
            if (address >= static_cast<std::uint32_t>(kEepromSize))
                return kUsbInvalidParameter;
            word = in_.eeprom[address];
            readMs = in_.faults.eepromReadMs;
        }
        // The caller waits for the transfer; the instrument itself is not held up.
        if (readMs > 0)
            SpendTime(readMs);
        return kUsbOk;
    }

    UsbStatus WriteEE(std::uint32_t address, std::uint16_t word) override {
        std::lock_guard lock(in_.mutex);
        if (const UsbStatus status = HandleStatus(); status != kUsbOk)
            return status;
        if (address >= static_cast<std::uint32_t>(kEepromSize))
            return kUsbInvalidParameter;
        in_.eeprom[address] = word;
        return kUsbOk;
    }

    UsbStatus Close() override {
        std::lock_guard lock(in_.mutex);
        if (!in_.open)
            return kUsbInvalidHandle;
        in_.open = false;
        in_.handleLost = false;
        return kUsbOk;
    }

private:
    void SpendTime(int ms) {
        if (in_.clock != nullptr) {
            SleepMs(*in_.clock, ms);
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        }
    }

    // Under the instrument's lock.
    bool Matches() const {
        return in_.plugged && vendor_ == kInstrumentVendorId && product_ == kInstrumentProductId;
    }

    UsbStatus HandleStatus() const {
        if (!in_.open)
            return kUsbInvalidHandle;
        if (in_.handleLost)
            return kUsbIoError;
        return kUsbOk;
    }

    template <class Change>
    UsbStatus Configure(Change change) {
        std::lock_guard lock(in_.mutex);
        if (const UsbStatus status = HandleStatus(); status != kUsbOk)
            return status;
        change(in_.host);
        return kUsbOk;
    }

    Instrument& in_;
    bool loaded_ = false;  // under the instrument's lock
    // The driver's default filter already lists the instrument's converter.
    std::uint16_t vendor_ = kInstrumentVendorId;
    std::uint16_t product_ = kInstrumentProductId;
};

}  // namespace

std::unique_ptr<UsbDriver> MakeSimulatedDriver(Instrument& instrument) {
    return std::make_unique<SimulatedDriver>(instrument);
}

}  // namespace orv::sim
