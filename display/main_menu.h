#pragma once
// The main window's menu bar and its keyboard shortcuts: every label, in display order,
// with its command number. The check marks are the interface refresh's.

#include <span>
#include <string_view>

#include "ui/gui.h"

namespace orv {

// One line of the menu tree: a menu (command 0, its items follow one level deeper), an
// item, or a separator.
struct MenuLine {
    int depth;
    std::string_view text;  // empty for a separator
    int command;
    bool checkable;
};

// The keyboard shortcuts (the ten Alt ones and Ctrl+S), delivered as menu events.
struct Shortcut {
    std::string_view keys;
    int command;
};

// The menus of the bar and their items; false when the bar cannot be made.
bool CreateMainMenu(ui::Gui& gui);
// Binds the shortcuts; false when the window cannot take them.
bool CreateShortcuts(ui::Gui& gui);

// The menu tree the bar is built from, for the tests that read the bar back.
std::span<const MenuLine> MainMenuLines();
std::span<const Shortcut> MainShortcuts();

}  // namespace orv
