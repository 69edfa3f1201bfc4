// The instrument link's hot paths: decoding and checking a frame, encoding the settings
// burst, the simulated instrument making a frame, and what the communications thread
// costs while 48 frames a second stream in.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <thread>
#include <vector>

#include "core/app_state.h"
#include "core/event_log.h"
#include "link/commands.h"
#include "link/comms_thread.h"
#include "link/connection.h"
#include "link/protocol.h"
#include "link/sim/instrument.h"
#include "link/sim/simulated_driver.h"

namespace orv {
namespace {

std::vector<std::uint8_t> SampleFrame() {
    RawFrame frame;
    for (int k = 1; k <= kFrameSamples; ++k) {
        frame.channelA[k] = 2600000 + 1000 * k;
        frame.channelB[k] = 2600000 - 1000 * k;
    }
    std::vector<std::uint8_t> bytes(kFrameBytes);
    EncodeFrame(frame, bytes.data());
    return bytes;
}

void BM_FrameDecodeAndChecksum(benchmark::State& state) {
    const std::vector<std::uint8_t> bytes = SampleFrame();
    RawFrame frame;
    for (auto _ : state) {
        const FrameCheck check = DecodeFrame(bytes.data(), frame);
        benchmark::DoNotOptimize(check);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kFrameBytes);
}
BENCHMARK(BM_FrameDecodeAndChecksum);

// A driver that takes every write and does nothing else.
class SinkDriver final : public UsbDriver {
public:
    bool LoadLibrary() override { return true; }
    void UnloadLibrary() override {}
    bool LibraryLoaded() const override { return true; }
    UsbStatus CreateDeviceInfoList(std::uint32_t& count) override {
        count = 1;
        return kUsbOk;
    }
    UsbStatus SetVidPid(std::uint16_t, std::uint16_t) override { return kUsbOk; }
    UsbStatus GetDeviceInfoDetail(std::uint32_t) override { return kUsbOk; }
    UsbStatus Open(std::uint32_t) override { return kUsbOk; }
    UsbStatus SetBaudRate(std::uint32_t) override { return kUsbOk; }
    UsbStatus SetDataCharacteristics(std::uint8_t, std::uint8_t, std::uint8_t) override {
        return kUsbOk;
    }
    UsbStatus SetFlowControl(std::uint16_t, std::uint8_t, std::uint8_t) override { return kUsbOk; }
    UsbStatus SetUsbParameters(std::uint32_t, std::uint32_t) override { return kUsbOk; }
    UsbStatus SetTimeouts(std::uint32_t, std::uint32_t) override { return kUsbOk; }
    UsbStatus GetStatus(std::uint32_t& rx, std::uint32_t& tx, std::uint32_t& ev) override {
        rx = tx = ev = 0;
        return kUsbOk;
    }
    UsbStatus Read(std::uint8_t*, std::uint32_t, std::uint32_t& got) override {
        got = 0;
        return kUsbOk;
    }
    UsbStatus Write(const std::uint8_t* buffer, std::uint32_t count,
                    std::uint32_t& written) override {
        benchmark::DoNotOptimize(buffer[count - 1]);
        written = count;
        return kUsbOk;
    }
    UsbStatus ReadEE(std::uint32_t, std::uint16_t& word) override {
        word = 0;
        return kUsbOk;
    }
    UsbStatus WriteEE(std::uint32_t, std::uint16_t) override { return kUsbOk; }
    UsbStatus Close() override { return kUsbOk; }
};

void BM_SettingsBurst(benchmark::State& state) {
    SinkDriver driver;
    Link link;
    link.driver = &driver;
    link.state.Connected = true;
    AppState app;
    app.settings.ActiveInstrument = "ORV320";
    app.GeneratorApplied = app.GeneratorRequest;
    for (auto _ : state) {
        SendGeneratorSettings(link, app);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SettingsBurst);

void BM_SettingsBurstPacketEncoding(benchmark::State& state) {
    std::vector<std::int64_t> registers(32, 12345);
    std::vector<std::uint8_t> out(8 * 32);
    for (auto _ : state) {
        EncodeRegisterPackets(registers.data(), 30, 2, out.data());
        EncodeRegisterPackets(registers.data(), 0, 6, out.data());
        EncodeRegisterPackets(registers.data(), 6, 1, out.data());
        EncodeRegisterPackets(registers.data(), 7, 9, out.data());
        EncodeRegisterPackets(registers.data(), 16, 8, out.data());
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SettingsBurstPacketEncoding);

// One frame through the simulated instrument: synthesis from the cached steady state,
// noise, encoding, queueing and the host's read, on a diode and capacitor at 50 Hz.
void BM_SimulatorFrame(benchmark::State& state) {
    LinkClock clock;
    UseVirtualTime(clock, 1000);
    auto instrument = sim::MakeInstrument("ORV320", &clock);
    auto driver = sim::MakeSimulatedDriver(*instrument);
    sim::TouchCircuit(*instrument, sim::Parallel(sim::Diode(), sim::Capacitor(1e-6)));
    driver->LoadLibrary();
    driver->Open(0);
    const std::vector<std::int64_t> registers = {0,    2, 0,  0,  57124, 1113, 1000, 0,
                                                 1000, 0, 64, 20, 4,     0,    50,   0};
    std::vector<std::uint8_t> packets(8 * registers.size());
    EncodeRegisterPackets(registers.data(), 0, static_cast<int>(registers.size()), packets.data());
    std::uint32_t done = 0, rx = 0, tx = 0, events = 0;
    driver->Write(packets.data(), static_cast<std::uint32_t>(packets.size()), done);
    std::uint8_t frame[kFrameBytes];
    std::int64_t sinceCommand = 0;
    for (auto _ : state) {
        // Exactly one frame becomes due every 20.8 ms; keep the host heard from.
        AdvanceMs(clock, sinceCommand % 5 == 4 ? 20 : 21);
        if (++sinceCommand % 50 == 0)
            driver->Write(kPollPacket.data(), kPacketBytes, done);
        driver->GetStatus(rx, tx, events);
        while (rx >= kFrameBytes) {
            driver->Read(frame, kFrameBytes, done);
            rx -= kFrameBytes;
        }
    }
    state.counters["frames"] = static_cast<double>(sim::Inspect(*instrument).counters.framesSent);
    driver->Close();
}
BENCHMARK(BM_SimulatorFrame);

// The first frame after the probe moves: the steady state is solved afresh.
void BM_SimulatorFrameAfterProbeMove(benchmark::State& state) {
    LinkClock clock;
    UseVirtualTime(clock, 1000);
    auto instrument = sim::MakeInstrument("ORV320", &clock);
    auto driver = sim::MakeSimulatedDriver(*instrument);
    driver->LoadLibrary();
    driver->Open(0);
    const std::vector<std::int64_t> registers = {0,    2, 0,  0,  57124, 1113, 1000, 0,
                                                 1000, 0, 64, 20, 4,     0,    50,   0};
    std::vector<std::uint8_t> packets(8 * registers.size());
    EncodeRegisterPackets(registers.data(), 0, static_cast<int>(registers.size()), packets.data());
    std::uint32_t done = 0, rx = 0, tx = 0, events = 0;
    driver->Write(packets.data(), static_cast<std::uint32_t>(packets.size()), done);
    std::uint8_t frame[kFrameBytes];
    double farads = 1e-6;
    for (auto _ : state) {
        farads *= 1.001;  // a new circuit each time
        sim::TouchCircuit(*instrument, sim::Parallel(sim::Diode(), sim::Capacitor(farads)));
        AdvanceMs(clock, 21);
        driver->Write(kPollPacket.data(), kPacketBytes, done);
        driver->GetStatus(rx, tx, events);
        while (rx >= kFrameBytes) {
            driver->Read(frame, kFrameBytes, done);
            rx -= kFrameBytes;
        }
    }
    driver->Close();
}
BENCHMARK(BM_SimulatorFrameAfterProbeMove)->Unit(benchmark::kMicrosecond);

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// The communications thread against the simulated instrument in real time, connected
// and streaming; the process's CPU time over the wall time, while this thread sleeps.
void BM_CommsThreadAt48FramesPerSecond(benchmark::State& state) {
    // Connecting writes the log and the calibration file: into a folder of their own.
    const std::filesystem::path previous = std::filesystem::current_path();
    std::string folder = (std::filesystem::temp_directory_path() / "orv-bench-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) {
        state.SkipWithError("no temporary folder");
        return;
    }
    std::filesystem::current_path(folder);
    Link link;
    auto instrument = sim::MakeInstrument("ORV320", &link.clock);
    auto driver = sim::MakeSimulatedDriver(*instrument);
    link.driver = driver.get();
    AppState app;
    app.settings.ActiveInstrument = "ORV320";
    EventLog log;
    if (state.range(0) != 0)
        ConnectMenuItem(link, app, log);
    std::thread comms([&] { ORV_CommsThread(link, app, log); });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const std::uint64_t framesBefore = sim::Inspect(*instrument).counters.framesSent;
    double cpu = 0, wall = 0;
    for (auto _ : state) {
        const double cpu0 = ProcessCpuSeconds();
        const auto wall0 = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(5));
        cpu += ProcessCpuSeconds() - cpu0;
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
    }
    const std::uint64_t frames = sim::Inspect(*instrument).counters.framesSent - framesBefore;
    app.CommsThreadStop = true;
    WakeCommsThread(link);
    comms.join();
    state.counters["cpu_percent_of_one_core"] = 100.0 * cpu / wall;
    state.counters["frames_per_second"] = static_cast<double>(frames) / wall;
    state.counters["connected"] = link.state.Connected ? 1 : 0;
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);
}
// Argument 0: idle, disconnected; 1: connected and streaming.
BENCHMARK(BM_CommsThreadAt48FramesPerSecond)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orv

BENCHMARK_MAIN();
