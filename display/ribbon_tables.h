#pragma once
// The fixed data of the main window's controls: control and command numbers, the texts
// of the ribbon's lists, the probe-button functions, the ribbon's geometry and start
// pictures. The ribbon builder, the panel commands, the main cycle and the refresh all
// read them from here.

#include <array>
#include <string_view>

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

// Control numbers of the ribbon, the trees and the commands without a control.
inline constexpr int kControlInstrumentStatusHeader = 244;
inline constexpr int kControlTestTree = 246;
inline constexpr int kControlBadTree = 248;
inline constexpr int kControlRibbonPanel = 249;
inline constexpr int kControlConnectionIndicator = 252;
inline constexpr int kControlInstrumentStatusText = 253;
inline constexpr int kControlTestControlsHeader = 551;
inline constexpr int kControlEditControlsHeader = 552;
inline constexpr int kControlSignatureGeneratorHeader = 564;
inline constexpr int kControlVoltageList = 565;
inline constexpr int kCommandVoltageCycle = 566;
inline constexpr int kControlVoltagePlus = 567;
inline constexpr int kControlVoltageMinus = 568;
inline constexpr int kControlResistanceList = 569;
inline constexpr int kCommandResistanceCycle = 570;
inline constexpr int kControlResistancePlus = 571;
inline constexpr int kControlResistanceMinus = 572;
inline constexpr int kControlFrequencyList = 573;
inline constexpr int kCommandFrequencyCycle = 574;
inline constexpr int kControlFrequencyPlus = 575;
inline constexpr int kControlFrequencyMinus = 576;
inline constexpr int kControlDcModeList = 578;
inline constexpr int kControlDcLevelList = 579;
inline constexpr int kControlScanSignalList = 580;
inline constexpr int kControlScanCommonList = 581;
inline constexpr int kControlAutoFreeze = 582;
inline constexpr int kControlProbeButtonA = 588;
inline constexpr int kControlProbeButtonB = 589;
inline constexpr int kControlProbeFunctionA = 592;
inline constexpr int kControlProbeFunctionB = 593;
inline constexpr int kControlFreezeGolden = 596;
inline constexpr int kControlFreezeDut = 597;
inline constexpr int kControlNextRecord = 598;
inline constexpr int kControlPreviousRecord = 599;
inline constexpr int kControlNextComponent = 600;
inline constexpr int kControlPreviousComponent = 601;
inline constexpr int kControlFirstRecord = 602;
inline constexpr int kControlLastRecord = 603;
inline constexpr int kControlEditCapture = 606;
inline constexpr int kControlUseFileSettings = 607;  // the "V/R/Hz" check box
inline constexpr int kControlGood = 608;
inline constexpr int kControlBad = 609;
inline constexpr int kCommandFreeze = 610;
inline constexpr int kCommandThaw = 611;
inline constexpr int kControlResetTest = 613;
inline constexpr int kControlGoodPercent = 615;
inline constexpr int kControlBadPercent = 616;
inline constexpr int kControlEditRecords = 618;
inline constexpr int kControlWorkingMode = 619;

// Numbers of our own choosing for the controls that no command addresses: the display
// areas, the tree panels with their headers and the two optional ribbon headers. They
// sit in 2101..2199, clear of every menu, command and control number above.
inline constexpr int kControlMainScope = 2101;
inline constexpr std::array<int, 9> kControlMiniScopes = {2102, 2103, 2104, 2105, 2106,
                                                          2107, 2108, 2109, 2110};
inline constexpr int kControlBottomFiller = 2111;
inline constexpr int kControlPcbView = 2112;
inline constexpr int kControlTestTreePanel = 2113;
inline constexpr int kControlTestTreeHeader = 2114;
inline constexpr int kControlBadTreePanel = 2115;
inline constexpr int kControlBadTreeHeader = 2116;
inline constexpr int kControlDcGeneratorHeader = 2117;
inline constexpr int kControlScannerHeader = 2118;

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

}  // namespace orv
