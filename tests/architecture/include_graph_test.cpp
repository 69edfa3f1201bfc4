// Guards the layering: which folder may include which, that only ui/ sees Qt's widget
// headers, and that the layers under the windows see no Qt header at all.

#include <gtest/gtest.h>

#include <cctype>
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
    {"base", {}},
    {"ui", {"base"}},
    {"core", {"base"}},
    {"media", {"base", "core", "ui"}},
    {"link", {"base", "core"}},
    {"testplan", {"base", "core"}},
    {"engine", {"base", "core", "link", "testplan"}},
    {"calibration", {"base", "core", "media", "ui", "link"}},
    {"display", {"base", "core", "media", "ui", "link", "engine", "testplan"}},
    {"tools", {"base", "core", "media", "ui", "link", "engine", "testplan"}},
    {"report", {"base", "core", "media", "ui", "link", "engine", "testplan", "display"}},
    {"app",
     {"base", "core", "media", "ui", "link", "engine", "testplan", "display", "calibration",
      "report"}},
};

// The protocol, the engine and the plan code, with what they stand on, need no Qt.
const std::set<std::string> kQtFree = {"base", "core", "link", "engine", "testplan"};

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

TEST(IncludeGraphTest, TheLayersUnderTheWindowsIncludeNoQtHeader) {
    for (const std::string& folder : kQtFree) {
        for (const Include& include : IncludesOf(folder)) {
            const bool qt = include.target.rfind("Qt", 0) == 0 ||
                            (include.target.size() > 1 && include.target[0] == 'Q' &&
                             std::isupper(static_cast<unsigned char>(include.target[1])));
            EXPECT_FALSE(qt) << include.file << " includes " << include.target;
        }
    }
}

}  // namespace
