#pragma once
// The File menu's plan operations: New, Open (by dialog or from the recent list), Save,
// and the recent list they keep, in the settings file and on the menu.

#include <string>
#include <string_view>

namespace orv {

struct Program;

void FileNew(Program& program);
void FileOpen(Program& program);
// Opens the plan by name; a name that cannot be loaded still becomes current, with
// the error reported, and the plan in memory stays.
void OpenTestPlan(Program& program, const std::string& name);
// Saves under a name the user chooses; returns it, empty when cancelled. The current
// plan name stays as it was.
std::string FileSave(Program& program);
// The current plan name to the top of the recent list, and the menu relabelled.
void UpdateRecentList(Program& program);

}  // namespace orv
