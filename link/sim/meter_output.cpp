#include "link/sim/meter_output.h"

#include <algorithm>

#include "link/commands.h"

namespace orv::sim {

namespace {

constexpr int kRegDcLevel = 20;
constexpr int kRegDcMode = 22;
constexpr double kRailVolts = 12.0;

}  // namespace

double SocketVolts(const Instrument& instrument, OutputSocket socket) {
    std::lock_guard lock(instrument.mutex);
    if (!instrument.plugged)
        return 0.0;
    if (socket == OutputSocket::Red) {
        return DriveFromRegisters(instrument.registers, instrument.hardware, instrument.hasDcBias)
            .dcVolts;
    }
    const std::uint32_t mode = instrument.registers[kRegDcMode];
    if (!instrument.hasDcBias || mode < 2 || mode > 5)
        return 0.0;
    const HardwareConstants& h = instrument.hardware;
    const auto code = static_cast<std::int32_t>(instrument.registers[kRegDcLevel]);
    return std::clamp((code - h.dcBiasZeroCode) / h.dcBiasCodesPerVolt, -kRailVolts, kRailVolts);
}

}  // namespace orv::sim
