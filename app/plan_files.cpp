#include "app/plan_files.h"

#include <string>
#include <vector>

#include "app/display_refresh.h"
#include "app/program.h"
#include "core/files.h"
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

// The recent entries as the list holds them; one whose file is not there cannot be
// chosen.
void ShowRecentEntries(Program& program) {
    const RecentPlans& recent = program.app.settings.TestPlanFileNameRecent;
    ui::Gui& gui = *program.gui;
    for (size_t k = 0; k < recent.size(); ++k) {
        if (!ui::MenuItemExists(gui, kMenuRecentFiles[k]))
            continue;
        ui::SetMenuItemText(gui, kMenuRecentFiles[k], recent[k]);
        ui::SetMenuItemEnabled(gui, kMenuRecentFiles[k], FileExists(recent[k]));
    }
}

// The plan just read or written under the current name is what its file holds.
void MarkCurrentPlanOnDisk(Program& program) {
    program.planOnDisk = MarkOnDisk(program.testPlan);
}

// What shows the current plan's name: the trees at the refresh, the scope at the
// redraw.
void ShowCurrentPlanName(Program& program) {
    RefreshUiState(program);
    program.position.RecordChanged = true;
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
    ShowRecentEntries(program);
}

void OpenTestPlan(Program& program, const std::string& name) {
    if (!LoadTestPlan(program.testPlan, program.log, name))
        return;
    MarkCurrentPlanOnDisk(program);
    StartAtHeader(program);
    RefreshUiState(program);
    WriteCurrentPlanName(program, name);
    ui::ClearTree(*program.gui, kControlTestTree);
    program.position.RecordChanged = true;
    UpdateRecentList(program);
}

void OpenRecentPlan(Program& program, size_t k) {
    if (MayLeavePlan(program))
        OpenTestPlan(program, program.app.settings.TestPlanFileNameRecent[k]);
}

void FileOpen(Program& program) {
    if (!MayLeavePlan(program))
        return;
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
    if (!SaveTestPlan(program.testPlan, program.log, name))
        return {};
    if (name == program.app.settings.TestPlanFileName)
        MarkCurrentPlanOnDisk(program);
    ShowRecentEntries(program);
    return name;
}

void FileSaveCopy(Program& program) {
    const std::string name = FileSave(program);
    const std::string& current = program.app.settings.TestPlanFileName;
    if (name.empty() || name == current)
        return;
    program.dialogs->ShowMessageBox("Save",
                                    "A copy of the plan was saved as " + name +
                                        ".\nThe program keeps working on " + current +
                                        "; Save As... goes on under the new name.",
                                    ui::BoxIcon::Information);
}

bool FileSaveAs(Program& program) {
    const std::string name = FileSave(program);
    if (name.empty())
        return false;
    WriteCurrentPlanName(program, name);
    MarkCurrentPlanOnDisk(program);
    UpdateRecentList(program);
    ShowCurrentPlanName(program);
    return true;
}

bool QuickSave(Program& program) {
    if (!SaveTestPlan(program.testPlan, program.log, program.app.settings.TestPlanFileName))
        return false;
    MarkCurrentPlanOnDisk(program);
    ShowRecentEntries(program);
    return true;
}

bool MayLeavePlan(Program& program) {
    if (!DiffersFromDisk(program.planOnDisk, program.testPlan))
        return true;
    switch (program.dialogs->AskSaveDiscardCancel(
        "Unsaved changes", "Save changes to " + CurrentPlanName(program) + "?")) {
        case ui::SaveAnswer::Save:
            // A plan without a name gets one first.
            return program.app.settings.TestPlanFileName.empty() ? FileSaveAs(program)
                                                                 : QuickSave(program);
        case ui::SaveAnswer::Discard:
            return true;
        case ui::SaveAnswer::Cancel:
            return false;
    }
    return false;
}

void FileNew(Program& program) {
    const std::string& mode = program.app.settings.Mode;
    if (mode == "Basic" || mode == "Basic-Auto") {
        ShowUserMessage(program.log,
                        "Info #0063 This function is only available in Advanced mode.");
        return;
    }
    if (mode != "Advanced" || !MayLeavePlan(program))
        return;
    // The plan in memory is given up only once the new one is named and written: a
    // cancelled dialog or a failed write changes nothing.
    TestPlan previous = std::move(program.testPlan);
    program.testPlan = TestPlan{};
    ResizeTable(program.testPlan, 1, kPlanColumns);
    const std::string name = FileSave(program);
    if (name.empty() || !LoadTestPlan(program.testPlan, program.log, name)) {
        program.testPlan = std::move(previous);
        return;
    }
    MarkCurrentPlanOnDisk(program);
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
