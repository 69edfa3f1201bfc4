#include "core/settings.h"

#include <algorithm>
#include <cctype>
#include <variant>
#include <vector>

#include "core/files.h"

namespace orv {

namespace {

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// Position of `needle` in `haystack` compared without regard to ASCII case.
size_t FindCaseless(std::string_view haystack, std::string_view needle) {
    const auto it = std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end(),
                                [](char a, char b) { return Lower(a) == Lower(b); });
    return it == haystack.end() ? std::string_view::npos
                                : static_cast<size_t>(it - haystack.begin());
}

int DigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += kLineEnd;
    }
    return text;
}

// Through the same one-step replacement as a change: appending to the file as it
// stands would glue the line to a last line without its line end, and a full disk
// would leave half of it. A file that cannot be rewritten leaves the default in use.
void AppendSettingLine(std::string_view key, std::string_view value) {
    std::vector<std::string> lines;
    if (auto read = ReadTextLines(kSettingsFileName)) {
        lines = std::move(*read);
    } else if (FileExists(kSettingsFileName)) {
        return;  // there but unreadable: rewriting it would lose every other line
    }
    lines.push_back(std::string(key) + "=" + std::string(value));
    ReplaceFile(kSettingsFileName, kSettingsTempFileName, JoinLines(lines));
}

using NumberField = std::int64_t Settings::*;
using TextField = std::string Settings::*;

struct SettingKey {
    std::string_view key;
    std::variant<NumberField, TextField, int> field;  // int: index of a recent file
};

// The keys in the order a first start writes them.
const std::vector<SettingKey>& SettingKeys() {
    static const std::vector<SettingKey> keys = {
        {"ActiveInstrument", &Settings::ActiveInstrument},
        {"CheckWebsiteForUpdate", &Settings::CheckWebsiteForUpdate},
        {"OnlyLTSCheck", &Settings::OnlyLTSCheck},
        {"DateOfLastUpdateCheck", &Settings::DateOfLastUpdateCheck},
        {"MainWindowX", &Settings::MainWindowX},
        {"MainWindowY", &Settings::MainWindowY},
        {"MainWindowWidth", &Settings::MainWindowWidth},
        {"MainWindowHeight", &Settings::MainWindowHeight},
        {"ORV_ColourScope1Background", &Settings::ColourScope1Background},
        {"ORV_ColourScope1Outline", &Settings::ColourScope1Outline},
        {"ORV_ColourScope1Graticule", &Settings::ColourScope1Graticule},
        {"ORV_ColourScope1Text", &Settings::ColourScope1Text},
        {"ORV_ColourScopeXCrosshair", &Settings::ColourScopeXCrosshair},
        {"ORV_ColourScopeXTraceLiveSig", &Settings::ColourScopeXTraceLiveSig},
        {"ORV_ColourScopeXTraceGoldenSig", &Settings::ColourScopeXTraceGoldenSig},
        {"ORV_ColourScopeXTraceDUTSig", &Settings::ColourScopeXTraceDUTSig},
        {"ORV_ColourBackground", &Settings::ColourBackground},
        {"ORV_ColourPanel", &Settings::ColourPanel},
        {"ORV_ColourPanelWindow", &Settings::ColourPanelWindow},
        {"ORV_ColourPanelText", &Settings::ColourPanelText},
        {"ORV_ColourHeader", &Settings::ColourHeader},
        {"ORV_ColourHeaderText", &Settings::ColourHeaderText},
        {"ORV_Mode", &Settings::Mode},
        {"ORV_DisplayView", &Settings::DisplayView},
        {"ORV_TestPlanFileName", &Settings::TestPlanFileName},
        {"ORV_TestPlanFileNameRecent1", 0},
        {"ORV_TestPlanFileNameRecent2", 1},
        {"ORV_TestPlanFileNameRecent3", 2},
        {"ORV_TestPlanFileNameRecent4", 3},
        {"ORV_TestPlanFileNameRecent5", 4},
        {"ORV_TestPlanFileNameRecent6", 5},
        {"ORV_TestPlanFileNameRecent7", 6},
        {"ORV_TestPlanFileNameRecent8", 7},
        {"ORV_Scope1GraticuleMode", &Settings::Scope1GraticuleMode},
        {"ORV_Scope1CrosshairMode", &Settings::Scope1CrosshairMode},
        {"ORV_ScopeXCrosshairMode", &Settings::ScopeXCrosshairMode},
        {"ORV_PCBCrosshairType", &Settings::PCBCrosshairType},
        {"ORV_Scope1HorizontalDivisions", &Settings::Scope1HorizontalDivisions},
        {"ORV_Scope1VerticalDivisions", &Settings::Scope1VerticalDivisions},
        {"ORV_AllowSignatureOverwrite", &Settings::AllowSignatureOverwrite},
        {"ORV_OpenCircuitDetectThreshold", &Settings::OpenCircuitDetectThreshold},
        {"ORV_StableSignatureDetectThreshold", &Settings::StableSignatureDetectThreshold},
        {"ORV_SignatureCaptureDelay", &Settings::SignatureCaptureDelay},
        {"ORV_GoldenVsLiveThreshold", &Settings::GoldenVsLiveThreshold},
    };
    return keys;
}

}  // namespace

std::string FindSettingValue(std::string_view fileName, std::string_view key) {
    const auto lines = ReadTextLines(fileName);
    return lines ? FindSettingValueIn(*lines, key) : std::string();
}

std::string FindSettingValueIn(const std::vector<std::string>& lines, std::string_view key) {
    const std::string search = std::string(key) + "=";
    std::string result;
    for (const std::string& line : lines) {
        const size_t at = FindCaseless(line, search);
        if (at == std::string_view::npos)
            continue;
        result = line.substr(0, at) + line.substr(at + search.size());
    }
    return result;
}

std::int64_t ParseSettingNumber(std::string_view value) {
    size_t i = 0;
    while (i < value.size() && (value[i] == ' ' || value[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == '+' || value[i] == '-')) {
        negative = value[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < value.size() && (value[i] == '$' || value[i] == '%')) {
        base = value[i] == '$' ? 16 : 2;
        ++i;
    }
    std::uint64_t magnitude = 0;  // wraps on overflow rather than being undefined
    for (; i < value.size(); ++i) {
        const int digit = DigitValue(value[i]);
        if (digit >= base)
            break;
        magnitude =
            magnitude * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
    }
    const std::uint64_t result = negative ? (~magnitude + 1) : magnitude;
    return static_cast<std::int64_t>(result);
}

std::int64_t ReadSettingNumber(std::string_view key, std::int64_t defaultValue) {
    const std::string value = FindSettingValue(kSettingsFileName, key);
    if (!value.empty())
        return ParseSettingNumber(value);
    AppendSettingLine(key, std::to_string(defaultValue));
    return defaultValue;
}

std::string ReadSettingText(std::string_view key, std::string_view defaultValue) {
    std::string value = FindSettingValue(kSettingsFileName, key);
    if (!value.empty())
        return value;
    AppendSettingLine(key, defaultValue);
    return std::string(defaultValue);
}

std::string SettingsTextWithKey(const std::vector<std::string>& lines, std::string_view key,
                                std::string_view value) {
    const std::string search = std::string(key) + "=";
    std::string content;
    for (const std::string& line : lines) {
        if (FindCaseless(line, search) != std::string_view::npos) {
            content += search;
            content += value;
        } else {
            content += line;
        }
        content += kLineEnd;
    }
    return content;
}

void WriteSetting(EventLog& log, std::string_view fileName, std::string_view key,
                  std::string_view value) {
    const auto lines = ReadTextLines(fileName);
    if (!lines)
        return;
    // One-step replacement: there is never a moment without a settings file.
    switch (ReplaceFile(fileName, kSettingsTempFileName, SettingsTextWithKey(*lines, key, value))) {
        case ReplaceResult::Replaced:
        case ReplaceResult::CannotWriteTemp:  // silently skipped; the value lives in memory
            return;
        case ReplaceResult::CannotRename:
            ShowUserMessage(log,
                            "Error #0009 'ORV_settings.txt' error whilst trying to rename "
                            "'tmp.txt' to " +
                                std::string(fileName));
            return;
    }
}

void LoadAllSettings(AppState& app) {
    Settings& s = app.settings;
    // The file is read once and every missing key is added in one replacement: the same
    // lines, in the same order, as reading and appending key by key, without rewriting
    // the file once per key on a first start.
    std::vector<std::string> lines;
    bool rewritable = true;
    if (auto fromFile = ReadTextLines(kSettingsFileName)) {
        lines = std::move(*fromFile);
    } else {
        rewritable = !FileExists(kSettingsFileName);  // there but unreadable: keep it
    }
    bool appended = false;
    auto read = [&](std::string_view key, std::string_view defaultValue) {
        std::string value = FindSettingValueIn(lines, key);
        if (!value.empty())
            return value;
        if (rewritable) {
            lines.push_back(std::string(key) + "=" + std::string(defaultValue));
            appended = true;
        }
        return std::string();
    };
    for (const SettingKey& entry : SettingKeys()) {
        if (const auto* number = std::get_if<NumberField>(&entry.field)) {
            const std::string value = read(entry.key, std::to_string(s.**number));
            if (!value.empty())
                s.** number = ParseSettingNumber(value);
        } else if (const auto* text = std::get_if<TextField>(&entry.field)) {
            const std::string value = read(entry.key, s.**text);
            if (!value.empty())
                s.** text = value;
        } else {
            std::string& recent = s.TestPlanFileNameRecent[std::get<int>(entry.field)];
            const std::string value = read(entry.key, recent);
            if (!value.empty())
                recent = value;
        }
    }
    if (appended)
        ReplaceFile(kSettingsFileName, kSettingsTempFileName, JoinLines(lines));
    app.ChosenInstrument = s.ActiveInstrument;
}

}  // namespace orv
