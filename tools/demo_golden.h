#pragma once
// Golden signatures of the known-good simulated board, measured the way the program
// measures them: through the link to the simulated instrument, pin by pin, each frame
// scaled with the calibration the instrument reports.

#include <optional>
#include <vector>

#include "core/app_state.h"
#include "link/sim/board.h"
#include "tools/sim_capture.h"

namespace orv::demo {

using GoldenSignature = CapturedSignature;

// One signature per pin, in the order given, or nothing when the instrument could not
// be reached. Writes the connection's log and calibration file into the working
// directory, so it belongs in a scratch folder.
std::optional<std::vector<GoldenSignature>> MeasureGoldenSignatures(
    const std::vector<sim::BoardPin>& pins, const GeneratorSettings& settings);

}  // namespace orv::demo
