#pragma once
// Makes every check mark, list selection, enabled state, status picture, percentage
// and visibility of the main window agree with the state. Idempotent: every handler
// that changes what it shows calls it afterwards.

#include <optional>
#include <string>
#include <string_view>

#include "core/app_state.h"
#include "display/grid_layout.h"
#include "display/record_trees.h"
#include "media/media.h"
#include "testplan/navigation.h"
#include "testplan/test_plan.h"
#include "ui/gui.h"

namespace orv {

struct UiRefreshInput {
    const Settings& settings;
    std::string_view chosenInstrument;  // the model of the next start
    const GeneratorSettings& request;
    int workingMode = 1;
    const TestPlan& plan;
    int current = 1;  // TestPlanIndex
    std::string_view planName;
    const Media& media;
    const TreeIcons& treeIcons;
};

// Runs every step; `seen` is the mode and view of the previous run, `trees` what the
// record trees and percentages were last made from. When the mode or view changed
// the window is resized, the ribbon and areas are shown for the mode and view and laid
// out, and the new layout is returned: the caller keeps it and asks for both redraws.
std::optional<ViewLayout> RefreshUiState(ui::Gui& gui, const UiRefreshInput& in, WindowSizing& seen,
                                         RecordTreeCache& trees);

// The list items the generator lists select for a request: voltage, resistance and
// frequency by ranges, with fall-backs for values outside them.
int VoltageItemFor(float millivolts);
int ResistanceItemFor(float ohms, std::string_view model);
int FrequencyItemFor(float hertz);

// "37.50%": `count` of the plan's records in percent, "0.00%" for a plan without any.
std::string ResultPercentText(int count, int records);

}  // namespace orv
