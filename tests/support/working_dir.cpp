#include "support/working_dir.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace orv::test {

void InWorkingDir::SetUp() {
    previous_ = std::filesystem::current_path().string();
    std::string pattern = (std::filesystem::temp_directory_path() / "orv-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    std::filesystem::current_path(dir_);
}

void InWorkingDir::TearDown() {
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    // Tests make files read-only or into folders; give the owner the rights back first.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir_, ignored)) {
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::remove_all(dir_, ignored);
}

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return "<missing>";
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace orv::test
