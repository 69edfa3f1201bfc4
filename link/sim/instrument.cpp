#include "link/sim/instrument.h"

#include <algorithm>

#include "core/instrument_model.h"
#include "link/protocol.h"
#include "link/sim/stream.h"

namespace orv::sim {

namespace {

void ResolveProbe(Instrument& in) {
    if (in.probe.kind == Probe::Kind::Pin) {
        const SimBoard& board = in.unit == BoardUnit::KnownGood ? in.knownGood : in.underTest;
        in.probe.circuit = CircuitAt(board, in.probe.component, in.probe.pin);
    } else if (in.probe.kind == Probe::Kind::Lifted) {
        in.probe.circuit = Open();
    }
    ProbeChanged(in);
}

}  // namespace

std::unique_ptr<Instrument> MakeInstrument(std::string_view model, LinkClock* clock) {
    auto instrument = std::make_unique<Instrument>();
    instrument->clock = clock;
    instrument->model = std::string(model);
    instrument->hasDcBias = !IsSmallFamily(model);
    instrument->eeprom = FactoryEeprom(model, instrument->hardware);
    instrument->knownGood = MakeKnownGoodBoard();
    instrument->underTest = MakeBoardUnderTest();
    ResolveProbe(*instrument);
    return instrument;
}

void SelectBoard(Instrument& in, BoardUnit unit) {
    std::lock_guard lock(in.mutex);
    in.unit = unit;
    ResolveProbe(in);
}

std::vector<BoardPin> BoardPins(const Instrument& in) {
    std::lock_guard lock(in.mutex);
    return ListPins(in.unit == BoardUnit::KnownGood ? in.knownGood : in.underTest);
}

void TouchPin(Instrument& in, std::string_view component, std::string_view pin) {
    std::lock_guard lock(in.mutex);
    in.probe.kind = Probe::Kind::Pin;
    in.probe.component = std::string(component);
    in.probe.pin = std::string(pin);
    ResolveProbe(in);
}

void TouchCircuit(Instrument& in, const Circuit& circuit) {
    std::lock_guard lock(in.mutex);
    in.probe.kind = Probe::Kind::Circuit;
    in.probe.component.clear();
    in.probe.pin.clear();
    in.probe.circuit = circuit;
    ResolveProbe(in);
}

void LiftProbe(Instrument& in) {
    std::lock_guard lock(in.mutex);
    in.probe = Probe{};
    ResolveProbe(in);
}

void SetButton(Instrument& in, ProbeButton button, bool held) {
    std::lock_guard lock(in.mutex);
    const std::uint16_t bit = button == ProbeButton::A ? kButtonA : kButtonB;
    in.buttons = held ? static_cast<std::uint16_t>(in.buttons | bit)
                      : static_cast<std::uint16_t>(in.buttons & ~bit);
}

void Unplug(Instrument& in) {
    std::lock_guard lock(in.mutex);
    in.plugged = false;
    if (in.open)
        in.handleLost = true;
    PowerOn(in);
}

void Replug(Instrument& in) {
    std::lock_guard lock(in.mutex);
    if (in.plugged)
        return;
    in.plugged = true;
    PowerOn(in);
}

void CorruptNextFrames(Instrument& in, int count) {
    std::lock_guard lock(in.mutex);
    in.faults.corruptNextFrames = std::max(0, count);
}

void SetCorruptFraction(Instrument& in, double fraction) {
    std::lock_guard lock(in.mutex);
    in.faults.corruptFraction = std::clamp(fraction, 0.0, 1.0);
}

void ShortenNextReads(Instrument& in, int count) {
    std::lock_guard lock(in.mutex);
    in.faults.shortNextReads = std::max(0, count);
}

void SetStalled(Instrument& in, bool stalled) {
    std::lock_guard lock(in.mutex);
    // Frames due while stalled are never sent; the stream picks up from now.
    AdvanceStream(in);
    in.faults.stalled = stalled;
    AdvanceStream(in);
}

void SetEepromReadTime(Instrument& in, int ms) {
    std::lock_guard lock(in.mutex);
    in.faults.eepromReadMs = std::max(0, ms);
}

void SetIdentityTexts(Instrument& in, std::string_view maker, std::string_view product) {
    std::lock_guard lock(in.mutex);
    WriteIdentityTexts(in.eeprom, maker, product);
}

void SetEepromWord(Instrument& in, int address, std::uint16_t word) {
    std::lock_guard lock(in.mutex);
    if (address < 0 || address >= kEepromSize)
        return;
    in.eeprom[static_cast<size_t>(address)] = word;
}

InstrumentView Inspect(const Instrument& in) {
    std::lock_guard lock(in.mutex);
    InstrumentView view;
    view.model = in.model;
    view.plugged = in.plugged;
    view.open = in.open && !in.handleLost;
    view.streaming = in.streaming;
    view.host = in.host;
    view.registers.assign(in.registers.begin(), in.registers.begin() + 32);
    view.unit = in.unit;
    view.probe = in.probe;
    view.buttons = in.buttons;
    view.drive = DriveFromRegisters(in.registers, in.hardware, in.hasDcBias);
    view.faults = in.faults;
    view.counters = in.counters;
    view.queuedBytes = QueuedBytes(in);
    return view;
}

bool SentCorrupted(const Instrument& in, std::uint16_t sequence) {
    std::lock_guard lock(in.mutex);
    return in.corruptedSequences[sequence];
}

}  // namespace orv::sim
