#pragma once
// Every number a window, control or menu command of the program is known by. Events
// arrive as {kind, number}, so two controls with one number would answer for each
// other: the checks at the end keep every number unique where it has to be.

#include <algorithm>
#include <array>
#include <span>

namespace orv {

// Windows besides the main one (ui::kMainWindow).
inline constexpr int kSimProbeWindow = 3;

// Main window: the ribbon, the trees and the commands without a control.
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
inline constexpr int kCommandFreeze = 610;  // probe functions only
inline constexpr int kCommandThaw = 611;
inline constexpr int kControlResetTest = 613;
inline constexpr int kControlGoodPercent = 615;
inline constexpr int kControlBadPercent = 616;
inline constexpr int kControlEditRecords = 618;
inline constexpr int kControlWorkingMode = 619;

// Main window: numbers of our own for the controls no command addresses (display
// areas, tree panels with their headers, optional ribbon headers), in 2101..2199.
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
// Under the edit controls: the open-pin prompt and the end-of-run counts.
inline constexpr int kControlRunNotice = 2125;

// The "Simulated probe" window, 3001..3099.
inline constexpr int kProbeUnitList = 3001;
inline constexpr int kProbeComponentList = 3002;
inline constexpr int kProbePinList = 3003;
inline constexpr int kProbeTouch = 3004;
inline constexpr int kProbeLift = 3005;
inline constexpr int kProbeHoldA = 3006;
inline constexpr int kProbeHoldB = 3007;
inline constexpr int kProbeFollowPlan = 3008;
inline constexpr int kProbeUnplug = 3009;
inline constexpr int kProbeReplug = 3010;
inline constexpr int kProbeCorrupt = 3011;
inline constexpr int kProbeShortRead = 3012;
inline constexpr int kProbeStall = 3013;
inline constexpr int kProbeText = 3014;
inline constexpr int kProbeUnitLabel = 3015;
inline constexpr int kProbePinLabel = 3016;
inline constexpr int kProbeFaultLabel = 3017;

// The record editor, window 7, numbers its controls (display/record_editor_controls.h)
// inside this range, checked there.
inline constexpr int kRecordEditorWindow = 7;
inline constexpr int kRecordEditorFirstControl = 7001;
inline constexpr int kRecordEditorLastControl = 7299;
// The calibration window (calibration/calibration_controls.h, window 4) keeps its own
// numbers inside this range, checked there.
inline constexpr int kCalibrationWindow = 4;
inline constexpr int kCalibrationFirstControl = 4001;
inline constexpr int kCalibrationLastControl = 4199;

// Menu commands of the main window's menu bar and shortcuts.
inline constexpr int kMenuFileNew = 25;
inline constexpr int kMenuFileOpen = 26;
inline constexpr int kMenuFileSave = 27;
// Numbered apart from the menu bar's other commands.
inline constexpr int kMenuFileExportReport = 901;
inline constexpr int kMenuFileSaveAs = 902;
inline constexpr int kShortcutQuickSave = 903;  // Ctrl+S: save under the current name
inline constexpr std::array<int, 8> kMenuRecentFiles = {555, 556, 557, 558, 559, 560, 561, 562};
inline constexpr int kMenuConnect = 235;
inline constexpr int kMenuDisconnect = 236;
inline constexpr std::array<int, 4> kMenuInstruments = {240, 241, 242, 243};
inline constexpr int kMenuModeCompact = 162;
inline constexpr int kMenuModeBasicAuto = 163;  // no menu item carries it
inline constexpr int kMenuModeAdvanced = 164;
inline constexpr int kMenuAllowOverwrite = 202;
inline constexpr std::array<int, 3> kMenuOpenCircuitThresholds = {172, 173, 174};
inline constexpr std::array<int, 5> kMenuCaptureDelays = {175, 176, 177, 178, 179};
inline constexpr std::array<int, 3> kMenuStableThresholds = {180, 181, 182};
inline constexpr std::array<int, 8> kMenuDifferenceThresholds = {183, 184, 185, 186,
                                                                 187, 188, 189, 190};
inline constexpr int kMenuCollapseTestTree = 201;
inline constexpr std::array<int, 2> kMenuGraticule = {49, 50};
inline constexpr std::array<int, 3> kMenuCrosshairs = {51, 52, 53};
inline constexpr std::array<int, 2> kMenuMiniCrosshairs = {54, 55};
inline constexpr std::array<int, 2> kMenuPcbCrosshairs = {60, 61};
inline constexpr int kMenuDisplayColours = 59;
inline constexpr std::array<int, 10> kMenuViews = {76, 77, 78, 79, 80, 81, 82, 83, 84, 85};
inline constexpr int kMenuCalibrate = 58;
inline constexpr int kMenuDailyCheck = 238;
inline constexpr int kMenuAbout = 146;
inline constexpr int kMenuSupport = 149;
inline constexpr int kShortcutFirstRecord = 191;
inline constexpr int kShortcutLastRecord = 192;
inline constexpr int kShortcutGood = 193;
inline constexpr int kShortcutBad = 194;
inline constexpr int kShortcutAutomatic = 195;
inline constexpr int kShortcutResetResults = 196;
inline constexpr int kShortcutPreviousRecord = 197;
inline constexpr int kShortcutNextRecord = 198;
inline constexpr int kShortcutPreviousComponent = 199;
inline constexpr int kShortcutNextComponent = 200;

namespace control_numbers {

template <size_t... N>
constexpr auto Join(const std::array<int, N>&... parts) {
    std::array<int, (N + ...)> all{};
    size_t at = 0;
    ((std::copy(parts.begin(), parts.end(), all.begin() + static_cast<std::ptrdiff_t>(at)),
      at += N),
     ...);
    return all;
}

template <size_t N>
constexpr bool AllDifferent(std::array<int, N> numbers) {
    std::sort(numbers.begin(), numbers.end());
    return std::adjacent_find(numbers.begin(), numbers.end()) == numbers.end();
}

template <size_t N>
constexpr bool NoneWithin(const std::array<int, N>& numbers, int first, int last) {
    return std::none_of(numbers.begin(), numbers.end(),
                        [&](int n) { return n >= first && n <= last; });
}

inline constexpr std::array<int, 59> kMainWindowSingles = {
    kControlInstrumentStatusHeader,
    kControlTestTree,
    kControlBadTree,
    kControlRibbonPanel,
    kControlConnectionIndicator,
    kControlInstrumentStatusText,
    kControlTestControlsHeader,
    kControlEditControlsHeader,
    kControlSignatureGeneratorHeader,
    kControlVoltageList,
    kCommandVoltageCycle,
    kControlVoltagePlus,
    kControlVoltageMinus,
    kControlResistanceList,
    kCommandResistanceCycle,
    kControlResistancePlus,
    kControlResistanceMinus,
    kControlFrequencyList,
    kCommandFrequencyCycle,
    kControlFrequencyPlus,
    kControlFrequencyMinus,
    kControlDcModeList,
    kControlDcLevelList,
    kControlScanSignalList,
    kControlScanCommonList,
    kControlAutoFreeze,
    kControlProbeButtonA,
    kControlProbeButtonB,
    kControlProbeFunctionA,
    kControlProbeFunctionB,
    kControlFreezeGolden,
    kControlFreezeDut,
    kControlNextRecord,
    kControlPreviousRecord,
    kControlNextComponent,
    kControlPreviousComponent,
    kControlFirstRecord,
    kControlLastRecord,
    kControlEditCapture,
    kControlUseFileSettings,
    kControlGood,
    kControlBad,
    kCommandFreeze,
    kCommandThaw,
    kControlResetTest,
    kControlGoodPercent,
    kControlBadPercent,
    kControlEditRecords,
    kControlWorkingMode,
    kControlMainScope,
    kControlBottomFiller,
    kControlPcbView,
    kControlTestTreePanel,
    kControlTestTreeHeader,
    kControlBadTreePanel,
    kControlBadTreeHeader,
    kControlDcGeneratorHeader,
    kControlScannerHeader,
    kControlRunNotice,
};
inline constexpr std::array<int, 17> kProbeWindowControls = {
    kProbeUnitList, kProbeComponentList, kProbePinList,    kProbeTouch,  kProbeLift,
    kProbeHoldA,    kProbeHoldB,         kProbeFollowPlan, kProbeUnplug, kProbeReplug,
    kProbeCorrupt,  kProbeShortRead,     kProbeStall,      kProbeText,   kProbeUnitLabel,
    kProbePinLabel, kProbeFaultLabel,
};
inline constexpr std::array<int, 28> kMenuSingles = {
    kMenuFileNew,           kMenuFileOpen,
    kMenuFileSave,          kMenuConnect,
    kMenuDisconnect,        kMenuModeCompact,
    kMenuModeBasicAuto,     kMenuModeAdvanced,
    kMenuAllowOverwrite,    kMenuCollapseTestTree,
    kMenuDisplayColours,    kMenuCalibrate,
    kMenuDailyCheck,        kMenuAbout,
    kMenuSupport,           kShortcutFirstRecord,
    kShortcutLastRecord,    kShortcutGood,
    kShortcutBad,           kShortcutAutomatic,
    kShortcutResetResults,  kShortcutPreviousRecord,
    kShortcutNextRecord,    kShortcutPreviousComponent,
    kShortcutNextComponent, kMenuFileExportReport,
    kMenuFileSaveAs,        kShortcutQuickSave,
};

inline constexpr auto kAllControls =
    Join(kMainWindowSingles, kControlMiniScopes, kProbeWindowControls);
inline constexpr auto kAllMenuCommands =
    Join(kMenuSingles, kMenuRecentFiles, kMenuInstruments, kMenuOpenCircuitThresholds,
         kMenuCaptureDelays, kMenuStableThresholds, kMenuDifferenceThresholds, kMenuGraticule,
         kMenuCrosshairs, kMenuMiniCrosshairs, kMenuPcbCrosshairs, kMenuViews);

// Controls and menu commands reach the same dispatchers through different event
// kinds, but the probe functions and shortcuts share their numbers with both: one
// number, one meaning.
static_assert(AllDifferent(kAllControls), "two controls share a number");
static_assert(AllDifferent(kAllMenuCommands), "two menu commands share a number");
static_assert(AllDifferent(Join(kAllControls, kAllMenuCommands)),
              "a menu command and a control share a number");
static_assert(NoneWithin(Join(kAllControls, kAllMenuCommands), kRecordEditorFirstControl,
                         kRecordEditorLastControl),
              "a number lies in the record editor's range");
static_assert(NoneWithin(Join(kAllControls, kAllMenuCommands), kCalibrationFirstControl,
                         kCalibrationLastControl),
              "a number lies in the calibration window's range");

}  // namespace control_numbers

// The "Display Colours" window, 6001..6099: per colour row (in the window's order) a
// button with its name, a swatch and a " < set to default" button.
inline constexpr int kDisplayColoursWindow = 5;
inline constexpr int kColoursFirstControl = 6001;
inline constexpr int kColoursLastControl = 6099;
inline constexpr std::array<int, 14> kColoursRowButtons = {
    6001, 6002, 6003, 6004, 6005, 6006, 6007, 6008, 6009, 6010, 6011, 6012, 6013, 6014};
inline constexpr std::array<int, 14> kColoursSwatches = {6021, 6022, 6023, 6024, 6025, 6026, 6027,
                                                         6028, 6029, 6030, 6031, 6032, 6033, 6034};
inline constexpr std::array<int, 14> kColoursRowDefaults = {
    6041, 6042, 6043, 6044, 6045, 6046, 6047, 6048, 6049, 6050, 6051, 6052, 6053, 6054};
inline constexpr int kColoursScopeHeading = 6061;
inline constexpr int kColoursRibbonHeading = 6062;
inline constexpr int kColoursNote = 6063;
inline constexpr int kColoursDarkMode = 6064;

namespace control_numbers {

inline constexpr std::array<int, 4> kWindows = {kSimProbeWindow, kCalibrationWindow,
                                                kDisplayColoursWindow, kRecordEditorWindow};
inline constexpr auto kColoursWindowControls =
    Join(kColoursRowButtons, kColoursSwatches, kColoursRowDefaults,
         std::array<int, 4>{kColoursScopeHeading, kColoursRibbonHeading, kColoursNote,
                            kColoursDarkMode});

// 1 is the main window.
static_assert(AllDifferent(kWindows) && NoneWithin(kWindows, 1, 1), "two windows share a number");
static_assert(AllDifferent(Join(kAllControls, kAllMenuCommands, kColoursWindowControls)),
              "a colours window control shares a number");
static_assert(!NoneWithin(kColoursWindowControls, kColoursFirstControl, kColoursLastControl) &&
                  NoneWithin(kColoursWindowControls, 0, kColoursFirstControl - 1) &&
                  NoneWithin(kColoursWindowControls, kColoursLastControl + 1, 1 << 30),
              "a colours window control lies outside its range");
static_assert(NoneWithin(Join(kAllControls, kAllMenuCommands), kColoursFirstControl,
                         kColoursLastControl),
              "a number lies in the colours window's range");
constexpr bool Disjoint(int first1, int last1, int first2, int last2) {
    return last1 < first2 || first1 > last2;
}
static_assert(Disjoint(kColoursFirstControl, kColoursLastControl, kRecordEditorFirstControl,
                       kRecordEditorLastControl) &&
                  Disjoint(kColoursFirstControl, kColoursLastControl, kCalibrationFirstControl,
                           kCalibrationLastControl),
              "the colours window's range overlaps another window's");

}  // namespace control_numbers

}  // namespace orv
