// Bytes written to the simulated instrument, in any split into writes: its packet
// decoder, register file and frame synthesis take whatever comes, and the frames it
// sends back are whole and carry correct checksums.

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "link/protocol.h"
#include "link/sim/instrument.h"
#include "link/sim/simulated_driver.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    orv::LinkClock clock;
    orv::UseVirtualTime(clock, 1000);
    auto instrument = orv::sim::MakeInstrument("ORV340", &clock);
    auto driver = orv::sim::MakeSimulatedDriver(*instrument);
    orv::sim::TouchCircuit(*instrument,
                           orv::sim::Parallel(orv::sim::Diode(), orv::sim::Capacitor(1e-7)));
    driver->LoadLibrary();
    if (driver->Open(0) != orv::kUsbOk)
        std::abort();
    std::size_t at = 0;
    std::uint8_t frame[orv::kFrameBytes];
    while (at < size) {
        // The first byte of each chunk says how long the write is and how long to wait.
        const std::size_t length = std::min<std::size_t>(data[at] % 32, size - at - 1);
        const int waitMs = data[at] / 32 * 10;
        ++at;
        std::uint32_t done = 0, rx = 0, tx = 0, events = 0;
        driver->Write(data + at, static_cast<std::uint32_t>(length), done);
        at += length;
        orv::AdvanceMs(clock, waitMs);
        driver->GetStatus(rx, tx, events);
        if (rx % orv::kFrameBytes != 0)
            std::abort();
        while (rx >= orv::kFrameBytes) {
            driver->Read(frame, orv::kFrameBytes, done);
            orv::RawFrame decoded;
            if (!orv::DecodeFrame(frame, decoded).good)
                std::abort();
            rx -= orv::kFrameBytes;
        }
    }
    driver->Close();
    return 0;
}
