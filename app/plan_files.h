#pragma once
// The File menu's plan operations: New, Open (by dialog or from the recent list), Save,
// Save As and the save under the current name, the question before unsaved work is
// left, and the recent list they keep, in the settings file and on the menu.

#include <string>
#include <string_view>

namespace orv {

struct Program;

void FileNew(Program& program);
void FileOpen(Program& program);
// Opens the plan by name. A name that cannot be loaded is reported and changes
// nothing: the plan, its name, the settings and the recent list stay.
void OpenTestPlan(Program& program, const std::string& name);
// Recent entry k (0-based), after the question about unsaved work.
void OpenRecentPlan(Program& program, size_t k);
// Writes the plan under a name the user chooses; returns it, empty when cancelled or
// not written. The current plan name stays as it was.
std::string FileSave(Program& program);
// The menu's Save: FileSave, and a copy under another name is told as such, with the
// plan the program keeps working on.
void FileSaveCopy(Program& program);
// Saves under a name the user chooses and works on under that name from then on.
bool FileSaveAs(Program& program);
// Saves under the current plan name; false when nothing was written.
bool QuickSave(Program& program);
// True when the plan in memory may be replaced or the program ended: it is as its
// file holds it, or the user saved it or chose to discard it. False when they
// cancelled or the save failed; nothing has changed then.
bool MayLeavePlan(Program& program);
// The current plan name to the top of the recent list, and the menu relabelled.
void UpdateRecentList(Program& program);

}  // namespace orv
