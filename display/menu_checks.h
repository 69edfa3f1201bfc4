#pragma once
// The check marks of the main window's menus follow the settings: each group of
// choices is a set of radio marks on the item whose stored value the setting holds.
// The same table tells the menu commands which value each item stands for.

#include <array>
#include <string>
#include <string_view>

#include "core/app_state.h"
#include "ui/control_numbers.h"
#include "ui/gui.h"

namespace orv {

struct MenuChoice {
    int command;
    std::string_view value;  // the setting's text when this item is marked
};

// A group of radio items and the text setting it shows, with the setting's key.
struct MenuRadioGroup {
    std::string Settings::*setting;
    std::string_view key;
    std::array<MenuChoice, 10> choices;  // command 0 ends the group
};

inline constexpr std::array<MenuRadioGroup, 9> kMenuRadioGroups = {{
    {&Settings::Scope1GraticuleMode,
     "ORV_Scope1GraticuleMode",
     {{{kMenuGraticule[0], "On"}, {kMenuGraticule[1], "Off"}}}},
    {&Settings::Scope1CrosshairMode,
     "ORV_Scope1CrosshairMode",
     {{{kMenuCrosshairs[0], "On"}, {kMenuCrosshairs[1], "Classic"}, {kMenuCrosshairs[2], "Off"}}}},
    {&Settings::ScopeXCrosshairMode,
     "ORV_ScopeXCrosshairMode",
     {{{kMenuMiniCrosshairs[0], "On"}, {kMenuMiniCrosshairs[1], "Off"}}}},
    {&Settings::PCBCrosshairType,
     "ORV_PCBCrosshairType",
     {{{kMenuPcbCrosshairs[0], "1 line"}, {kMenuPcbCrosshairs[1], "3 line"}}}},
    {&Settings::OpenCircuitDetectThreshold,
     "ORV_OpenCircuitDetectThreshold",
     {{{kMenuOpenCircuitThresholds[0], "0.25%"},
       {kMenuOpenCircuitThresholds[1], "0.50%"},
       {kMenuOpenCircuitThresholds[2], "1.00%"}}}},
    {&Settings::StableSignatureDetectThreshold,
     "ORV_StableSignatureDetectThreshold",
     {{{kMenuStableThresholds[0], "0.50%"},
       {kMenuStableThresholds[1], "1.00%"},
       {kMenuStableThresholds[2], "2.00%"}}}},
    {&Settings::SignatureCaptureDelay,
     "ORV_SignatureCaptureDelay",
     {{{kMenuCaptureDelays[0], "2 cycles"},
       {kMenuCaptureDelays[1], "5 cycles"},
       {kMenuCaptureDelays[2], "10 cycles"},
       {kMenuCaptureDelays[3], "15 cycles"},
       {kMenuCaptureDelays[4], "20 cycles"}}}},
    {&Settings::GoldenVsLiveThreshold,
     "ORV_GoldenVsLiveThreshold",
     {{{kMenuDifferenceThresholds[0], "0.50%"},
       {kMenuDifferenceThresholds[1], "0.75%"},
       {kMenuDifferenceThresholds[2], "1.00%"},
       {kMenuDifferenceThresholds[3], "1.50%"},
       {kMenuDifferenceThresholds[4], "2.00%"},
       {kMenuDifferenceThresholds[5], "3.00%"},
       {kMenuDifferenceThresholds[6], "4.00%"},
       {kMenuDifferenceThresholds[7], "5.00%"}}}},
    {&Settings::DisplayView,
     "ORV_DisplayView",
     {{{kMenuViews[0], "9miniscopes"},
       {kMenuViews[1], "6miniscopes+TestTree"},
       {kMenuViews[2], "3miniscopes+TestTree"},
       {kMenuViews[3], "3miniscopes+PCB"},
       {kMenuViews[4], "3miniscopes+PCB+TestTree"},
       {kMenuViews[5], "2miniscopes+PCB+TestTree"},
       {kMenuViews[6], "PCB"},
       {kMenuViews[7], "3miniscopes+TestTree+BadTree"},
       {kMenuViews[8], "2miniscopes+PCB+TestTree+BadTree"},
       {kMenuViews[9], "miniscope+PCB+TestTree+BadTree"}}}},
}};

// The group and choice a menu command stands for; null when it is none of them.
struct MenuRadioHit {
    const MenuRadioGroup* group = nullptr;
    const MenuChoice* choice = nullptr;
};
MenuRadioHit FindMenuChoice(int command);

// The Change Instrument items and the models they choose.
inline constexpr std::array<std::string_view, 4> kMenuInstrumentModels = {"ORV310", "ORV311P",
                                                                          "ORV320", "ORV340"};

// The mark on the Change Instrument item of `chosenModel`; none when it names no item.
// Does nothing while the window has no menus.
void UpdateInstrumentChecks(ui::Gui& gui, std::string_view chosenModel);

// Every other check mark of the menus from the settings. A setting whose value no item
// of its group stands for leaves that group's marks as they are. Does nothing while
// the window has no menus.
void RefreshMenuChecks(ui::Gui& gui, const Settings& settings);

}  // namespace orv
