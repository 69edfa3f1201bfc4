#include "display/ribbon.h"

#include "core/instrument_model.h"
#include "display/ribbon_tables.h"
#include "link/generator_tables.h"
#include "ui/controls.h"

namespace orv {

namespace {

using ui::ControlKind;
using ui::Rect;

// Rows run down from a position v: a section's header goes one pitch below v and its
// first row two pitches below; every further row one pitch lower.
struct RunningPosition {
    int v = 0;

    int NextRow() { return v += kRibbonRowPitch; }
    // Returns the header's y; v becomes the section's first row.
    int StartSection() {
        const int header = v + kRibbonRowPitch;
        v += 2 * kRibbonRowPitch;
        return header;
    }
};

Rect Left(int y, int height = kRibbonControlHeight) {
    return {kRibbonLeftX, y, kRibbonHalfWidth, height};
}
Rect Right(int y, int height = kRibbonControlHeight) {
    return {kRibbonRightX, y, kRibbonHalfWidth, height};
}
Rect Full(int y) {
    return {kRibbonLeftX, y, kRibbonFullWidth, kRibbonControlHeight};
}

template <size_t N>
std::vector<std::string> Texts(const std::array<std::string_view, N>& items) {
    return {items.begin(), items.end()};
}

// Everything the builder needs, so each helper takes one argument for it.
struct Builder {
    ui::Gui& gui;
    const Settings& settings;
    const PictureLookup& pictures;

    void Add(int number, ControlKind kind, const Rect& rect, std::string_view text = {},
             std::string_view tip = {}) {
        ui::CreateControl(gui, ui::kMainWindow, number, kind, rect, std::string(text),
                          kControlRibbonPanel);
        if (!tip.empty())
            ui::SetControlTooltip(gui, number, std::string(tip));
    }

    void Header(int number, int y, std::string_view text) {
        Add(number, ControlKind::Label, {0, y, kRibbonPanelWidth, kHeaderHeight}, text);
        ui::SetControlColours(gui, number, settings.ColourHeaderText, settings.ColourHeader);
        ui::SetControlFont(gui, number, kHeaderFont);
        ui::SetControlAlignment(gui, number, ui::TextAlign::Centre);
    }

    void StatusText(int number, const Rect& rect, std::string_view text) {
        Add(number, ControlKind::Label, rect, text);
        ui::SetControlColours(gui, number, settings.ColourPanelText, settings.ColourPanel);
        ui::SetControlFont(gui, number, kStatusTextFont);
        ui::SetControlAlignment(gui, number, ui::TextAlign::Centre);
    }

    void Picture(int number, ControlKind kind, const Rect& rect, std::string_view file) {
        Add(number, kind, rect);
        const auto found = pictures.find(std::string(file));
        if (found != pictures.end())
            ui::SetControlImage(gui, number, found->second);
    }

    void List(int number, const Rect& rect, const std::vector<std::string>& items,
              int selected = 0) {
        Add(number, ControlKind::List, rect);
        ui::SetListItems(gui, number, items);
        ui::SetListSelection(gui, number, selected);
        // "Sqr-Hard" and " -10.00V" are the widest texts for their width.
        if (rect.width == kRibbonHalfWidth)
            ui::SetControlFont(gui, number, kRibbonCompactFont);
    }
};

void BuildInstrumentStatus(Builder& b, RunningPosition& at, std::string_view model) {
    b.Header(kControlInstrumentStatusHeader, 0, "Instrument Status");
    // The indicator sits right under the header; clicks on it reach the window, whose
    // hit test treats it as the connect button.
    b.Picture(kControlConnectionIndicator, ControlKind::ImageArea,
              {0, kHeaderHeight, kRibbonHalfWidth, kRibbonControlHeight}, kPictureNotConnected);
    at.NextRow();
    if (IsSmallFamily(model)) {
        b.StatusText(kControlInstrumentStatusText, Full(at.NextRow()), kInstrumentStatusStartText);
    }
}

void BuildSignatureGenerator(Builder& b, RunningPosition& at, std::string_view model) {
    b.Header(kControlSignatureGeneratorHeader, at.StartSection(), "Signature Generator");
    b.Add(kControlVoltagePlus, ControlKind::Button, Left(at.v), "V+");
    b.Add(kControlVoltageMinus, ControlKind::Button, Right(at.v), "V-");
    at.NextRow();
    b.Add(kControlResistancePlus, ControlKind::Button, Left(at.v), "Ohm+");
    b.Add(kControlResistanceMinus, ControlKind::Button, Right(at.v), "Ohm-");
    at.NextRow();
    b.Add(kControlFrequencyPlus, ControlKind::Button, Left(at.v), "Freq+");
    b.Add(kControlFrequencyMinus, ControlKind::Button, Right(at.v), "Freq-");
    b.List(kControlVoltageList, Full(at.NextRow()), VoltageListItems());
    b.List(kControlResistanceList, Full(at.NextRow()), ResistanceListItems(model));
    b.List(kControlFrequencyList, Full(at.NextRow()), FrequencyListItems());
    at.NextRow();
    b.Picture(kControlProbeButtonA, ControlKind::ImageButton, Left(at.v), kPictureButtonAIdle);
    b.Picture(kControlProbeButtonB, ControlKind::ImageButton, Right(at.v), kPictureButtonBIdle);
    b.List(kControlProbeFunctionA, Full(at.NextRow()),
           ProbeFunctionListItems(kProbeFunctionPrefixA), kProbeFunctionAStartItem);
    b.List(kControlProbeFunctionB, Full(at.NextRow()),
           ProbeFunctionListItems(kProbeFunctionPrefixB), kProbeFunctionBStartItem);
}

void BuildDcGenerator(Builder& b, RunningPosition& at) {
    b.Header(kControlDcGeneratorHeader, at.StartSection(), "DC Generator");
    b.List(kControlDcModeList, Left(at.v), Texts(kDcGeneratorModes));
    b.List(kControlDcLevelList, Right(at.v), DcLevelListItems(), kDcLevelStartItem);
}

void BuildScanner(Builder& b, RunningPosition& at) {
    b.Header(kControlScannerHeader, at.StartSection(), "Scanner");
    b.List(kControlScanSignalList, Left(at.v), ScannerListItems(kScanSignalPrefix));
    b.List(kControlScanCommonList, Right(at.v), ScannerListItems(kScanCommonPrefix));
}

void BuildTestControls(Builder& b, RunningPosition& at) {
    b.Header(kControlTestControlsHeader, at.StartSection(), "Test Controls");
    const int firstRow = at.v;
    b.Add(kControlPreviousRecord, ControlKind::Button, Left(at.v), "<", "Goto previous Pin/record");
    b.Add(kControlNextRecord, ControlKind::Button, Right(at.v), ">", "Goto next Pin/record");
    at.NextRow();
    b.Add(kControlPreviousComponent, ControlKind::Button, Left(at.v), "<<",
          "Goto previous Component");
    b.Add(kControlNextComponent, ControlKind::Button, Right(at.v), ">>", "Goto next Component");
    // The Basic mode's freeze toggles take the place of the first two rows.
    const int twoRows = 2 * kRibbonControlHeight;
    b.Add(kControlFreezeGolden, ControlKind::ToggleButton, Left(firstRow, twoRows),
          kFreezeGoldenText);
    b.Add(kControlFreezeDut, ControlKind::ToggleButton, Right(firstRow, twoRows), kFreezeDutText);
    ui::SetControlFont(b.gui, kControlFreezeGolden, kRibbonCompactFont);
    ui::SetControlFont(b.gui, kControlFreezeDut, kRibbonCompactFont);
    at.NextRow();
    b.Add(kControlFirstRecord, ControlKind::Button, Left(at.v), "First", "Goto first record");
    b.Add(kControlLastRecord, ControlKind::Button, Right(at.v), "Last", "Goto last record");
    b.Add(kControlAutoFreeze, ControlKind::ToggleButton, Full(at.v), "Auto Freeze");
    at.NextRow();
    b.Add(kControlUseFileSettings, ControlKind::CheckBox, Left(at.v), "V/R/Hz",
          "(I) Use V/R/Hz settings from file, (O) Use current V/R/Hz settings");
    ui::SetControlChecked(b.gui, kControlUseFileSettings, true);
    b.Add(kControlResetTest, ControlKind::Button, Right(at.v), "Reset test",
          "Clear all GOOD/BAD results ready for new test");
    at.NextRow();
    b.StatusText(kControlGoodPercent, Left(at.v + 2), kPercentStartText);
    b.StatusText(kControlBadPercent, Right(at.v + 2), kPercentStartText);
    at.NextRow();
    b.Picture(kControlGood, ControlKind::ImageButton,
              {0, at.v, kRibbonHalfWidth, kRibbonControlHeight}, kPictureGood);
    // As high as the Good picture beside it: any taller and it would reach into the
    // working-mode picture's row, off-centre and covering part of it.
    b.Picture(kControlBad, ControlKind::ImageButton, Right(at.v), kPictureBad);
    at.NextRow();
    b.Picture(kControlWorkingMode, ControlKind::ImageButton,
              {0, at.v, kRibbonFullWidth, kRibbonControlHeight}, kPictureWorkingModeStart);
}

void BuildEditControls(Builder& b, RunningPosition& at) {
    b.Header(kControlEditControlsHeader, at.StartSection(), "Edit Controls");
    b.Add(kControlEditCapture, ControlKind::CheckBox, Full(at.v), "Edit/Capture signature",
          "(I) Capture/edit mode, (O) Test board mode");
    b.Add(kControlEditRecords, ControlKind::Button, Full(at.NextRow()), "Edit/Add Records",
          "Opens the 'Edit/Add Records & Images' window");
}

// The two rows under the last control, wrapped to the ribbon's width; hidden until a
// notice has something to say.
void BuildRunNotice(Builder& b, RunningPosition& at) {
    b.Add(kControlRunNotice, ControlKind::Label,
          {kRibbonLeftX, at.NextRow(), kRibbonFullWidth, 2 * kRibbonRowPitch});
    ui::SetControlColours(b.gui, kControlRunNotice, b.settings.ColourPanelText,
                          b.settings.ColourPanel);
    ui::SetControlWordWrap(b.gui, kControlRunNotice);
    ui::SetControlVisible(b.gui, kControlRunNotice, false);
}

}  // namespace

void ShowRunNoticeText(ui::Gui& gui, const std::string& text) {
    if (!ui::ControlExists(gui, kControlRunNotice))
        return;
    ui::SetControlText(gui, kControlRunNotice, text);
    ui::SetControlVisible(gui, kControlRunNotice, !text.empty());
}

bool HasDcGenerator(std::string_view model) {
    return model == "ORV320" || model == "ORV340" || model == "ORV340X";
}

bool HasScanner(std::string_view model) {
    return model == "ORV340" || model == "ORV340X";
}

std::vector<std::string> VoltageListItems() {
    std::vector<std::string> items;
    for (const PeakVoltageStep& step : kPeakVoltageSteps) {
        if (!step.label.empty())  // the start value is no choice
            items.emplace_back(step.label);
    }
    return items;
}

std::vector<std::string> ResistanceListItems(std::string_view model) {
    std::vector<std::string> items;
    for (const ResistanceStep& step : SourceResistancesFor(model))
        items.emplace_back(step.label);
    return items;
}

std::vector<std::string> FrequencyListItems() {
    std::vector<std::string> items;
    for (const FrequencyStep& step : kFrequencySteps)
        items.emplace_back(step.label);
    return items;
}

std::vector<std::string> DcLevelListItems() {
    std::vector<std::string> items;
    for (const DcLevelStep& step : kDcLevels)
        items.emplace_back(step.label);
    return items;
}

std::vector<std::string> ScannerListItems(std::string_view prefix) {
    std::vector<std::string> items = {std::string(kScanOff)};
    for (int channel = 1; channel <= kScannerChannels; ++channel)
        items.push_back(std::string(prefix) + std::to_string(channel));
    return items;
}

std::vector<std::string> ProbeFunctionListItems(std::string_view prefix) {
    std::vector<std::string> items;
    for (const ProbeFunction& function : kProbeFunctions)
        items.push_back(std::string(prefix) + std::string(function.name));
    return items;
}

void BuildControlRibbon(ui::Gui& gui, const Settings& settings, const PictureLookup& pictures) {
    if (!ui::CreateControl(
            gui, ui::kMainWindow, kControlRibbonPanel, ControlKind::Panel,
            {kRibbonPanelX, kRibbonPanelY, kRibbonPanelWidth, kRibbonPanelStartHeight})) {
        return;
    }
    ui::SetControlColours(gui, kControlRibbonPanel, settings.ColourPanelText, settings.ColourPanel);
    // Every control in the panel takes its font, except the headers and status texts.
    ui::SetControlFont(gui, kControlRibbonPanel, kRibbonControlFont);
    Builder builder{gui, settings, pictures};
    RunningPosition at;
    const std::string& model = settings.ActiveInstrument;
    BuildInstrumentStatus(builder, at, model);
    BuildSignatureGenerator(builder, at, model);
    if (HasDcGenerator(model))
        BuildDcGenerator(builder, at);
    if (HasScanner(model))
        BuildScanner(builder, at);
    BuildTestControls(builder, at);
    BuildEditControls(builder, at);
    BuildRunNotice(builder, at);
}

}  // namespace orv
