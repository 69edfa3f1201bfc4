#include "app/command_line.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace orv {

namespace {

constexpr const char* kUsage = "usage: orv [--simulator] [--folder FOLDER] | --help | --version\n";

// The installed "orv" command is a launcher that picks and seeds the working folder
// (packaging/orv-launcher.sh); the text describes what a user types.
constexpr const char* kHelp =
    "orv " ORV_VERSION
    " - control program of the ORV analogue signature analysers\n"
    "\n"
    "Shows the live voltage/current signature of the pin under the probe, keeps test\n"
    "plans with the known-good signature of every pin placed on a photograph of the\n"
    "board, and tests boards against them by hand or automatically.\n"
    "\n"
    "Usage: orv [--simulator] [--folder FOLDER]\n"
    "\n"
    "Options:\n"
    "  --simulator      run on the built-in simulated instrument instead of the USB one\n"
    "  --folder FOLDER  use FOLDER as the working folder (also: ORV_FOLDER=FOLDER)\n"
    "  --help           print this help and exit\n"
    "  --version        print the version and exit\n"
    "\n"
    "Files:\n"
    "  The program keeps all its files in its working folder, by default\n"
    "  $XDG_DATA_HOME/orv (~/.local/share/orv when XDG_DATA_HOME is not set):\n"
    "    ORV_settings.txt     settings, written whenever one changes\n"
    "    log.txt              event log\n"
    "    ORV_cal.txt          calibration read from the instrument\n"
    "    bugreport.txt        crash reports\n"
    "    testplans/           test plans (.orv) and their board photographs (images/)\n"
    "    graphics/, sounds/   pictures and sounds, settings/colours.txt\n"
    "  On every start, shipped files missing from the folder (pictures, sounds, the\n"
    "  demo test plans) are copied in from /usr/share/orv; files already there are\n"
    "  never replaced.\n"
    "\n"
    "The instrument is reached through libftdi1; the udev rule installed with the\n"
    "package lets the user at the machine open it. See orv(1).\n";

// The folder the program runs in, for a start without the launcher (which has already
// changed into it).
bool ChangeToFolder(const char* folder) {
    if (chdir(folder) == 0)
        return true;
    std::fprintf(stderr, "orv: cannot use the working folder %s: %s\n", folder,
                 std::strerror(errno));
    return false;
}

}  // namespace

std::optional<int> HandleCommandLine(int argc, char** argv, StartOptions& options) {
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (std::strcmp(argument, "--simulator") == 0) {
            options.simulator = true;
        } else if (std::strcmp(argument, "--help") == 0) {
            std::fputs(kHelp, stdout);
            return 0;
        } else if (std::strcmp(argument, "--version") == 0) {
            std::fputs("orv " ORV_VERSION "\n", stdout);
            return 0;
        } else if (std::strcmp(argument, "--folder") == 0 && i + 1 < argc) {
            if (!ChangeToFolder(argv[++i]))
                return 1;
        } else if (std::strncmp(argument, "--folder=", 9) == 0) {
            if (!ChangeToFolder(argument + 9))
                return 1;
        } else if (std::strcmp(argument, "-platform") == 0) {
            ++i;  // Qt's, with its value
        } else if (argument[0] == '-') {
            std::fputs(kUsage, stderr);
            return 2;
        }
    }
    return std::nullopt;
}

}  // namespace orv
