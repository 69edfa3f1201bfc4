#pragma once
// The calibration window's contents: every text of both families and where each
// control sits.

#include <string>
#include <string_view>

#include "ui/gui.h"

namespace orv {

// Inner sizes: the small family has no DC bias blocks.
inline constexpr int kCalibrationWindowX = 300;
inline constexpr int kCalibrationWindowY = 0;
inline constexpr int kCalibrationWindowWidth = 630;
inline constexpr int kSmallFamilyWindowHeight = 640;
inline constexpr int kLargeFamilyWindowHeight = 840;

std::string CalibrationWindowTitle(std::string_view model);
std::string ConnectInstruction(std::string_view model);
std::string DcBiasConnectInstruction(std::string_view model);
std::string StoreInstruction(std::string_view model, bool largeFamily);

// Creates every control of the window, with its start text.
void BuildCalibrationWindow(ui::Gui& gui, std::string_view model, bool largeFamily,
                            const std::string& dmmAddress);

}  // namespace orv
