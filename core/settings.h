#pragma once
// The settings file "ORV_settings.txt": key=value lines, no cache. Every read and
// every write opens the file anew; a key read for the first time is appended with
// its default.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/app_state.h"
#include "core/event_log.h"

namespace orv {

inline constexpr std::string_view kSettingsFileName = "ORV_settings.txt";
inline constexpr std::string_view kSettingsTempFileName = "tmp.txt";

// The value of the last line holding key + "=" (found without regard to case), with
// that occurrence cut out: text before the key stays in the value. Empty when the
// file cannot be opened or holds no such line.
std::string FindSettingValue(std::string_view fileName, std::string_view key);
std::string FindSettingValueIn(const std::vector<std::string>& lines, std::string_view key);

// The file's new text: every line holding key + "=" becomes key=value, every other
// line stays as it is, each ended by CR LF.
std::string SettingsTextWithKey(const std::vector<std::string>& lines, std::string_view key,
                                std::string_view value);

// Leading blanks and tabs, an optional sign, then decimal digits ("$" hex, "%" binary)
// up to the first other character; 0 without digits.
std::int64_t ParseSettingNumber(std::string_view value);

// The key's value in the settings file; when it is absent or empty the default is
// appended as a new line and returned. The append rewrites the whole file in one
// step, as a change does: a last line without its line end, or a disk that is full,
// never leaves two settings merged on one line.
std::int64_t ReadSettingNumber(std::string_view key, std::int64_t defaultValue);
std::string ReadSettingText(std::string_view key, std::string_view defaultValue);

// Rewrites every line of the key as key=value; a key without a line is not added.
// The file is replaced in one step; a failed replace raises Error #0009.
void WriteSetting(EventLog& log, std::string_view fileName, std::string_view key,
                  std::string_view value);

// Reads every key in the order of the file's first start, each with the current
// value as its default, and copies ActiveInstrument into ChosenInstrument.
void LoadAllSettings(AppState& app);

}  // namespace orv
