#include <string>

#include "app/commands.h"
#include "app/program.h"
#include "core/settings.h"
#include "display/menu_checks.h"
#include "ui/control_numbers.h"

namespace orv {

namespace {

// A date that is never today: the next start runs the release check for the new model.
constexpr std::string_view kUpdateCheckDue = "01/01/2021";

}  // namespace

// The model is read only at start: the choice is stored for the next one, and the
// running program goes on as the model it started as.
void HandleInstrumentChange(Program& program) {
    const int command = program.app.LastEvent.number;
    for (std::size_t i = 0; i < kMenuInstruments.size(); ++i) {
        if (kMenuInstruments[i] != command)
            continue;
        const std::string model(kMenuInstrumentModels[i]);
        WriteSetting(program.log, kSettingsFileName, "DateOfLastUpdateCheck", kUpdateCheckDue);
        WriteSetting(program.log, kSettingsFileName, "ActiveInstrument", model);
        program.app.ChosenInstrument = model;
        UpdateInstrumentChecks(*program.gui, model);
        program.dialogs->ShowMessageBox("Info", "Change will take effect when you restart ORV",
                                        ui::BoxIcon::Information);
        return;
    }
}

}  // namespace orv
