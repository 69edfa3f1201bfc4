#pragma once
// Puts the main window's areas where the layout grid says, and shows the ones the
// mode and view call for.

#include <string_view>

#include "display/grid_layout.h"
#include "display/window_place.h"
#include "ui/gui.h"

namespace orv {

// Lays every area out for the window's current inner size; the returned layout gives
// the image sizes the renderers draw at.
ViewLayout ApplyViewLayout(ui::Gui& gui, std::string_view mode, std::string_view view);

// Shows and hides the image areas and tree panels for the mode and view.
void ShowViewAreas(ui::Gui& gui, std::string_view mode, std::string_view view);

// The main window's place on the desktop now.
WindowPlace MainWindowPlace(const ui::Gui& gui);
// Puts the main window at the place, moved and shrunk until its frame lies on a screen.
void PlaceMainWindow(ui::Gui& gui, const WindowPlace& place);
// The same for the place the window has now.
void FitMainWindowOnScreen(ui::Gui& gui);

}  // namespace orv
