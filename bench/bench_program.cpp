#include "bench_program.h"

#include <memory>
#include <system_error>

#include "app/startup.h"
#include "base/dialogs.h"
#include "ui/gui.h"

namespace orv::bench {

BenchFolder::BenchFolder(std::string_view name)
    : dir(std::filesystem::temp_directory_path() / name) {
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
}

BenchFolder::~BenchFolder() {
    std::error_code ignored;
    std::filesystem::current_path(dir.parent_path(), ignored);
    std::filesystem::remove_all(dir, ignored);
}

void StartBenchProgram(Program& program) {
    program.dialogs = std::make_unique<ui::ScriptedDialogs>();
    program.gui = std::make_unique<ui::Gui>();
    StartOptions options;
    options.settleMs = 0;
    StartUp(program, options);
}

}  // namespace orv::bench
