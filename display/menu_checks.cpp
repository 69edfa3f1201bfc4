#include "display/menu_checks.h"

#include "ui/controls.h"

namespace orv {

namespace {

bool HasMenus(const ui::Gui& gui) {
    return ui::MenuItemExists(gui, kMenuFileNew);
}

void MarkRadio(ui::Gui& gui, const MenuRadioGroup& group, std::string_view value) {
    bool known = false;
    for (const MenuChoice& choice : group.choices)
        known = known || (choice.command != 0 && choice.value == value);
    if (!known)
        return;
    for (const MenuChoice& choice : group.choices) {
        if (choice.command != 0)
            ui::SetMenuItemChecked(gui, choice.command, choice.value == value);
    }
}

}  // namespace

MenuRadioHit FindMenuChoice(int command) {
    for (const MenuRadioGroup& group : kMenuRadioGroups) {
        for (const MenuChoice& choice : group.choices) {
            if (choice.command != 0 && choice.command == command)
                return {&group, &choice};
        }
    }
    return {};
}

void UpdateInstrumentChecks(ui::Gui& gui, std::string_view chosenModel) {
    if (!HasMenus(gui))
        return;
    for (size_t i = 0; i < kMenuInstruments.size(); ++i)
        ui::SetMenuItemChecked(gui, kMenuInstruments[i], kMenuInstrumentModels[i] == chosenModel);
}

void RefreshMenuChecks(ui::Gui& gui, const Settings& settings) {
    if (!HasMenus(gui))
        return;
    ui::SetMenuItemChecked(gui, kMenuDailyCheck, settings.CheckWebsiteForUpdate != 0);
    if (settings.AllowSignatureOverwrite == 0 || settings.AllowSignatureOverwrite == 1)
        ui::SetMenuItemChecked(gui, kMenuAllowOverwrite, settings.AllowSignatureOverwrite == 1);
    const std::string& mode = settings.Mode;
    if (mode == "Basic" || mode == "Basic-Auto" || mode == "Advanced") {
        ui::SetMenuItemChecked(gui, kMenuModeCompact, mode == "Basic");
        ui::SetMenuItemChecked(gui, kMenuModeAdvanced, mode == "Advanced");
    }
    for (const MenuRadioGroup& group : kMenuRadioGroups)
        MarkRadio(gui, group, settings.*group.setting);
}

}  // namespace orv
