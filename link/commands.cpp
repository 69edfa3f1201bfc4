#include "link/commands.h"

#include <cmath>

#include <array>
#include <cstdint>

#include "core/instrument_model.h"
#include "link/generator_tables.h"

namespace orv {

void WriteRegisters(Link& link, int first, int count) {
    // Only whole packets that fit the buffer and the image are ever built.
    if (first < 0 || count <= 0 || first + count > kRegisterCount)
        return;
    if (count > kTransmitBufferBytes / kPacketBytes)
        count = kTransmitBufferBytes / kPacketBytes;
    std::array<std::uint8_t, kTransmitBufferBytes> transmit;
    std::lock_guard lock(link.linkMutex);
    if (!link.state.Connected || link.driver == nullptr)
        return;
    EncodeRegisterPackets(link.registers.values.data(), first, count, transmit.data());
    std::uint32_t rx = 0, tx = 0, events = 0;
    if (link.driver->GetStatus(rx, tx, events) != kUsbOk)
        return;
    std::uint32_t written = 0;
    link.driver->Write(transmit.data(), static_cast<std::uint32_t>(kPacketBytes * count), written);
}

void SendPoll(Link& link) {
    if (!link.state.Connected)
        return;
    std::lock_guard lock(link.linkMutex);
    if (!link.state.Connected || link.driver == nullptr)
        return;
    std::uint32_t written = 0;
    link.driver->Write(kPollPacket.data(), kPacketBytes, written);
}

void ApplyEffectiveResistance(GeneratorState& generator, std::string_view model,
                              float nominalOhms) {
    const std::int64_t nominal = RoundToInstrument(nominalOhms);
    for (const ResistanceStep& step : SourceResistancesFor(model)) {
        if (step.ohms != nominal)
            continue;
        for (size_t i = 0; i < kLargeFamilySourceResistances.size(); ++i) {
            if (kLargeFamilySourceResistances[i] != static_cast<float>(step.ohms))
                continue;
            // A calibrated entry that is no usable resistance (below one ohm, not a
            // number) would turn every current into an infinity: keep the last one.
            const float measured = std::nearbyint(generator.SourceResistanceTable[i]);
            if (measured >= 1.0f && measured <= 1.0e9f)
                generator.EffectiveResistance = static_cast<int>(measured);
            return;
        }
    }
}

void SendGeneratorSettings(Link& link, const AppState& app) {
    if (!link.state.Connected)
        return;
    std::vector<std::int64_t>& reg = link.registers.values;
    const GeneratorSettings& applied = app.GeneratorApplied;
    const GeneratorSettings& request = app.GeneratorRequest;
    const Calibration& calibration = link.calibration;
    GeneratorState& generator = link.generator;

    reg[kRegControl] &= ~static_cast<std::int64_t>(kControlClearOnBurst);
    const std::int64_t millivolts = RoundToInstrument(applied.PeakMillivolts);
    const int step = PeakVoltageStepIndex(millivolts);
    if (step >= 0) {
        reg[kRegAmplitude] = calibration.AmplitudeCodes[static_cast<size_t>(step)];
        reg[kRegAmplitudeZero] = calibration.AmplitudeZeroCode;
        if (kPeakVoltageSteps[static_cast<size_t>(step)].highRange) {
            reg[kRegControl] |= kControlHighRange;
        } else {
            reg[kRegControl] &= ~static_cast<std::int64_t>(kControlHighRange);
        }
    }
    reg[kRegPeakMillivolts] = millivolts;
    ApplyEffectiveResistance(generator, app.settings.ActiveInstrument, applied.SourceOhms);
    reg[kRegSourceOhms] = RoundToInstrument(applied.SourceOhms);
    if (const FrequencyStep* frequency =
            FindFrequencyStep(RoundToInstrument(applied.FrequencyHz))) {
        generator.SignaturePointCount = frequency->pointCount;
        generator.AccumulateA = frequency->accumulateA;
        generator.AccumulateB = frequency->accumulateB;
    }
    const double dcGain = calibration.DcBiasGain;
    const double dcOffset = calibration.DcBiasOffset;
    reg[kRegDcLevel] = RoundToInstrument(static_cast<double>(request.DcVolts) * dcGain + dcOffset);
    reg[kRegDcZero] = RoundToInstrument(dcOffset);
    reg[kRegPointCount] = generator.SignaturePointCount;
    reg[kRegAccumulateA] = generator.AccumulateA;
    reg[kRegAccumulateB] = generator.AccumulateB;
    reg[kRegFrequency] = RoundToInstrument(applied.FrequencyHz);
    reg[kRegScanSig] = request.ScanA;
    reg[kRegScanCom] = request.ScanB;
    reg[kRegDcMode] = request.DcMode;
    reg[kRegFixedFive] = 5;

    WriteRegisters(link, 30, 2);
    WriteRegisters(link, 0, 6);
    WriteRegisters(link, 6, 1);
    WriteRegisters(link, 7, 9);
    WriteRegisters(link, 16, 8);
}

}  // namespace orv
