#pragma once
// The main window's display areas, made once at start-up before the first layout: the
// main scope, the nine mini-scopes, the bottom filler and the PCB view as image areas,
// and the test tree and bad tree panels, each with its header and tree. The layout
// moves and sizes them later; their numbers are in display/ribbon_tables.h.

#include "core/app_state.h"
#include "ui/gui.h"

namespace orv {

void CreateDisplayAreas(ui::Gui& gui, const Settings& settings);

}  // namespace orv
