#include "display/ui_refresh.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "core/instrument_model.h"
#include "display/menu_checks.h"
#include "display/ribbon.h"
#include "display/ribbon_tables.h"
#include "display/window_layout.h"
#include "link/generator_tables.h"
#include "ui/controls.h"

namespace orv {

namespace {

void SelectGeneratorLists(ui::Gui& gui, const UiRefreshInput& in) {
    const GeneratorSettings& request = in.request;
    const std::string& model = in.settings.ActiveInstrument;
    ui::SetListSelection(gui, kControlVoltageList, VoltageItemFor(request.PeakMillivolts));
    ui::SetListSelection(gui, kControlResistanceList, ResistanceItemFor(request.SourceOhms, model));
    ui::SetListSelection(gui, kControlFrequencyList, FrequencyItemFor(request.FrequencyHz));
    if (HasScanner(model)) {
        ui::SetListSelection(gui, kControlScanSignalList, request.ScanA);
        ui::SetListSelection(gui, kControlScanCommonList, request.ScanB);
    }
}

// The test controls of each working mode: what may be pressed, and what the three
// pictures show.
struct WorkingModeLook {
    bool navigation;
    bool results;
    Picture good;
    std::optional<Picture> bad;
    Picture workingMode;
    bool editRecords;
};

constexpr std::array<WorkingModeLook, 4> kWorkingModeLooks = {{
    {true, true, Picture::Good72x23, Picture::Bad72x23, Picture::AutoTestYellow, false},
    {true, false, Picture::SingleCaptureGreen, std::nullopt, Picture::AutoCaptureYellow, true},
    {false, true, Picture::GoodGrey72x23, Picture::BadGrey72x23, Picture::TestInProgressGreen,
     false},
    {false, false, Picture::SingleCaptureGrey, std::nullopt, Picture::CaptureInProgressGreen, true},
}};

constexpr std::array<int, 6> kNavigationControls = {
    kControlPreviousRecord, kControlNextRecord,  kControlPreviousComponent,
    kControlNextComponent,  kControlFirstRecord, kControlLastRecord};
constexpr std::array<int, 3> kResultControls = {kControlResetTest, kControlGoodPercent,
                                                kControlBadPercent};

// Sets a picture only when it is another one, so an unchanged refresh repaints nothing.
void ShowPicture(ui::Gui& gui, int control, const QImage& picture) {
    if (ui::ControlImage(gui, control).cacheKey() != picture.cacheKey())
        ui::SetControlImage(gui, control, picture);
}

void ShowWorkingMode(ui::Gui& gui, int workingMode, const Media& media) {
    if (workingMode < kManualTest || workingMode > static_cast<int>(kWorkingModeLooks.size()))
        return;
    const WorkingModeLook& look = kWorkingModeLooks[static_cast<size_t>(workingMode - kManualTest)];
    for (const int control : kNavigationControls)
        ui::SetControlEnabled(gui, control, look.navigation);
    for (const int control : kResultControls)
        ui::SetControlEnabled(gui, control, look.results);
    ShowPicture(gui, kControlGood, PictureOf(media, look.good));
    ShowPicture(gui, kControlBad, look.bad ? PictureOf(media, *look.bad) : QImage());
    ShowPicture(gui, kControlWorkingMode, PictureOf(media, look.workingMode));
    ui::SetControlEnabled(gui, kControlEditRecords, look.editRecords);
}

void ShowResultPercentages(ui::Gui& gui, const RecordTreeCache& trees, int rows) {
    const int records = rows - 1;
    ui::SetControlText(gui, kControlGoodPercent, ResultPercentText(trees.goodRecords, records));
    ui::SetControlText(gui, kControlBadPercent, ResultPercentText(trees.badRecords, records));
}

// Where the Basic mode's last ribbon control ends, in the window.
int BasicRibbonBottom(const ui::Gui& gui) {
    if (!ui::ControlExists(gui, kControlRibbonPanel) || !ui::ControlExists(gui, kControlAutoFreeze))
        return 0;
    const ui::Rect panel = ui::ControlRect(gui, kControlRibbonPanel);
    const ui::Rect autoFreeze = ui::ControlRect(gui, kControlAutoFreeze);
    return panel.y + autoFreeze.y + autoFreeze.height + kRibbonPanelY;
}

std::optional<ViewLayout> ShowModeAndView(ui::Gui& gui, const Settings& s, WindowSizing& seen) {
    auto size = WindowSizeOnChange(seen, s.Mode, s.DisplayView);
    if (!size)
        return std::nullopt;
    const bool basic = IsBasicMode(s.Mode);
    // 408 pixels would cut off the freeze toggles and "Auto Freeze", which sit lower
    // still on the models with the DC generator and the scanner: the Basic window
    // grows just enough to show them.
    if (basic) {
        size->height = std::max(size->height,
                                BasicRibbonBottom(gui) + ui::MenuBarHeight(gui, ui::kMainWindow));
    }
    for (const int control : kAdvancedModeOnlyControls)
        ui::SetControlVisible(gui, control, !basic);
    for (const int control : kBasicModeOnlyControls)
        ui::SetControlVisible(gui, control, basic);
    ShowViewAreas(gui, s.Mode, s.DisplayView);
    // The previous mode's scroll height must not hold the new size up; the layout
    // sets the new one.
    ui::SetMinimumInnerHeight(gui, ui::kMainWindow, 0);
    ui::ResizeWindow(gui, ui::kMainWindow, size->width, size->height);
    FitMainWindowOnScreen(gui);
    return ApplyViewLayout(gui, s.Mode, s.DisplayView);
}

}  // namespace

int VoltageItemFor(float millivolts) {
    const std::int64_t v = RoundToInstrument(millivolts);
    // Upper ends of the ranges of items 0 to 9.
    constexpr std::array<std::int64_t, 10> kBelow = {300,  500,  700,  900,  1500,
                                                     2500, 3500, 4500, 7500, 12500};
    if (v < 0)
        return 4;
    for (size_t item = 0; item < kBelow.size(); ++item) {
        if (v < kBelow[item])
            return static_cast<int>(item);
    }
    return 4;
}

int ResistanceItemFor(float ohms, std::string_view model) {
    const std::int64_t r = RoundToInstrument(ohms);
    const auto steps = SourceResistancesFor(model);
    for (size_t item = 0; item < steps.size(); ++item) {
        if (steps[item].ohms == r)
            return static_cast<int>(item);
    }
    return 0;
}

int FrequencyItemFor(float hertz) {
    const std::int64_t f = RoundToInstrument(hertz);
    for (size_t item = 0; item < kFrequencySteps.size(); ++item) {
        if (kFrequencySteps[item].hertz == f)
            return static_cast<int>(item);
    }
    return 3;
}

std::string ResultPercentText(int count, int records) {
    const double percent = records > 0 ? 100.0 * count / records : 0.0;
    char text[32];
    std::snprintf(text, sizeof text, "%.2f%%", percent);
    return text;
}

std::optional<ViewLayout> RefreshUiState(ui::Gui& gui, const UiRefreshInput& in, WindowSizing& seen,
                                         RecordTreeCache& trees) {
    UpdateInstrumentChecks(gui, in.chosenInstrument);
    const RecordTreeCache& made = CurrentRecordTrees(trees, in.plan, in.planName, in.treeIcons);
    FillTestTree(gui, kControlTestTree, made.test, in.current);
    FillBadTree(gui, kControlBadTree, made.bad, made.badTooltips);
    RefreshMenuChecks(gui, in.settings);
    SelectGeneratorLists(gui, in);
    ShowWorkingMode(gui, in.workingMode, in.media);
    ShowResultPercentages(gui, made, RowCount(in.plan));
    return ShowModeAndView(gui, in.settings, seen);
}

}  // namespace orv
