#pragma once
// File access for the whole program. Paths are relative to the working directory;
// a stored path may use '\' separators and is opened with '/' here, while the stored
// text keeps its form. Text is written UTF-8 with CR LF; CR LF, LF and CR are all read.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

inline constexpr std::string_view kLineEnd = "\r\n";

// The path to open for a stored path text: '\' becomes '/'.
std::string NativePath(std::string_view stored);

// Whole file as bytes, or nothing when it cannot be opened.
std::optional<std::string> ReadWholeFile(std::string_view path);

// Splits text at CR LF, LF or lone CR. A final line end does not start another line;
// an empty text has no lines.
std::vector<std::string> SplitLines(std::string_view text);

// Lines of a text file without a leading byte order mark, or nothing when it
// cannot be opened.
std::optional<std::vector<std::string>> ReadTextLines(std::string_view path);

// Writes `content` to `tempPath`, then renames it over `path` in one step, so that a
// crash or a full disk leaves either the old or the new file. Returns false, and
// leaves `path` untouched, when any step fails; the temporary file is removed unless
// the rename itself failed (then it keeps the new content).
enum class ReplaceResult { Replaced, CannotWriteTemp, CannotRename };
ReplaceResult ReplaceFile(std::string_view path, std::string_view tempPath,
                          std::string_view content);

// Writes `content` over the file, creating or truncating it. Not in one step: only
// for copies whose loss does no harm, such as backups.
bool WriteWholeFile(std::string_view path, std::string_view content);

// Appends bytes, creating the file when absent. False when it cannot be written.
bool AppendToFile(std::string_view path, std::string_view bytes);

// Creates a file that does not exist yet with the given content; an existing file is
// left alone and gives false.
bool CreateNewFile(std::string_view path, std::string_view content);

bool CanOpenForReading(std::string_view path);

// Size and modification time of a file, to tell whether it changed since it was read.
struct FileStamp {
    std::int64_t size = -1;
    std::int64_t modifiedNs = -1;
    bool operator==(const FileStamp&) const = default;
};
std::optional<FileStamp> StampOf(std::string_view path);
bool FileExists(std::string_view path);

// Creates a folder; true when it exists afterwards.
bool MakeFolder(std::string_view path);

}  // namespace orv
