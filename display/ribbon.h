#pragma once
// The control ribbon: the fixed column at the main window's left with the instrument
// status, the generator controls, the probe-button functions, the optional DC generator
// and scanner controls of the larger models, the test controls and the edit controls.

#include <QImage>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/app_state.h"
#include "ui/gui.h"

namespace orv {

// Loaded pictures by file name, such as "graphics/button_no-connect.png".
using PictureLookup = std::map<std::string, QImage>;

// Builds the ribbon once, in the main window, for the model the settings name, in the
// colours the settings hold. A picture missing from `pictures` leaves its control blank.
void BuildControlRibbon(ui::Gui& gui, const Settings& settings, const PictureLookup& pictures);

// The notice under the edit controls, hidden while its text is empty.
void ShowRunNoticeText(ui::Gui& gui, const std::string& text);

// The models with the DC generator outputs and with the scanner.
bool HasDcGenerator(std::string_view model);
bool HasScanner(std::string_view model);

// The items of the lists that depend on the model or are made from a prefix.
std::vector<std::string> VoltageListItems();
std::vector<std::string> ResistanceListItems(std::string_view model);
std::vector<std::string> FrequencyListItems();
std::vector<std::string> DcLevelListItems();
std::vector<std::string> ScannerListItems(std::string_view prefix);
std::vector<std::string> ProbeFunctionListItems(std::string_view prefix);

}  // namespace orv
