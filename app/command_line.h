#pragma once
// The program's command line, read before any window exists: --help and --version
// work without a display.

#include <optional>

#include "app/startup.h"

namespace orv {

// Reads the options into `options`, changing into the --folder given. Returns the exit
// status when the program ends here (0 after --help or --version, 2 after printing the
// usage for an unknown option, 1 for a folder it cannot enter), or nothing when it is
// to run. Qt's own "-platform NAME" is left for the application.
std::optional<int> HandleCommandLine(int argc, char** argv, StartOptions& options);

}  // namespace orv
