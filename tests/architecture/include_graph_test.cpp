// Guards the layering: which folder may include which, and that only ui/ sees Qt's
// widget headers.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>

namespace {

namespace fs = std::filesystem;

// Folder -> folders it may include from (besides itself).
const std::map<std::string, std::set<std::string>> kAllowed = {
    {"ui", {}},
    {"core", {"ui"}},
    {"link", {"core", "ui"}},
    {"testplan", {"core", "ui"}},
    {"engine", {"core", "ui", "link", "testplan"}},
    {"calibration", {"core", "ui", "link"}},
    {"display", {"core", "ui", "link", "engine", "testplan"}},
    {"tools", {"core", "ui", "link", "engine", "testplan"}},
    {"report", {"core", "ui", "link", "engine", "testplan", "display"}},
    {"app", {"core", "ui", "link", "engine", "testplan", "display", "calibration", "report"}},
};

struct Include {
    std::string file;
    std::string target;
};

std::vector<Include> IncludesOf(const std::string& folder) {
    std::vector<Include> includes;
    const fs::path root = fs::path(ORV_SOURCE_ROOT) / folder;
    if (!fs::exists(root))
        return includes;
    const std::regex line(R"(^\s*#\s*include\s*[<"]([^">]+)[">])");
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".h" && ext != ".cpp")
            continue;
        std::ifstream in(entry.path());
        for (std::string text; std::getline(in, text);) {
            std::smatch match;
            if (std::regex_search(text, match, line)) {
                includes.push_back({entry.path().string(), match[1]});
            }
        }
    }
    return includes;
}

TEST(IncludeGraphTest, FoldersIncludeOnlyTheLayersBelowThem) {
    for (const auto& [folder, allowed] : kAllowed) {
        for (const Include& include : IncludesOf(folder)) {
            const size_t slash = include.target.find('/');
            if (slash == std::string::npos)
                continue;
            const std::string target = include.target.substr(0, slash);
            if (target == folder || !kAllowed.contains(target))
                continue;
            EXPECT_TRUE(allowed.contains(target)) << include.file << " includes " << include.target;
        }
    }
}

TEST(IncludeGraphTest, OnlyTheUiFolderIncludesWidgetHeaders) {
    std::set<std::string> widgetHeaders = {"QtWidgets"};
    for (const auto& entry : fs::directory_iterator(ORV_QT_WIDGETS_INCLUDE_DIR)) {
        widgetHeaders.insert(entry.path().filename().string());
    }
    ASSERT_GT(widgetHeaders.size(), 100u);
    for (const auto& [folder, allowed] : kAllowed) {
        if (folder == "ui")
            continue;
        for (const Include& include : IncludesOf(folder)) {
            std::string name = include.target;
            if (name.rfind("QtWidgets/", 0) == 0)
                name = name.substr(10);
            EXPECT_FALSE(widgetHeaders.contains(name))
                << include.file << " includes " << include.target;
        }
    }
}

}  // namespace
