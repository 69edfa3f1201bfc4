#pragma once
// The "Display Colours" window: the fourteen colours of the scopes and the control
// ribbon, each row with its name, its own default and its dark-mode value; what a
// click on the window does to the colours, and how they are written.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/app_state.h"
#include "core/colours.h"
#include "core/event_log.h"
#include "ui/controls.h"
#include "base/dialogs.h"

namespace orv {

struct ColourRow {
    std::string_view label;  // on the row's button
    std::string_view key;    // in the settings file
    ColourNumber Settings::*field;
    ColourNumber rowDefault;  // its " < set to default" button
    ColourNumber darkMode;    // the "dark mode" preset
};

inline constexpr int kColourRowCount = 14;
inline constexpr int kScopeColourRows = 8;  // the first rows; the rest are the ribbon's

// In the window's order: eight scope colours, then six ribbon colours.
inline constexpr std::array<ColourRow, kColourRowCount> kColourRows = {{
    {"Scope Background > ", "ORV_ColourScope1Background", &Settings::ColourScope1Background,
     kColourBlack, kColourBlack},
    {"Scope Outline > ", "ORV_ColourScope1Outline", &Settings::ColourScope1Outline,
     kColourDarkGreen, kColourDarkGreen},
    {"Scope Graticule > ", "ORV_ColourScope1Graticule", &Settings::ColourScope1Graticule,
     kColourDarkGreen, kColourDarkGreen},
    {"Scope Crosshair > ", "ORV_ColourScopeXCrosshair", &Settings::ColourScopeXCrosshair,
     kColourDarkGreen, kColourDarkGreen},
    {"Scope Text > ", "ORV_ColourScope1Text", &Settings::ColourScope1Text, kColourWhite,
     kColourWhite},
    {"Live Signature > ", "ORV_ColourScopeXTraceLiveSig", &Settings::ColourScopeXTraceLiveSig,
     kColourRed, kColourRed},
    {"Golden Signature > ", "ORV_ColourScopeXTraceGoldenSig", &Settings::ColourScopeXTraceGoldenSig,
     kColourBlue, kColourGold},
    {"DUT Signature > ", "ORV_ColourScopeXTraceDUTSig", &Settings::ColourScopeXTraceDUTSig,
     kColourYellow, kColourBlue},
    {"Background > ", "ORV_ColourBackground", &Settings::ColourBackground, kColourCharcoal,
     kColourCharcoal},
    {"Panel > ", "ORV_ColourPanel", &Settings::ColourPanel, kColourGreyGreen, kColourGreyGreen},
    {"Panel Window > ", "ORV_ColourPanelWindow", &Settings::ColourPanelWindow, kColourIndigo,
     MakeColour(0, 0, 34)},
    {"Panel Text > ", "ORV_ColourPanelText", &Settings::ColourPanelText, kColourWhite,
     kColourWhite},
    {"Header > ", "ORV_ColourHeader", &Settings::ColourHeader, kColourBlack, kColourBlack},
    {"Header Text > ", "ORV_ColourHeaderText", &Settings::ColourHeaderText, kColourOrange,
     kColourOrange},
}};

// The order in which every change writes the keys; it is not quite the window's
// order (the scope text comes before the crosshair).
inline constexpr std::array<std::string_view, kColourRowCount> kColourWriteOrder = {
    "ORV_ColourScope1Background",
    "ORV_ColourScope1Outline",
    "ORV_ColourScope1Graticule",
    "ORV_ColourScope1Text",
    "ORV_ColourScopeXCrosshair",
    "ORV_ColourScopeXTraceLiveSig",
    "ORV_ColourScopeXTraceGoldenSig",
    "ORV_ColourScopeXTraceDUTSig",
    "ORV_ColourBackground",
    "ORV_ColourPanel",
    "ORV_ColourPanelWindow",
    "ORV_ColourPanelText",
    "ORV_ColourHeader",
    "ORV_ColourHeaderText",
};

inline constexpr std::string_view kColoursWindowTitle = "Display Colours";
inline constexpr int kColoursWindowWidth = 445;
inline constexpr int kColoursWindowHeight = 500;

// Top of row 0..13: the scope rows take lines 1 to 8, the ribbon rows lines 10 to 15,
// under their own heading.
int ColourRowTop(int row);

// What a click on the window asks for.
struct ColourAction {
    enum class Kind { None, Choose, RowDefault, DarkMode };
    Kind kind = Kind::None;
    int row = -1;
};
ColourAction ColourActionOf(int control);

// Carries out the action on the colours; true when the colours were set (a confirmed
// choice, a row default or the preset), false for a cancelled chooser or no action.
bool ApplyColourAction(Settings& settings, const ColourAction& action, ui::Dialogs& dialogs);

struct SettingWrite {
    std::string_view key;
    std::string value;
    bool operator==(const SettingWrite&) const = default;
};
// The fourteen colours as the settings lines take them, in the write order.
std::vector<SettingWrite> ColourSettingsToWrite(const Settings& settings);
// Writes them to the settings file, one key after the other.
void WriteColourSettings(EventLog& log, const Settings& settings);

// Opens the window with its controls and swatches; false when it cannot be opened.
bool BuildColoursWindow(ui::Gui& gui, const Settings& settings);

// Every swatch shows its row's current colour.
void FillColourSwatches(ui::Gui& gui, const Settings& settings);

}  // namespace orv
