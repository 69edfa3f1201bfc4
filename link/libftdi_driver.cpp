// The real instrument through libftdi1, loaded by name at run time so that the program
// still runs on a machine without it. The library's header gives the types only; every
// function is looked up after dlopen. Reads go through a ring buffer filled from the
// chip, so "bytes waiting" means what it means to the link: bytes received and not yet
// taken.

#include <dlfcn.h>
#include <ftdi.h>
#include <libusb.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <mutex>
#include <vector>

#include "link/usb_driver.h"

namespace orv {

namespace {

constexpr const char* kLibraryName = "libftdi1.so.2";
// Short enough that a status query holding the link mutex never blocks for long: the
// chip answers every bulk read within this many milliseconds, with data or without.
constexpr unsigned char kLatencyTimerMs = 2;
constexpr std::size_t kRingBytes = 65536;
constexpr std::size_t kBulkReadBytes = 4096;
constexpr int kModemStatusBytes = 2;  // at the start of every packet the chip sends

struct Functions {
    ftdi_context* (*newContext)();
    void (*freeContext)(ftdi_context*);
    int (*findAll)(ftdi_context*, ftdi_device_list**, int, int);
    void (*listFree)(ftdi_device_list**);
    int (*openIndex)(ftdi_context*, int, int, const char*, const char*, unsigned int);
    int (*close)(ftdi_context*);
    int (*setBaudRate)(ftdi_context*, int);
    int (*setLineProperty)(ftdi_context*, ftdi_bits_type, ftdi_stopbits_type, ftdi_parity_type);
    int (*setFlowControl)(ftdi_context*, int);
    int (*setReadChunkSize)(ftdi_context*, unsigned int);
    int (*setWriteChunkSize)(ftdi_context*, unsigned int);
    int (*setLatencyTimer)(ftdi_context*, unsigned char);
    int (*flushBuffers)(ftdi_context*);
    int (*writeData)(ftdi_context*, const unsigned char*, int);
    int (*readEepromLocation)(ftdi_context*, int, unsigned short*);
    // libusb, which libftdi1 brings along: the bulk read that returns what the chip has,
    // and the vendor request that writes one EEPROM word on every chip type.
    int (*bulkTransfer)(libusb_device_handle*, unsigned char, unsigned char*, int, int*,
                        unsigned int);
    int (*controlTransfer)(libusb_device_handle*, std::uint8_t, std::uint8_t, std::uint16_t,
                           std::uint16_t, unsigned char*, std::uint16_t, unsigned int);
};

template <class F>
bool Resolve(void* library, const char* name, F& function) {
    function = reinterpret_cast<F>(dlsym(library, name));
    return function != nullptr;
}

bool ResolveAll(void* library, Functions& f) {
    return Resolve(library, "ftdi_new", f.newContext) &&
           Resolve(library, "ftdi_free", f.freeContext) &&
           Resolve(library, "ftdi_usb_find_all", f.findAll) &&
           Resolve(library, "ftdi_list_free", f.listFree) &&
           Resolve(library, "ftdi_usb_open_desc_index", f.openIndex) &&
           Resolve(library, "ftdi_usb_close", f.close) &&
           Resolve(library, "ftdi_set_baudrate", f.setBaudRate) &&
           Resolve(library, "ftdi_set_line_property", f.setLineProperty) &&
           Resolve(library, "ftdi_setflowctrl", f.setFlowControl) &&
           Resolve(library, "ftdi_read_data_set_chunksize", f.setReadChunkSize) &&
           Resolve(library, "ftdi_write_data_set_chunksize", f.setWriteChunkSize) &&
           Resolve(library, "ftdi_set_latency_timer", f.setLatencyTimer) &&
           Resolve(library, "ftdi_tcioflush", f.flushBuffers) &&
           Resolve(library, "ftdi_write_data", f.writeData) &&
           Resolve(library, "ftdi_read_eeprom_location", f.readEepromLocation) &&
           Resolve(library, "libusb_bulk_transfer", f.bulkTransfer) &&
           Resolve(library, "libusb_control_transfer", f.controlTransfer);
}

// Bytes received from the chip and not yet read by the link.
class ByteRing {
public:
    std::size_t Size() const { return size_; }
    std::size_t Free() const { return bytes_.size() - size_; }
    void Clear() { head_ = size_ = 0; }
    void Push(const std::uint8_t* data, std::size_t count) {
        for (std::size_t i = 0; i < count && size_ < bytes_.size(); ++i) {
            bytes_[(head_ + size_) % bytes_.size()] = data[i];
            ++size_;
        }
    }
    std::size_t Pop(std::uint8_t* out, std::size_t count) {
        const std::size_t taken = std::min(count, size_);
        for (std::size_t i = 0; i < taken; ++i)
            out[i] = bytes_[(head_ + i) % bytes_.size()];
        head_ = (head_ + taken) % bytes_.size();
        size_ -= taken;
        return taken;
    }

private:
    std::vector<std::uint8_t> bytes_ = std::vector<std::uint8_t>(kRingBytes);
    std::size_t head_ = 0;
    std::size_t size_ = 0;
};

class LibFtdiDriver final : public UsbDriver {
public:
    ~LibFtdiDriver() override { UnloadLibrary(); }

    bool LoadLibrary() override {
        std::lock_guard lock(mutex_);
        if (library_ != nullptr)
            return true;
        void* library = dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr)
            return false;
        Functions functions{};
        if (!ResolveAll(library, functions)) {
            dlclose(library);
            return false;
        }
        library_ = library;
        f_ = functions;
        return true;
    }

    void UnloadLibrary() override {
        std::lock_guard lock(mutex_);
        if (library_ == nullptr)
            return;
        CloseDevice();
        dlclose(library_);
        library_ = nullptr;
    }

    bool LibraryLoaded() const override {
        std::lock_guard lock(mutex_);
        return library_ != nullptr;
    }

    UsbStatus CreateDeviceInfoList(std::uint32_t& count) override {
        std::lock_guard lock(mutex_);
        count = 0;
        if (library_ == nullptr)
            return kUsbOtherError;
        const int found = CountDevices();
        if (found < 0)
            return kUsbIoError;
        count = static_cast<std::uint32_t>(found);
        return kUsbOk;
    }

    UsbStatus SetVidPid(std::uint16_t vendor, std::uint16_t product) override {
        std::lock_guard lock(mutex_);
        vendor_ = vendor;
        product_ = product;
        return kUsbOk;
    }

    UsbStatus GetDeviceInfoDetail(std::uint32_t index) override {
        std::lock_guard lock(mutex_);
        if (library_ == nullptr)
            return kUsbOtherError;
        const int found = CountDevices();
        return (found > 0 && index < static_cast<std::uint32_t>(found)) ? kUsbOk
                                                                        : kUsbDeviceNotFound;
    }

    UsbStatus Open(std::uint32_t index) override {
        std::lock_guard lock(mutex_);
        if (library_ == nullptr || device_ != nullptr)
            return kUsbDeviceNotOpened;
        ftdi_context* context = f_.newContext();
        if (context == nullptr)
            return kUsbDeviceNotOpened;
        if (f_.openIndex(context, vendor_, product_, nullptr, nullptr, index) < 0) {
            f_.freeContext(context);
            return kUsbDeviceNotOpened;
        }
        device_ = context;
        f_.setLatencyTimer(device_, kLatencyTimerMs);
        f_.flushBuffers(device_);
        ring_.Clear();
        return kUsbOk;
    }

    UsbStatus SetBaudRate(std::uint32_t baud) override {
        std::lock_guard lock(mutex_);
        if (device_ == nullptr)
            return kUsbInvalidHandle;
        return f_.setBaudRate(device_, static_cast<int>(baud)) < 0 ? kUsbIoError : kUsbOk;
    }

    UsbStatus SetDataCharacteristics(std::uint8_t bits, std::uint8_t stopBits,
                                     std::uint8_t parity) override {
        std::lock_guard lock(mutex_);
        if (device_ == nullptr)
            return kUsbInvalidHandle;
        if ((bits != 7 && bits != 8) || (stopBits != 0 && stopBits != 2) || parity > 4) {
            return kUsbInvalidParameter;
        }
        const int result = f_.setLineProperty(device_, bits == 7 ? BITS_7 : BITS_8,
                                              stopBits == 0 ? STOP_BIT_1 : STOP_BIT_2,
                                              static_cast<ftdi_parity_type>(parity));
        return result < 0 ? kUsbIoError : kUsbOk;
    }

    UsbStatus SetFlowControl(std::uint16_t flow, std::uint8_t, std::uint8_t) override {
        std::lock_guard lock(mutex_);
        if (device_ == nullptr)
            return kUsbInvalidHandle;
        // The chip's flow-control codes are the driver's, bit for bit.
        return f_.setFlowControl(device_, flow) < 0 ? kUsbIoError : kUsbOk;
    }

    UsbStatus SetUsbParameters(std::uint32_t inSize, std::uint32_t outSize) override {
        std::lock_guard lock(mutex_);
        if (device_ == nullptr)
            return kUsbInvalidHandle;
        const bool failed =
            f_.setReadChunkSize(device_, inSize) < 0 || f_.setWriteChunkSize(device_, outSize) < 0;
        return failed ? kUsbIoError : kUsbOk;
    }

    UsbStatus SetTimeouts(std::uint32_t readMs, std::uint32_t writeMs) override {
        std::lock_guard lock(mutex_);
        if (device_ == nullptr)
            return kUsbInvalidHandle;
        device_->usb_read_timeout = static_cast<int>(readMs);
        device_->usb_write_timeout = static_cast<int>(writeMs);
        readTimeoutMs_ = readMs;
        return kUsbOk;
    }

    UsbStatus GetStatus(std::uint32_t& rxBytes, std::uint32_t& txBytes,
                        std::uint32_t& events) override {
        std::lock_guard lock(mutex_);
        txBytes = 0;
        events = 0;
        if (device_ == nullptr) {
            rxBytes = 0;
            return kUsbInvalidHandle;
        }
        const bool ok = FillFromChip();
        rxBytes = static_cast<std::uint32_t>(ring_.Size());
        return ok ? kUsbOk : kUsbIoError;
    }

    UsbStatus Read(std::uint8_t* buffer, std::uint32_t count, std::uint32_t& got) override {
        std::lock_guard lock(mutex_);
        got = 0;
        if (device_ == nullptr)
            return kUsbInvalidHandle;
        // Like the driver: wait for the bytes up to the read time-out, then return what
        // came with success and a short count.
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(readTimeoutMs_);
        bool ok = true;
        while (ring_.Size() < count && std::chrono::steady_clock::now() < deadline) {
            if (!(ok = FillFromChip()))
                break;
        }
        got = static_cast<std::uint32_t>(ring_.Pop(buffer, count));
        return ok ? kUsbOk : kUsbIoError;
    }

    UsbStatus Write(const std::uint8_t* buffer, std::uint32_t count,
                    std::uint32_t& written) override {
        std::lock_guard lock(mutex_);
        written = 0;
        if (device_ == nullptr)
            return kUsbInvalidHandle;
        const int result = f_.writeData(device_, buffer, static_cast<int>(count));
        if (result < 0)
            return kUsbIoError;
        written = static_cast<std::uint32_t>(result);
        return kUsbOk;
    }

    UsbStatus ReadEE(std::uint32_t address, std::uint16_t& word) override {
        std::lock_guard lock(mutex_);
        if (device_ == nullptr)
            return kUsbInvalidHandle;
        if (address >= static_cast<std::uint32_t>(kEepromWords))
            return kUsbInvalidParameter;
        unsigned short value = 0;
        if (f_.readEepromLocation(device_, static_cast<int>(address), &value) < 0) {
            return kUsbEepromReadFailed;
        }
        word = value;
        return kUsbOk;
    }

    UsbStatus WriteEE(std::uint32_t address, std::uint16_t word) override {
        std::lock_guard lock(mutex_);
        if (device_ == nullptr)
            return kUsbInvalidHandle;
        if (address >= static_cast<std::uint32_t>(kEepromWords))
            return kUsbInvalidParameter;
        // Vendor request, to the device, host to device.
        constexpr std::uint8_t kVendorOut = 0x40;
        constexpr std::uint8_t kWriteEepromRequest = 0x91;
        const int result = f_.controlTransfer(device_->usb_dev, kVendorOut, kWriteEepromRequest,
                                              word, static_cast<std::uint16_t>(address), nullptr, 0,
                                              static_cast<unsigned>(device_->usb_write_timeout));
        return result < 0 ? kUsbEepromWriteFailed : kUsbOk;
    }

    UsbStatus Close() override {
        std::lock_guard lock(mutex_);
        if (device_ == nullptr)
            return kUsbInvalidHandle;
        CloseDevice();
        return kUsbOk;
    }

private:
    // Under mutex_.
    int CountDevices() {
        ftdi_context* context = f_.newContext();
        if (context == nullptr)
            return -1;
        ftdi_device_list* list = nullptr;
        const int found = f_.findAll(context, &list, vendor_, product_);
        if (list != nullptr)
            f_.listFree(&list);
        f_.freeContext(context);
        return found;
    }

    void CloseDevice() {
        if (device_ == nullptr)
            return;
        f_.close(device_);
        f_.freeContext(device_);
        device_ = nullptr;
        ring_.Clear();
    }

    // One bulk read: whatever the chip holds, within its latency time. Each packet
    // starts with two modem status bytes, which are not data. False when the device
    // is gone or the transfer failed.
    bool FillFromChip() {
        std::array<std::uint8_t, kBulkReadBytes> transfer;
        const std::size_t packet = device_->max_packet_size > 0 ? device_->max_packet_size : 64;
        // Whole packets only: a shorter buffer would overflow on a full packet.
        const std::size_t want = std::min(transfer.size(), ring_.Free()) / packet * packet;
        if (want == 0)
            return true;
        int actual = 0;
        const int result = f_.bulkTransfer(
            device_->usb_dev, static_cast<unsigned char>(device_->out_ep), transfer.data(),
            static_cast<int>(want), &actual, static_cast<unsigned>(device_->usb_read_timeout));
        if (result < 0 && result != LIBUSB_ERROR_TIMEOUT)
            return false;
        for (std::size_t at = 0; at < static_cast<std::size_t>(actual); at += packet) {
            const std::size_t end = std::min(at + packet, static_cast<std::size_t>(actual));
            if (end > at + kModemStatusBytes) {
                ring_.Push(transfer.data() + at + kModemStatusBytes, end - at - kModemStatusBytes);
            }
        }
        return true;
    }

    mutable std::mutex mutex_;
    void* library_ = nullptr;
    Functions f_{};
    ftdi_context* device_ = nullptr;
    std::uint16_t vendor_ = kInstrumentVendorId;
    std::uint16_t product_ = kInstrumentProductId;
    std::uint32_t readTimeoutMs_ = kUsbTimeoutMs;
    ByteRing ring_;
};

}  // namespace

std::unique_ptr<UsbDriver> MakeLibFtdiDriver() {
    return std::make_unique<LibFtdiDriver>();
}

}  // namespace orv
