#pragma once
// The fixed data of the main window's controls: the texts of the ribbon's lists, the
// probe-button functions, the ribbon's geometry and start pictures. The ribbon builder,
// the panel commands, the main cycle and the refresh all read them from here; the
// control numbers are ui/control_numbers.h's.

#include <array>
#include <string_view>

#include "ui/control_numbers.h"
#include "ui/controls.h"

namespace orv {

// Ribbon geometry inside its panel.
inline constexpr int kRibbonPanelX = 2;
inline constexpr int kRibbonPanelY = 2;
inline constexpr int kRibbonPanelWidth = 144;
inline constexpr int kRibbonPanelStartHeight = 100;  // the layout stretches it
inline constexpr int kRibbonLeftX = 2;
inline constexpr int kRibbonRightX = 73;
inline constexpr int kRibbonHalfWidth = 70;
inline constexpr int kRibbonFullWidth = 140;
inline constexpr int kRibbonControlHeight = 23;
inline constexpr int kRibbonRowPitch = 26;
inline constexpr int kHeaderHeight = 23;

// Fonts of the main window's headers and status texts.
inline const ui::FontSpec kHeaderFont{"Arial", 11, false, false};
inline const ui::FontSpec kStatusTextFont{"Arial", 10, false, true};
// The ribbon's buttons, lists and check boxes: the column's fixed widths were made for
// a compact control font; the desktop's default clips "Edit/Capture signature". The
// half-width lists and the freeze toggles ("Golden Frozen" too) need a size smaller.
inline const ui::FontSpec kRibbonControlFont{"Arial", 8, false, false};
inline const ui::FontSpec kRibbonCompactFont{"Arial", 7, false, false};

// Which ribbon controls each mode shows; the refresh swaps the two groups.
inline constexpr std::array<int, 3> kBasicModeOnlyControls = {
    kControlFreezeGolden, kControlFreezeDut, kControlAutoFreeze};
inline constexpr std::array<int, 16> kAdvancedModeOnlyControls = {kControlPreviousRecord,
                                                                  kControlNextRecord,
                                                                  kControlPreviousComponent,
                                                                  kControlNextComponent,
                                                                  kControlFirstRecord,
                                                                  kControlLastRecord,
                                                                  kControlUseFileSettings,
                                                                  kControlResetTest,
                                                                  kControlGoodPercent,
                                                                  kControlBadPercent,
                                                                  kControlGood,
                                                                  kControlBad,
                                                                  kControlWorkingMode,
                                                                  kControlEditControlsHeader,
                                                                  kControlEditCapture,
                                                                  kControlEditRecords};

// Pictures the ribbon starts with.
inline constexpr std::string_view kPictureNotConnected = "graphics/button_no-connect.png";
inline constexpr std::string_view kPictureButtonAIdle = "graphics/buttonA_grey.png";
inline constexpr std::string_view kPictureButtonBIdle = "graphics/buttonB_grey.png";
inline constexpr std::string_view kPictureGood = "graphics/good_72x23.png";
inline constexpr std::string_view kPictureBad = "graphics/bad_72x23.png";
inline constexpr std::string_view kPictureWorkingModeStart = "graphics/autocapture_yellow.png";

// The generator lists' texts and values are the generator tables' (link/).
inline constexpr int kDcLevelStartItem = 20;  // " 0V"

// The scanner lists: "Off", then this prefix with the channels 1 to 40.
inline constexpr std::string_view kScanSignalPrefix = "Sig: ";
inline constexpr std::string_view kScanCommonPrefix = "Com: ";
inline constexpr std::string_view kScanOff = "Off";

// The functions a probe button can run: a press gives the command number once, as if
// that ribbon command had been given (0: nothing). The A list shows each name after
// "A= ", the B list after "B= ".
struct ProbeFunction {
    std::string_view name;
    int command = 0;
};
inline constexpr std::array<ProbeFunction, 16> kProbeFunctions = {{
    {"No Function", 0},
    {"Cycle Resistance", kCommandResistanceCycle},
    {"Resistance+", kControlResistancePlus},
    {"Resistance-", kControlResistanceMinus},
    {"Cycle Frequency", kCommandFrequencyCycle},
    {"Frequency+", kControlFrequencyPlus},
    {"Frequency-", kControlFrequencyMinus},
    {"Cycle Voltage", kCommandVoltageCycle},
    {"Voltage+", kControlVoltagePlus},
    {"Voltage-", kControlVoltageMinus},
    {"GOOD/CAPTURE", kControlGood},
    {"BAD", kControlBad},
    {"+1 test", kControlNextRecord},
    {"-1 test", kControlPreviousRecord},
    {"FREEZE", kCommandFreeze},
    {"THAW", kCommandThaw},
}};
inline constexpr std::string_view kProbeFunctionPrefixA = "A= ";
inline constexpr std::string_view kProbeFunctionPrefixB = "B= ";
inline constexpr int kProbeFunctionAStartItem = 4;  // Cycle Frequency
inline constexpr int kProbeFunctionBStartItem = 7;  // Cycle Voltage

// Texts the refresh and the commands write into ribbon controls.
inline constexpr std::string_view kInstrumentStatusStartText = "--";
inline constexpr std::string_view kPercentStartText = "0.00%";
inline constexpr std::string_view kFreezeGoldenText = "Freeze Golden";
inline constexpr std::string_view kFreezeDutText = " Freeze   DUT ";
inline constexpr std::string_view kGoldenFrozenText = "Golden Frozen";
inline constexpr std::string_view kDutFrozenText = "  DUT   Frozen";

}  // namespace orv
