#pragma once
// The USB transport the instrument is reached through: the one interface between the
// link logic and a device. Two implementations: the serial-converter library loaded at
// run time (the real instrument) and the simulated instrument. The calls mirror what the
// link needs of the converter chip and report a status code each, 0 for success.

#include <cstdint>
#include <memory>

namespace orv {

using UsbStatus = std::uint32_t;

// Status codes as the converter's driver numbers them.
inline constexpr UsbStatus kUsbOk = 0;
inline constexpr UsbStatus kUsbInvalidHandle = 1;
inline constexpr UsbStatus kUsbDeviceNotFound = 2;
inline constexpr UsbStatus kUsbDeviceNotOpened = 3;
inline constexpr UsbStatus kUsbIoError = 4;
inline constexpr UsbStatus kUsbInvalidParameter = 6;
inline constexpr UsbStatus kUsbEepromReadFailed = 11;
inline constexpr UsbStatus kUsbEepromWriteFailed = 12;
inline constexpr UsbStatus kUsbOtherError = 18;

// The instrument's converter chip.
inline constexpr std::uint16_t kInstrumentVendorId = 0x0403;
inline constexpr std::uint16_t kInstrumentProductId = 0x6015;
inline constexpr std::uint32_t kInstrumentBaudRate = 250000;
inline constexpr std::uint32_t kUsbTransferSize = 32768;
inline constexpr std::uint32_t kUsbTimeoutMs = 1000;
inline constexpr int kEepromWords = 1024;

// Data characteristics and flow control as the driver encodes them.
inline constexpr std::uint8_t kBits8 = 8;
inline constexpr std::uint8_t kStopBits1 = 0;
inline constexpr std::uint8_t kParityNone = 0;
inline constexpr std::uint16_t kFlowNone = 0x0000;

// One device handle at a time: Open makes it, Close ends it. Every call may come from
// either thread; an implementation serialises its own state. The link's mutex orders
// the traffic calls among themselves (see comms_thread.h).
class UsbDriver {
public:
    virtual ~UsbDriver() = default;

    // The driver library: false when it cannot be loaded. Loading twice is harmless.
    virtual bool LoadLibrary() = 0;
    virtual void UnloadLibrary() = 0;
    virtual bool LibraryLoaded() const = 0;

    // Devices present that match the vendor/product filter.
    virtual UsbStatus CreateDeviceInfoList(std::uint32_t& count) = 0;
    virtual UsbStatus SetVidPid(std::uint16_t vendor, std::uint16_t product) = 0;
    virtual UsbStatus GetDeviceInfoDetail(std::uint32_t index) = 0;

    virtual UsbStatus Open(std::uint32_t index) = 0;
    virtual UsbStatus SetBaudRate(std::uint32_t baud) = 0;
    virtual UsbStatus SetDataCharacteristics(std::uint8_t bits, std::uint8_t stopBits,
                                             std::uint8_t parity) = 0;
    virtual UsbStatus SetFlowControl(std::uint16_t flow, std::uint8_t xon, std::uint8_t xoff) = 0;
    virtual UsbStatus SetUsbParameters(std::uint32_t inSize, std::uint32_t outSize) = 0;
    virtual UsbStatus SetTimeouts(std::uint32_t readMs, std::uint32_t writeMs) = 0;

    // rxBytes: bytes received and waiting to be read.
    virtual UsbStatus GetStatus(std::uint32_t& rxBytes, std::uint32_t& txBytes,
                                std::uint32_t& events) = 0;
    virtual UsbStatus Read(std::uint8_t* buffer, std::uint32_t count, std::uint32_t& got) = 0;
    virtual UsbStatus Write(const std::uint8_t* buffer, std::uint32_t count,
                            std::uint32_t& written) = 0;

    // 16-bit words of the converter's EEPROM, addressed by word number.
    virtual UsbStatus ReadEE(std::uint32_t address, std::uint16_t& word) = 0;
    virtual UsbStatus WriteEE(std::uint32_t address, std::uint16_t word) = 0;

    virtual UsbStatus Close() = 0;
};

// The real instrument through libftdi1, loaded by name when first needed.
std::unique_ptr<UsbDriver> MakeLibFtdiDriver();

}  // namespace orv
