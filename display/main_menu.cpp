#include "display/main_menu.h"

#include <string>
#include <vector>

#include "ui/control_numbers.h"
#include "ui/controls.h"

namespace orv {

namespace {

constexpr bool kCheck = true;
constexpr bool kPlain = false;

// The menu bar, top to bottom; depth 0 are the bar's menus. A line with command 0 and
// text opens a (sub)menu holding the deeper lines after it.
constexpr MenuLine kMenuLines[] = {
    {0, "File", 0, kPlain},
    {1, "New", kMenuFileNew, kPlain},
    {1, "Open", kMenuFileOpen, kPlain},
    {1, "Save", kMenuFileSave, kPlain},
    {1, "Export Test Report...", kMenuFileExportReport, kPlain},
    {1, "Save As...", kMenuFileSaveAs, kPlain},
    {1, "", 0, kPlain},
    {1, "Open Recent", 0, kPlain},
    {2, "testplans/demo_A.orv", kMenuRecentFiles[0], kPlain},
    {2, "testplans/demo_B.orv", kMenuRecentFiles[1], kPlain},
    {2, "testplans/demo_C.orv", kMenuRecentFiles[2], kPlain},
    {2, "testplans/demo_D.orv", kMenuRecentFiles[3], kPlain},
    {2, "testplans/demo_E.orv", kMenuRecentFiles[4], kPlain},
    {2, "testplans/demo_F.orv", kMenuRecentFiles[5], kPlain},
    {2, "testplans/demo_G.orv", kMenuRecentFiles[6], kPlain},
    {2, "testplans/demo_H.orv", kMenuRecentFiles[7], kPlain},
    {0, "Instrument", 0, kPlain},
    {1, "Connect", kMenuConnect, kCheck},
    {1, "Disconnect", kMenuDisconnect, kCheck},
    {1, "", 0, kPlain},
    {1, "Change Instrument", 0, kPlain},
    {2, "ORV310", kMenuInstruments[0], kCheck},
    {2, "ORV311P", kMenuInstruments[1], kCheck},
    {2, "ORV320", kMenuInstruments[2], kCheck},
    {2, "ORV340", kMenuInstruments[3], kCheck},
    {0, "Mode", 0, kPlain},
    {1, "Compact", kMenuModeCompact, kCheck},
    {1, "Advanced", kMenuModeAdvanced, kCheck},
    {0, "Test", 0, kPlain},
    {1, "Allow Signature Overwrite (AUTO CAPTURE)", kMenuAllowOverwrite, kCheck},
    {1, "Open Circuit Detect Threshold (AUTO TEST/AUTO CAPTURE)", 0, kPlain},
    {2, "0.25%", kMenuOpenCircuitThresholds[0], kCheck},
    {2, "0.5% (default)", kMenuOpenCircuitThresholds[1], kCheck},
    {2, "1.0%", kMenuOpenCircuitThresholds[2], kCheck},
    {1, "Stable Signature Detect Threshold (AUTO TEST/AUTO CAPTURE)", 0, kPlain},
    {2, "0.5%", kMenuStableThresholds[0], kCheck},
    {2, "1.0% (default)", kMenuStableThresholds[1], kCheck},
    {2, "2.0%", kMenuStableThresholds[2], kCheck},
    {1, "Stable Signature Delay (AUTO TEST/AUTO CAPTURE)", 0, kPlain},
    {2, " 2 cycles", kMenuCaptureDelays[0], kCheck},
    {2, " 5 cycles", kMenuCaptureDelays[1], kCheck},
    {2, "10 cycles (default)", kMenuCaptureDelays[2], kCheck},
    {2, "15 cycles", kMenuCaptureDelays[3], kCheck},
    {2, "20 cycles", kMenuCaptureDelays[4], kCheck},
    {1, "", 0, kPlain},
    {1, "Golden vs. Live Signature Difference Threshold (AUTO TEST)", 0, kPlain},
    {2, "0.5%", kMenuDifferenceThresholds[0], kCheck},
    {2, "0.75%", kMenuDifferenceThresholds[1], kCheck},
    {2, "1.0%", kMenuDifferenceThresholds[2], kCheck},
    {2, "1.5% (default)", kMenuDifferenceThresholds[3], kCheck},
    {2, "2.0%", kMenuDifferenceThresholds[4], kCheck},
    {2, "3.0%", kMenuDifferenceThresholds[5], kCheck},
    {2, "4.0%", kMenuDifferenceThresholds[6], kCheck},
    {2, "5.0%", kMenuDifferenceThresholds[7], kCheck},
    {1, "", 0, kPlain},
    {1, "Collapse Test Tree", kMenuCollapseTestTree, kPlain},
    {0, "Scope", 0, kPlain},
    {1, "Graticule", 0, kPlain},
    {2, "On (default)", kMenuGraticule[0], kCheck},
    {2, "Off", kMenuGraticule[1], kCheck},
    {1, "Crosshairs", 0, kPlain},
    {2, "On (default)", kMenuCrosshairs[0], kCheck},
    {2, "Classic", kMenuCrosshairs[1], kCheck},
    {2, "Off", kMenuCrosshairs[2], kCheck},
    {1, "", 0, kPlain},
    {1, "Crosshairs (mini-scopes)", 0, kPlain},
    {2, "On", kMenuMiniCrosshairs[0], kCheck},
    {2, "Off (default)", kMenuMiniCrosshairs[1], kCheck},
    {0, "Display", 0, kPlain},
    {1, "PCB Crosshairs", 0, kPlain},
    {2, "1 line", kMenuPcbCrosshairs[0], kCheck},
    {2, "3 line", kMenuPcbCrosshairs[1], kCheck},
    {1, "", 0, kPlain},
    {1, "Display Colours", kMenuDisplayColours, kPlain},
    {0, "Views", 0, kPlain},
    {1, "9 mini-scopes (default)", kMenuViews[0], kCheck},
    {1, "6 mini-scopes + TestTree", kMenuViews[1], kCheck},
    {1, "3 mini-scopes + TestTree", kMenuViews[2], kCheck},
    {1, "3 mini-scopes + TestTree + BadTree", kMenuViews[7], kCheck},
    {1, "3 mini-scopes + PCB", kMenuViews[3], kCheck},
    {1, "3 mini-scopes + PCB + TestTree", kMenuViews[4], kCheck},
    {1, "2 mini-scopes + PCB + TestTree + BadTree", kMenuViews[8], kCheck},
    {1, "2 mini-scopes + PCB + TestTree", kMenuViews[5], kCheck},
    {1, "1 mini-scope + PCB+ TestTree + BadTree", kMenuViews[9], kCheck},
    {1, "PCB", kMenuViews[6], kCheck},
    {0, "Utilities", 0, kPlain},
    {1, "Calibrate", 0, kPlain},
    {2, "Calibrate DAC/ADC", kMenuCalibrate, kPlain},
    {1, "", 0, kPlain},
    {1, "Daily Update Check", 0, kPlain},
    {2, "Daily Check for Releases", kMenuDailyCheck, kCheck},
    {0, "Help", 0, kPlain},
    {1, "About", kMenuAbout, kPlain},
    {1, "Support", 0, kPlain},
    {2, "Support Info", kMenuSupport, kPlain},
};

constexpr Shortcut kShortcuts[] = {
    {"Alt+W", kShortcutPreviousRecord},
    {"Alt+X", kShortcutNextRecord},
    {"Alt+Y", kShortcutPreviousComponent},
    {"Alt+Z", kShortcutNextComponent},
    {"Alt+B", kShortcutFirstRecord},
    {"Alt+E", kShortcutLastRecord},
    {"Alt+R", kShortcutResetResults},
    {"Alt+J", kShortcutGood},
    {"Alt+K", kShortcutBad},
    {"Alt+L", kShortcutAutomatic},
    {"Ctrl+S", kShortcutQuickSave},
};

// Numbers of the (sub)menus themselves, which no event carries.
constexpr int kFirstMenuNumber = 1;

}  // namespace

std::span<const MenuLine> MainMenuLines() {
    return kMenuLines;
}

std::span<const Shortcut> MainShortcuts() {
    return kShortcuts;
}

bool CreateMainMenu(ui::Gui& gui) {
    // The menu open at each depth; a line goes into the one a level above it.
    std::vector<int> open = {0};
    int nextMenu = kFirstMenuNumber;
    for (const MenuLine& line : kMenuLines) {
        open.resize(static_cast<size_t>(line.depth) + 1);
        const int parent = open.back();
        bool made = true;
        if (line.text.empty()) {
            ui::AddMenuSeparator(gui, ui::kMainWindow, parent);
        } else if (line.command == 0) {
            const int menu = nextMenu++;
            made = ui::AddMenu(gui, ui::kMainWindow, parent, menu, std::string(line.text));
            open.push_back(menu);
        } else {
            made = ui::AddMenuItem(gui, ui::kMainWindow, parent, line.command,
                                   std::string(line.text), line.checkable);
        }
        if (!made)
            return false;
    }
    return true;
}

bool CreateShortcuts(ui::Gui& gui) {
    for (const Shortcut& shortcut : kShortcuts) {
        if (!ui::AddShortcut(gui, ui::kMainWindow, std::string(shortcut.keys), shortcut.command))
            return false;
    }
    return true;
}

}  // namespace orv
