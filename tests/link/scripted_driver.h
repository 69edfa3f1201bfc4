#pragma once
// A USB driver that tests fill by hand: bytes to deliver, statuses to answer with, an
// EEPROM, and a record of every write.

#include <cstdint>
#include <deque>
#include <vector>

#include "link/usb_driver.h"

namespace orv::test {

class ScriptedDriver final : public UsbDriver {
public:
    bool LoadLibrary() override { return loaded = libraryPresent; }
    void UnloadLibrary() override { loaded = false; }
    bool LibraryLoaded() const override { return loaded; }
    UsbStatus CreateDeviceInfoList(std::uint32_t& count) override {
        count = devices;
        return kUsbOk;
    }
    UsbStatus SetVidPid(std::uint16_t, std::uint16_t) override { return kUsbOk; }
    UsbStatus GetDeviceInfoDetail(std::uint32_t) override { return kUsbOk; }
    UsbStatus Open(std::uint32_t) override { return openStatus; }
    UsbStatus SetBaudRate(std::uint32_t) override { return kUsbOk; }
    UsbStatus SetDataCharacteristics(std::uint8_t, std::uint8_t, std::uint8_t) override {
        return kUsbOk;
    }
    UsbStatus SetFlowControl(std::uint16_t, std::uint8_t, std::uint8_t) override { return kUsbOk; }
    UsbStatus SetUsbParameters(std::uint32_t, std::uint32_t) override { return kUsbOk; }
    UsbStatus SetTimeouts(std::uint32_t, std::uint32_t) override { return kUsbOk; }
    UsbStatus GetStatus(std::uint32_t& rx, std::uint32_t& tx, std::uint32_t& events) override {
        rx = static_cast<std::uint32_t>(incoming.size());
        tx = events = 0;
        return statusStatus;
    }
    UsbStatus Read(std::uint8_t* buffer, std::uint32_t count, std::uint32_t& got) override {
        got = 0;
        if (readStatus != kUsbOk)
            return readStatus;
        while (got < count && got < readLimit && !incoming.empty()) {
            buffer[got++] = incoming.front();
            incoming.pop_front();
        }
        return kUsbOk;
    }
    UsbStatus Write(const std::uint8_t* buffer, std::uint32_t count,
                    std::uint32_t& written) override {
        writes.emplace_back(buffer, buffer + count);
        written = count;
        return kUsbOk;
    }
    UsbStatus ReadEE(std::uint32_t address, std::uint16_t& word) override {
        if (address == failReadAt)
            return kUsbEepromReadFailed;
        word = eeprom[address];
        return kUsbOk;
    }
    UsbStatus WriteEE(std::uint32_t address, std::uint16_t word) override {
        eeprom[address] = word;
        return kUsbOk;
    }
    UsbStatus Close() override {
        ++closes;
        return kUsbOk;
    }

    void Deliver(const std::uint8_t* bytes, std::size_t count) {
        incoming.insert(incoming.end(), bytes, bytes + count);
    }

    bool libraryPresent = true;
    bool loaded = false;
    std::uint32_t devices = 1;
    UsbStatus openStatus = kUsbOk;
    UsbStatus statusStatus = kUsbOk;
    UsbStatus readStatus = kUsbOk;
    std::uint32_t readLimit = 0xFFFFFFFF;  // a read delivers at most this many bytes
    std::uint32_t failReadAt = 0xFFFFFFFF;
    std::deque<std::uint8_t> incoming;
    std::vector<std::vector<std::uint8_t>> writes;
    std::vector<std::uint16_t> eeprom = std::vector<std::uint16_t>(kEepromWords);
    int closes = 0;
};

}  // namespace orv::test
