#include "calibration/calibration_layout.h"

#include <array>
#include <vector>

#include "calibration/calibration_controls.h"
#include "calibration/calibration_values.h"
#include "calibration/dmm_client.h"
#include "core/colours.h"
#include "ui/controls.h"

namespace orv {

namespace {

using namespace calibration;
using ui::ControlKind;

struct BlockTexts {
    const char* step;
    const char* setOutput;
    const char* adjust;
    const char* calibrate;
    const char* calibrateButton;
};

constexpr std::array<BlockTexts, kBlockCount> kBlockTexts = {{
    {"2. Press button --->", "Set output: +10V", "Adjust to +10.00V using controls below:",
     "3. Press button to calibrate the ADC/DAC to +10.00V --->", "Calibrate +10.00V"},
    {"4. Press button --->", "Set output: +1V", "Adjust to +1.00V using controls below:",
     "5. Press button to calibrate the DAC to +1.00V --->", "Calibrate +1.00V"},
    {"6. Press button --->", "Set output: 0V", "Adjust to 0.00V using controls below:",
     "7. Press button to calibrate the DAC to 0.00V --->", "Calibrate 0.00V"},
    {"8. Press button --->", "Set output: -1V", "Adjust to -1.00V using controls below:",
     "9. Press button to calibrate the DAC to -1.00V --->", "Calibrate -1.00V"},
    {"10. Press button --->", "Set output: -10V", "Adjust to -10.00V using controls below:",
     "11. Press button to calibrate the ADC/DAC to -10.00V --->", "Calibrate -10.00V"},
    {"13. Press button --->", "Set output: +10V", "Adjust to +10.00V using controls below:",
     "14. Press button to calibrate the DCBIAS DAC to +10.00V --->", "Calibrate +10.00V"},
    {"15. Press button --->", "Set output: -10V", "Adjust to -10.00V using controls below:",
     "16. Press button to calibrate the DCBIAS DAC to -10.00V --->", "Calibrate -10.00V"},
}};

constexpr std::array<const char*, 6> kAdjustTexts = {
    "++Course Adj.", "+Course Adj.", "+Fine Adj.", "-Fine Adj.", "-Course Adj.", "--Course Adj."};

constexpr int kMargin = 10;
constexpr int kTextHeight = 20;
constexpr int kBlockHeight = 80;
constexpr int kButtonX = 440;
constexpr int kButtonWidth = 180;
constexpr int kAdjustPitch = 102;
constexpr int kAdjustWidth = 98;
constexpr int kRowPitch = 24;  // inside the panel
constexpr int kFieldX = 96;
constexpr int kFieldPitch = 86;
constexpr int kFieldWidth = 80;

void Text(ui::Gui& gui, int number, const ui::Rect& rect, const std::string& text, int panel = 0) {
    ui::CreateControl(gui, kWindow, number, ControlKind::Label, rect, text, panel);
}

void Button(ui::Gui& gui, int number, const ui::Rect& rect, const std::string& text,
            int panel = 0) {
    ui::CreateControl(gui, kWindow, number, ControlKind::Button, rect, text, panel);
}

void Field(ui::Gui& gui, int number, int column, int y, const std::string& text) {
    ui::CreateControl(gui, kWindow, number, ControlKind::TextField,
                      {kFieldX + column * kFieldPitch, y, kFieldWidth, kTextHeight}, text, kPanel);
}

void BuildBlock(ui::Gui& gui, int block, int y) {
    const BlockTexts& texts = kBlockTexts[static_cast<std::size_t>(block)];
    Text(gui, BlockControl(block, kBlockStepText), {kMargin, y, 420, kTextHeight}, texts.step);
    Button(gui, BlockControl(block, kBlockSetOutput), {kButtonX, y, kButtonWidth, kTextHeight},
           texts.setOutput);
    Text(gui, BlockControl(block, kBlockAdjustText), {kMargin, y + 20, 600, 18}, texts.adjust);
    for (int i = 0; i < 6; ++i) {
        Button(gui, BlockControl(block, kBlockFirstAdjust + i),
               {kMargin + i * kAdjustPitch, y + 38, kAdjustWidth, kTextHeight},
               kAdjustTexts[static_cast<std::size_t>(i)]);
    }
    Text(gui, BlockControl(block, kBlockCalibrateText), {kMargin, y + 59, 425, kTextHeight},
         texts.calibrate);
    Button(gui, BlockControl(block, kBlockCalibrate), {kButtonX, y + 59, kButtonWidth, kTextHeight},
           texts.calibrateButton);
}

void BuildPanel(ui::Gui& gui, int y, bool largeFamily, const std::string& dmmAddress) {
    const int rows = largeFamily ? 7 : 6;
    ui::CreateControl(gui, kWindow, kPanel, ControlKind::Panel, {5, y, 620, rows * kRowPitch + 4});
    Text(gui, kPanelHeader, {4, 2, 140, kTextHeight}, "Factory/Debug only", kPanel);
    ui::SetControlColours(gui, kPanelHeader, MakeColour(0, 0, 0), kColourYellow);
    Button(gui, kLoadDefaults, {150, 2, 120, 22}, "Load Defaults", kPanel);
    int row = 26;
    Text(gui, kDacLabel, {4, row, 88, kTextHeight}, "DAC:", kPanel);
    Field(gui, kDacLive, 0, row, "--");
    for (int i = 0; i < kLevelCount; ++i)
        Field(gui, kDacFields[static_cast<std::size_t>(i)], 1 + i, row, "--");
    // Columns: live, +10 V, +1 V, 0 V, -1 V, -10 V; the rows below keep to them.
    if (largeFamily) {
        row += kRowPitch;
        Text(gui, kDcBiasLabel, {4, row, 88, kTextHeight}, "DCBIAS DAC:", kPanel);
        Field(gui, kDcBiasFields[0], 1, row, "--");
        Field(gui, kDcBiasFields[1], 5, row, "--");
    }
    row += kRowPitch;
    Text(gui, kAdc0Label, {4, row, 88, kTextHeight}, "ADC0:", kPanel);
    Field(gui, kAdc0Live, 0, row, "--");
    Field(gui, kAdc0Fields[0], 1, row, "--");
    Field(gui, kAdc0Fields[1], 3, row, "--");
    Field(gui, kAdc0Fields[2], 5, row, "--");
    row += kRowPitch;
    Text(gui, kAdc1Label, {4, row, 88, kTextHeight}, "ADC1:", kPanel);
    Field(gui, kAdc1Live, 0, row, "--");
    Field(gui, kAdc1Fields[0], 1, row, "--");
    Field(gui, kAdc1Fields[1], 3, row, "--");
    Field(gui, kAdc1Fields[2], 5, row, "--");
    row += kRowPitch;
    Text(gui, kDmmLabel, {4, row, 40, kTextHeight}, "DMM>", kPanel);
    ui::CreateControl(gui, kWindow, kDmmAddress, ControlKind::TextField,
                      {46, row, 130, kTextHeight}, dmmAddress, kPanel);
    Button(gui, kDmmConnect, {180, row, 90, 22}, "Connect", kPanel);
    ui::CreateControl(gui, kWindow, kDmmRange, ControlKind::List, {274, row, 76, 22}, {}, kPanel);
    std::vector<std::string> ranges;
    for (const DmmRange& range : kDmmRanges)
        ranges.emplace_back(range.text);
    ui::SetListItems(gui, kDmmRange, ranges);
    ui::SetListSelection(gui, kDmmRange, kDmmStartRangeIndex);
    Button(gui, kDmmMeasure, {354, row, 76, 22}, "Measure", kPanel);
    ui::CreateControl(gui, kWindow, kDmmReadingField, ControlKind::TextField,
                      {434, row, 100, kTextHeight}, "-", kPanel);
    ui::CreateControl(gui, kWindow, kGo, ControlKind::ToggleButton, {538, row, 76, 22}, "Go!",
                      kPanel);
    row += kRowPitch;
    ui::CreateControl(gui, kWindow, kStatus, ControlKind::TextField, {4, row, 526, kTextHeight}, "",
                      kPanel);
    ui::CreateControl(gui, kWindow, kCountdown, ControlKind::TextField, {538, row, 76, kTextHeight},
                      "-", kPanel);
}

}  // namespace

std::string CalibrationWindowTitle(std::string_view model) {
    return "Calibrate " + std::string(model) + " ADC/DAC";
}

std::string ConnectInstruction(std::string_view model) {
    if (model == "ORV311P")
        return "1. Connect ORV311P probe tip to DVM(+) and ORV311P ground lead to DVM(-)";
    if (model == "ORV340X")
        return "1. Connect ORV340X RED socket to DVM(+) and ORV340 BLACK socket to DVM(-)";
    const std::string m(model);
    return "1. Connect " + m + " RED socket to DVM(+) and " + m + " BLACK socket to DVM(-)";
}

std::string DcBiasConnectInstruction(std::string_view model) {
    if (model == "ORV340X")
        return "12. Connect ORV340X BLUE socket to DVM(+) and ORV340 BLACK socket to DVM(-)";
    const std::string m(model);
    return "12. Connect " + m + " BLUE socket to DVM(+) and " + m + " BLACK socket to DVM(-)";
}

std::string StoreInstruction(std::string_view model, bool largeFamily) {
    return std::string(largeFamily ? "17." : "12.") +
           " Press button below to store calibration values in " + std::string(model) +
           ". Calibration now completed.";
}

void BuildCalibrationWindow(ui::Gui& gui, std::string_view model, bool largeFamily,
                            const std::string& dmmAddress) {
    Text(gui, kConnectText, {kMargin, 4, 610, kTextHeight}, ConnectInstruction(model));
    int y = 28;
    for (int block = 0; block < kLevelBlockCount; ++block, y += kBlockHeight)
        BuildBlock(gui, block, y);
    if (largeFamily) {
        Text(gui, kDcBiasConnectText, {kMargin, y + 2, 610, kTextHeight},
             DcBiasConnectInstruction(model));
        y += 24;
        for (int block = kLevelBlockCount; block < kBlockCount; ++block, y += kBlockHeight)
            BuildBlock(gui, block, y);
    }
    Text(gui, kStoreText, {kMargin, y + 2, 610, kTextHeight}, StoreInstruction(model, largeFamily));
    Button(gui, kStore, {kMargin, y + 24, 220, 24}, "Store Calibration Values");
    BuildPanel(gui, y + 54, largeFamily, dmmAddress);
}

}  // namespace orv
