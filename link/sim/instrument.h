#pragma once
// The simulated instrument: its register file, EEPROM, frame stream and the board under
// its probe. The simulated driver (simulated_driver.h) is its USB side; the functions
// here are its other side, for whoever plays the technician: a test, or a window that
// moves the probe. Every function takes the instrument's own lock, so both threads may
// call them at any time.

#include <bitset>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "link/link_clock.h"
#include "link/sim/board.h"
#include "link/sim/frame_synthesis.h"
#include "link/sim/hardware.h"
#include "link/usb_driver.h"

namespace orv::sim {

enum class BoardUnit { KnownGood, UnderTest };
enum class ProbeButton { A, B };

// The link as 250000 baud, 10 bits a byte, carries a 520-byte frame in 20.8 ms.
inline constexpr std::int64_t kFramePeriodUs = 20800;
// The instrument stops streaming when the host has sent nothing for this long.
inline constexpr std::int64_t kHostSilenceMs = 2000;
// Received bytes the converter holds for the host; frames past it are lost whole.
inline constexpr std::size_t kReceiveQueueBytes = 32768;

struct Probe {
    enum class Kind { Lifted, Pin, Circuit };
    Kind kind = Kind::Lifted;
    std::string component;
    std::string pin;
    Circuit circuit;  // what the probe touches now
};

// What the host configured, as the converter saw it.
struct HostSettings {
    std::uint32_t baudRate = 0;
    std::uint8_t bits = 0, stopBits = 0, parity = 0;
    std::uint16_t flow = 0xFFFF;
    std::uint32_t inTransferSize = 0, outTransferSize = 0;
    std::uint32_t readTimeoutMs = 0, writeTimeoutMs = 0;
};

struct Faults {
    int corruptNextFrames = 0;
    double corruptFraction = 0.0;  // share of frames sent with a wrong checksum
    int shortNextReads = 0;        // reads that deliver half the bytes asked for
    bool stalled = false;          // the stream stops, the device stays
    int eepromReadMs = 0;          // time each EEPROM word read takes (USB control transfers)
};

struct Counters {
    std::uint64_t framesSent = 0;
    std::uint64_t framesCorrupted = 0;
    std::uint64_t framesLost = 0;  // the receive queue was full
    std::uint64_t packetsAccepted = 0;
    std::uint64_t packetsRejected = 0;  // wrong checksum
    std::uint64_t polls = 0;
    std::uint64_t opens = 0;
};

struct Instrument {
    mutable std::mutex mutex;
    // Null: the monotonic clock. Not const: a slow EEPROM lets virtual time pass.
    LinkClock* clock = nullptr;
    HardwareConstants hardware;
    std::string model;
    bool hasDcBias = false;
    EepromWords eeprom{};

    // USB
    bool plugged = true;
    bool open = false;
    bool handleLost = false;  // unplugged while open: the handle fails until closed
    HostSettings host;

    // Commands and stream
    RegisterFile registers = RegisterFile(kSimRegisterCount);
    std::vector<std::uint8_t> partialPacket;
    std::int64_t lastHostPacketMs = 0;
    // Set by a write of the stream bit to the control register; a later write without it
    // (the calibration output's) does not stop the stream. Power-on clears it.
    bool streamStarted = false;
    bool streaming = false;
    std::int64_t nextFrameDueUs = 0;
    std::uint16_t sequence = 0;
    std::vector<std::uint8_t> queue;  // bytes for the host, from queueStart
    std::size_t queueStart = 0;

    // Probe and board
    SimBoard knownGood;
    SimBoard underTest;
    BoardUnit unit = BoardUnit::KnownGood;
    Probe probe;
    std::uint16_t buttons = 0;

    // Steady state of the last drive and circuit, reused while neither changes.
    bool waveformValid = false;
    Drive waveformDrive;
    Waveform waveform;
    NoiseSource noise;
    NoiseSource faultDice{0x5851F42D4C957F2Dull};

    Faults faults;
    Counters counters;
    std::bitset<65536> corruptedSequences;  // by frame word 0
};

// A powered instrument of `model`, plugged in, its probe lifted above the known-good
// board. `clock` is read for pacing; null means the monotonic clock.
std::unique_ptr<Instrument> MakeInstrument(std::string_view model, LinkClock* clock);

// ---- The technician's side ----

void SelectBoard(Instrument& instrument, BoardUnit unit);
std::vector<BoardPin> BoardPins(const Instrument& instrument);
void TouchPin(Instrument& instrument, std::string_view component, std::string_view pin);
void TouchCircuit(Instrument& instrument, const Circuit& circuit);
void LiftProbe(Instrument& instrument);
void SetButton(Instrument& instrument, ProbeButton button, bool held);

// ---- Faults ----

// Pulled: the device disappears, an open handle fails, the power and so the registers
// and the stream are lost. Plugged back: a fresh power-on; the EEPROM kept its words.
void Unplug(Instrument& instrument);
void Replug(Instrument& instrument);
void CorruptNextFrames(Instrument& instrument, int count);
void SetCorruptFraction(Instrument& instrument, double fraction);
void ShortenNextReads(Instrument& instrument, int count);
void SetStalled(Instrument& instrument, bool stalled);
// Each EEPROM word read takes `ms` (a slow USB bus or hub); 0 is instant.
void SetEepromReadTime(Instrument& instrument, int ms);

// ---- The EEPROM, for tests of the identity check ----

void SetIdentityTexts(Instrument& instrument, std::string_view maker, std::string_view product);
void SetEepromWord(Instrument& instrument, int address, std::uint16_t word);

// ---- Looking inside ----

struct InstrumentView {
    std::string model;
    bool plugged = false;
    bool open = false;
    bool streaming = false;
    HostSettings host;
    std::vector<std::uint32_t> registers;  // 0..31
    BoardUnit unit = BoardUnit::KnownGood;
    Probe probe;
    std::uint16_t buttons = 0;
    Drive drive;  // what the generator puts out now
    Faults faults;
    Counters counters;
    std::size_t queuedBytes = 0;
};

InstrumentView Inspect(const Instrument& instrument);

// Whether the last frame sent with this word 0 carried a wrong checksum.
bool SentCorrupted(const Instrument& instrument, std::uint16_t sequence);

}  // namespace orv::sim
