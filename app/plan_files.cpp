#include "app/plan_files.h"

#include <string>
#include <vector>

#include "app/display_refresh.h"
#include "app/program.h"
#include "core/settings.h"
#include "display/ribbon_tables.h"
#include "testplan/orv_file.h"
#include "testplan/recent_plans.h"
#include "ui/controls.h"

namespace orv {

namespace {

const std::vector<ui::FileFilter> kPlanFilters = {{"Test (*.orv)", "*.orv"},
                                                  {"All files (*.*)", "*.*"}};

void WriteCurrentPlanName(Program& program, const std::string& name) {
    program.app.settings.TestPlanFileName = name;
    WriteSetting(program.log, kSettingsFileName, "ORV_TestPlanFileName", name);
}

// Every record of the new plan is taken as new: the main cycle applies the settings
// of the next current record again.
void StartAtHeader(Program& program) {
    program.position.TestPlanIndex = 1;
    program.cycle.LastRecordShown = 0;
}

}  // namespace

void UpdateRecentList(Program& program) {
    Settings& settings = program.app.settings;
    RecentPlans& recent = settings.TestPlanFileNameRecent;
    if (BringToTop(recent, settings.TestPlanFileName) == RecentChange::Added) {
        for (size_t k = 0; k < recent.size(); ++k) {
            WriteSetting(program.log, kSettingsFileName,
                         "ORV_TestPlanFileNameRecent" + std::to_string(k + 1), recent[k]);
        }
    }
    ui::Gui& gui = *program.gui;
    for (size_t k = 0; k < recent.size(); ++k) {
        if (ui::MenuItemExists(gui, kMenuRecentFiles[k]))
            ui::SetMenuItemText(gui, kMenuRecentFiles[k], recent[k]);
    }
}

void OpenTestPlan(Program& program, const std::string& name) {
    LoadTestPlan(program.testPlan, program.log, name);
    StartAtHeader(program);
    RefreshUiState(program);
    WriteCurrentPlanName(program, name);
    ui::ClearTree(*program.gui, kControlTestTree);
    program.position.RecordChanged = true;
    UpdateRecentList(program);
}

void FileOpen(Program& program) {
    const std::string name =
        program.dialogs->ChooseFileToOpen("Please choose a file to open", "*.orv", kPlanFilters);
    if (!name.empty())
        OpenTestPlan(program, name);
}

std::string FileSave(Program& program) {
    const std::string chosen = program.dialogs->ChooseFileToSave(
        "Please choose file to save", program.app.settings.TestPlanFileName, kPlanFilters);
    if (chosen.empty())
        return {};
    const std::string name = WithOrvExtension(chosen);
    SaveTestPlan(program.testPlan, program.log, name);
    return name;
}

void FileNew(Program& program) {
    const std::string& mode = program.app.settings.Mode;
    if (mode == "Basic" || mode == "Basic-Auto") {
        ShowUserMessage(program.log,
                        "Info #0063 This function is only available in Advanced mode.");
        return;
    }
    if (mode != "Advanced")
        return;
    // The plan in memory, with results perhaps not saved, is given up only once the
    // user has named the new one: a cancelled dialog changes nothing.
    TestPlan previous = std::move(program.testPlan);
    program.testPlan = TestPlan{};
    ResizeTable(program.testPlan, 1, kPlanColumns);
    const std::string name = FileSave(program);
    if (name.empty()) {
        program.testPlan = std::move(previous);
        return;
    }
    LoadTestPlan(program.testPlan, program.log, name);
    StartAtHeader(program);
    RefreshUiState(program);
    WriteCurrentPlanName(program, name);
    UpdateRecentList(program);
    ui::Gui& gui = *program.gui;
    ui::SetControlChecked(gui, kControlEditCapture, true);
    program.working.WorkingMode = kManualCapture;
    ui::ClearTree(gui, kControlTestTree);
    program.display.traceRefreshRequested = true;
    program.position.RecordChanged = true;
    FillRecordTrees(program);
    RefreshUiState(program);
}

}  // namespace orv
