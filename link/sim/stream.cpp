#include "link/sim/stream.h"

#include <algorithm>

#include "core/clock.h"
#include "link/commands.h"
#include "link/protocol.h"

namespace orv::sim {

namespace {

bool SameDrive(const Drive& a, const Drive& b) {
    return a.peakVolts == b.peakVolts && a.sourceOhms == b.sourceOhms &&
           a.frequencyHz == b.frequencyHz && a.dcVolts == b.dcVolts;
}

bool NextFrameCorrupted(Instrument& in) {
    if (in.faults.corruptNextFrames > 0) {
        --in.faults.corruptNextFrames;
        return true;
    }
    if (in.faults.corruptFraction <= 0.0)
        return false;
    // A uniform draw from the fault dice, kept apart from the signal's noise so that
    // injecting faults does not change the signal.
    return Uniform(in.faultDice) <= in.faults.corruptFraction;
}

void QueueFrame(Instrument& in) {
    RawFrame frame;
    FrameHeader header;
    header.sequence = in.sequence++;
    header.buttons = in.buttons;
    SynthesizeFrame(CurrentWaveform(in), in.hardware, ReadingsPerSample(in.registers), header,
                    in.noise, frame);
    std::uint8_t bytes[kFrameBytes];
    EncodeFrame(frame, bytes);
    const bool corrupted = NextFrameCorrupted(in);
    if (corrupted) {
        SetFrameChecksumWord(bytes, static_cast<std::uint16_t>(FrameChecksumWord(bytes) + 1));
        ++in.counters.framesCorrupted;
    }
    in.corruptedSequences[header.sequence] = corrupted;
    in.queue.insert(in.queue.end(), bytes, bytes + kFrameBytes);
    ++in.counters.framesSent;
}

bool StreamWanted(const Instrument& in, std::int64_t nowMs) {
    return in.plugged && in.streamStarted && !in.faults.stalled &&
           nowMs - in.lastHostPacketMs <= kHostSilenceMs;
}

}  // namespace

std::int64_t InstrumentNowMs(const Instrument& in) {
    return in.clock != nullptr ? NowMs(*in.clock) : MonotonicMs();
}

void PowerOn(Instrument& in) {
    std::fill(in.registers.begin(), in.registers.end(), 0u);
    in.partialPacket.clear();
    in.streamStarted = false;
    in.streaming = false;
    in.waveformValid = false;
    ClearQueue(in);
}

void ReceiveCommandBytes(Instrument& in, const std::uint8_t* bytes, std::size_t count) {
    const std::int64_t now = InstrumentNowMs(in);
    for (std::size_t i = 0; i < count; ++i) {
        in.partialPacket.push_back(bytes[i]);
        if (in.partialPacket.size() < static_cast<std::size_t>(kPacketBytes))
            continue;
        const DecodedPacket packet = DecodePacket(in.partialPacket.data());
        in.partialPacket.clear();
        if (!packet.checksumOk) {
            ++in.counters.packetsRejected;
            continue;
        }
        ++in.counters.packetsAccepted;
        in.lastHostPacketMs = now;
        if (!packet.write) {
            ++in.counters.polls;
            continue;
        }
        in.registers[static_cast<std::size_t>(packet.registerNumber)] = packet.value;
        if (packet.registerNumber == kRegControl && (packet.value & kControlStream) != 0)
            in.streamStarted = true;
    }
}

void AdvanceStream(Instrument& in) {
    const std::int64_t nowMs = InstrumentNowMs(in);
    const std::int64_t nowUs = nowMs * 1000;
    if (!StreamWanted(in, nowMs)) {
        in.streaming = false;
        return;
    }
    if (!in.streaming) {
        in.streaming = true;
        in.nextFrameDueUs = nowUs + kFramePeriodUs;
    }
    // Long unattended: only the frames the queue could still hold are made.
    const std::int64_t queueFrames = static_cast<std::int64_t>(kReceiveQueueBytes / kFrameBytes);
    const std::int64_t behind = (nowUs - in.nextFrameDueUs) / kFramePeriodUs;
    if (behind > queueFrames) {
        in.counters.framesLost += static_cast<std::uint64_t>(behind - queueFrames);
        in.nextFrameDueUs += (behind - queueFrames) * kFramePeriodUs;
    }
    while (in.nextFrameDueUs <= nowUs) {
        if (QueuedBytes(in) + kFrameBytes <= kReceiveQueueBytes) {
            QueueFrame(in);
        } else {
            ++in.counters.framesLost;
        }
        in.nextFrameDueUs += kFramePeriodUs;
    }
}

std::size_t QueuedBytes(const Instrument& in) {
    return in.queue.size() - in.queueStart;
}

std::size_t TakeQueued(Instrument& in, std::uint8_t* out, std::size_t count) {
    const std::size_t taken = std::min(count, QueuedBytes(in));
    std::copy_n(in.queue.begin() + static_cast<std::ptrdiff_t>(in.queueStart), taken, out);
    in.queueStart += taken;
    if (in.queueStart == in.queue.size()) {
        ClearQueue(in);
    } else if (in.queueStart > kReceiveQueueBytes) {
        in.queue.erase(in.queue.begin(),
                       in.queue.begin() + static_cast<std::ptrdiff_t>(in.queueStart));
        in.queueStart = 0;
    }
    return taken;
}

void ClearQueue(Instrument& in) {
    in.queue.clear();
    in.queueStart = 0;
}

void ProbeChanged(Instrument& in) {
    in.waveformValid = false;
}

const Waveform& CurrentWaveform(Instrument& in) {
    const Drive drive = DriveFromRegisters(in.registers, in.hardware, in.hasDcBias);
    if (!in.waveformValid || !SameDrive(drive, in.waveformDrive)) {
        in.waveform = SolveSteadyState(in.probe.circuit, drive);
        in.waveformDrive = drive;
        in.waveformValid = true;
    }
    return in.waveform;
}

}  // namespace orv::sim
