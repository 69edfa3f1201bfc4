// The menu bar's and the shortcuts' commands. Settings choices are written at once and
// shown by the refresh that follows; the shortcuts run the same commands as the
// ribbon's controls.

#include <string>

#include "app/calibration_window.h"
#include "app/colours_window.h"
#include "app/commands.h"
#include "app/display_refresh.h"
#include "app/plan_files.h"
#include "app/program.h"
#include "app/report_export.h"
#include "core/settings.h"
#include "display/menu_checks.h"
#include "display/ribbon_tables.h"
#include "link/connection.h"
#include "testplan/navigation.h"
#include "ui/controls.h"

namespace orv {

namespace {

constexpr std::string_view kAboutText =
    "ORV signature analyser control program, (c) Korvane Instruments";
constexpr std::string_view kSupportText =
    "https://www.korvane.example/support\nsupport@korvane.example";

void Redraw(Program& program) {
    program.position.RecordChanged = true;
    program.display.traceRefreshRequested = true;
}

void WriteAndRefresh(Program& program, std::string_view key, const std::string& value) {
    WriteSetting(program.log, kSettingsFileName, key, value);
    RefreshUiState(program);
}

void SetMode(Program& program, std::string_view mode) {
    program.app.settings.Mode = std::string(mode);
    WriteAndRefresh(program, "ORV_Mode", program.app.settings.Mode);
}

void Toggle(Program& program, std::int64_t& setting, std::string_view key) {
    setting = setting == 0 ? 1 : 0;
    WriteAndRefresh(program, key, std::to_string(setting));
}

// A choice of a settings group: the value, written under the group's key, shown.
bool ChooseSetting(Program& program, int command) {
    const MenuRadioHit hit = FindMenuChoice(command);
    if (hit.group == nullptr)
        return false;
    std::string& setting = program.app.settings.*hit.group->setting;
    setting = std::string(hit.choice->value);
    WriteAndRefresh(program, hit.group->key, setting);
    // The scopes and the board view draw these; the thresholds need no redraw, and a
    // new view is laid out and redrawn by the refresh.
    const auto drawn = hit.group->setting;
    if (drawn == &Settings::Scope1GraticuleMode || drawn == &Settings::Scope1CrosshairMode ||
        drawn == &Settings::ScopeXCrosshairMode || drawn == &Settings::PCBCrosshairType) {
        Redraw(program);
    }
    return true;
}

void CollapseTestTree(Program& program) {
    ui::ClearTree(*program.gui, kControlTestTree);
    ui::ClearTree(*program.gui, kControlBadTree);
    FillRecordTrees(program);
    ui::CollapseTree(*program.gui, kControlTestTree);
}

// The shortcuts that do what a ribbon control does.
int RibbonControlOf(int command) {
    switch (command) {
        case kShortcutPreviousRecord:
            return kControlPreviousRecord;
        case kShortcutNextRecord:
            return kControlNextRecord;
        case kShortcutPreviousComponent:
            return kControlPreviousComponent;
        case kShortcutNextComponent:
            return kControlNextComponent;
        case kShortcutFirstRecord:
            return kControlFirstRecord;
        case kShortcutLastRecord:
            return kControlLastRecord;
        case kShortcutGood:
            return kControlGood;
        case kShortcutBad:
            return kControlBad;
        case kShortcutAutomatic:
            return kControlWorkingMode;
        default:
            return 0;
    }
}

}  // namespace

void HandleMenuCommand(Program& program, int command) {
    if (ChooseSetting(program, command))
        return;
    if (const int control = RibbonControlOf(command)) {
        HandlePanelCommand(program, control);
        return;
    }
    for (size_t k = 0; k < kMenuRecentFiles.size(); ++k) {
        if (command == kMenuRecentFiles[k]) {
            OpenRecentPlan(program, k);
            return;
        }
    }
    Settings& settings = program.app.settings;
    switch (command) {
        case kMenuFileNew:
            FileNew(program);
            break;
        case kMenuFileOpen:
            FileOpen(program);
            break;
        case kMenuFileSave:
            FileSaveCopy(program);
            break;
        case kMenuFileSaveAs:
            FileSaveAs(program);
            break;
        case kShortcutQuickSave:
            QuickSave(program);
            break;
        case kMenuFileExportReport:
            ExportTestReport(program);
            break;
        case kMenuConnect:
            ConnectMenuItem(program.link, program.app, program.log);
            break;
        case kMenuDisconnect:
            DisconnectMenuItem(program.link, program.log);
            break;
        case kMenuModeCompact:
            SetMode(program, "Basic");
            break;
        case kMenuModeBasicAuto:
            SetMode(program, "Basic-Auto");
            break;
        case kMenuModeAdvanced:
            SetMode(program, "Advanced");
            break;
        case kMenuCalibrate:
            OpenCalibrationWindow(program);
            break;
        case kMenuDisplayColours:
            OpenDisplayColoursWindow(program);
            break;
        case kMenuDailyCheck:
            Toggle(program, settings.CheckWebsiteForUpdate, "CheckWebsiteForUpdate");
            break;
        case kMenuAllowOverwrite:
            Toggle(program, settings.AllowSignatureOverwrite, "ORV_AllowSignatureOverwrite");
            break;
        case kMenuCollapseTestTree:
            CollapseTestTree(program);
            break;
        case kMenuAbout:
            program.dialogs->ShowMessageBox("About", std::string(kAboutText),
                                            ui::BoxIcon::Information);
            break;
        case kMenuSupport:
            program.dialogs->ShowMessageBox("Support", std::string(kSupportText),
                                            ui::BoxIcon::Information);
            break;
        case kShortcutResetResults:
            ResetResults(program.testPlan, program.position);
            break;
        default:
            break;
    }
}

}  // namespace orv
