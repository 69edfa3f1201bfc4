#pragma once
// The program as the benchmarks run it: in a folder of its own under the temporary
// directory, offscreen, with scripted dialogs and without the start-up's settle.

#include <filesystem>
#include <string_view>

#include "app/program.h"

namespace orv::bench {

// A folder of the temporary directory, made the working directory while it lives and
// removed afterwards.
struct BenchFolder {
    explicit BenchFolder(std::string_view name);
    ~BenchFolder();
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;

    std::filesystem::path dir;
};

// Starts the program in the working directory; a driver or simulator chosen before
// stays.
void StartBenchProgram(Program& program);

}  // namespace orv::bench
