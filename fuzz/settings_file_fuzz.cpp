// Any settings file and any key: the input's first line is the key, the rest the
// file. Rewriting the key changes the lines that hold it into key=value and keeps
// every other line as it was; the key then reads back as the new value, and every
// value found parses as a number without fault.

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/files.h"
#include "core/settings.h"

namespace {

// The reader's match, written again here to check it: key + "=" anywhere in the line,
// without regard to ASCII case.
bool HoldsKey(std::string_view line, std::string_view search) {
    if (search.size() > line.size())
        return false;
    for (std::size_t at = 0; at + search.size() <= line.size(); ++at) {
        std::size_t i = 0;
        while (i < search.size() && std::tolower(static_cast<unsigned char>(line[at + i])) ==
                                        std::tolower(static_cast<unsigned char>(search[i]))) {
            ++i;
        }
        if (i == search.size())
            return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t keyEnd = input.find_first_of("\r\n");
    if (keyEnd == std::string_view::npos)
        return 0;
    const std::string key(input.substr(0, keyEnd));
    const std::vector<std::string> lines = orv::SplitLines(input.substr(keyEnd + 1));
    const std::string value = "Basic-Auto";

    const std::string before = orv::FindSettingValueIn(lines, key);
    (void)orv::ParseSettingNumber(before);

    const std::vector<std::string> after =
        orv::SplitLines(orv::SettingsTextWithKey(lines, key, value));
    if (after.size() != lines.size())
        std::abort();
    const std::string search = key + "=";
    bool held = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (HoldsKey(lines[i], search)) {
            held = true;
            if (after[i] != search + value)
                std::abort();
        } else if (after[i] != lines[i]) {
            std::abort();
        }
    }
    if (orv::FindSettingValueIn(after, key) != (held ? value : before))
        std::abort();
    return 0;
}
