// orv: the control program of the signature analyser. "--simulator" runs it on the
// built-in simulated instrument instead of the USB one.

#include <cstdio>
#include <cstring>
#include <string>

#include "app/program.h"
#include "app/startup.h"
#include "app/subsystem_steps.h"
#include "ui/application.h"
#include "ui/gui.h"
#include "ui/qt_dialogs.h"

int main(int argc, char** argv) {
    orv::StartOptions options;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--simulator") == 0) {
            options.simulator = true;
        } else if (argv[i][0] == '-' && std::strncmp(argv[i], "-platform", 9) != 0) {
            std::fprintf(stderr, "usage: orv [--simulator]\n");
            return 2;
        }
    }
    orv::ui::Application application(argc, argv);
    // The crash box program is installed beside this one.
    options.crashBoxProgram = application.ProgramFolder() + "/orv-crash-box";

    orv::Program program;
    program.dialogs = std::make_unique<orv::ui::QtDialogs>();
    program.gui = std::make_unique<orv::ui::Gui>();
    orv::StartUp(program, options);
    orv::RunTopLevelLoop(program);
    orv::StopCommsThread(program);
    return 0;
}
