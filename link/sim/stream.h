#pragma once
// The instrument's working parts, called with its lock held: command intake into the
// register file, the paced frame stream and the queue of bytes waiting for the host.

#include <cstddef>
#include <cstdint>

#include "link/sim/instrument.h"

namespace orv::sim {

std::int64_t InstrumentNowMs(const Instrument& instrument);

// Power-on: registers cleared, nothing streaming, no half-received packet.
void PowerOn(Instrument& instrument);

// Bytes from the host: every whole 8-byte packet with a correct checksum is obeyed; a
// packet with a wrong one is dropped.
void ReceiveCommandBytes(Instrument& instrument, const std::uint8_t* bytes, std::size_t count);

// Frames due by now join the queue. The instrument streams while the stream bit of the
// control register is set, the host has been heard from lately and no stall is
// injected.
void AdvanceStream(Instrument& instrument);

std::size_t QueuedBytes(const Instrument& instrument);
std::size_t TakeQueued(Instrument& instrument, std::uint8_t* out, std::size_t count);
void ClearQueue(Instrument& instrument);

// The circuit under the probe changed: the next frame solves it afresh.
void ProbeChanged(Instrument& instrument);

// The waveform for the current registers and probe, solved when either changed.
const Waveform& CurrentWaveform(Instrument& instrument);

}  // namespace orv::sim
