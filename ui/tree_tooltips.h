#pragma once
// Tooltips of tree entries, given beside the entries themselves (SetTreeEntries in
// controls.h) as the icons are: one text per entry, empty for none. Kept apart from
// TreeEntry so that a tree without tooltips never carries them.

#include <string>
#include <vector>

#include "ui/gui.h"

namespace orv::ui {

// tooltips[i] becomes entry i's tooltip, changed only where it differs; entries beyond
// the list get none.
void SetTreeTooltips(Gui& gui, int number, const std::vector<std::string>& tooltips);
std::string TreeTooltip(const Gui& gui, int number, int index);

}  // namespace orv::ui
