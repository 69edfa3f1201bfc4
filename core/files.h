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

// Largest file a reader takes in unless it names its own limit: far above any file
// the program reads, far below what would exhaust the memory.
inline constexpr std::int64_t kDefaultMaxReadBytes = std::int64_t{256} * 1024 * 1024;

// Whole file as bytes, or nothing when it cannot be opened, is no regular file (a
// device such as /dev/zero never ends, a pipe may never deliver) or holds more than
// `maxBytes`.
std::optional<std::string> ReadWholeFile(std::string_view path,
                                         std::int64_t maxBytes = kDefaultMaxReadBytes);

// The first `maxBytes` bytes of a regular file (all of a shorter one), or nothing when
// it cannot be opened or is no regular file.
std::optional<std::string> ReadFileHead(std::string_view path, std::int64_t maxBytes);

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

// Writes `content` over the file, creating or truncating it. Not in one step: for
// files nobody depends on (tests' fixtures); anything kept goes through ReplaceFile.
bool WriteWholeFile(std::string_view path, std::string_view content);

// Appends bytes, creating the file when absent. A write cut short (a full disk) is
// cut back off, so the file keeps all of the bytes or none. False when they could
// not be written.
bool AppendToFile(std::string_view path, std::string_view bytes);

// Appends one line that carries its own line end, as AppendToFile does. A file that
// does not end in a line end (edited by hand, or cut short by an earlier fault) gets
// CR LF first, so the line never merges into the one before.
bool AppendLine(std::string_view path, std::string_view line);

// Creates a file that does not exist yet with the given content; an existing file is
// left alone and gives false.
bool CreateNewFile(std::string_view path, std::string_view content);

// Opening a pipe without a writer does not block here.
bool CanOpenForReading(std::string_view path);

// Size and modification time of a file, to tell whether it changed since it was read.
struct FileStamp {
    std::int64_t size = -1;
    std::int64_t modifiedNs = -1;
    bool operator==(const FileStamp&) const = default;
};
std::optional<FileStamp> StampOf(std::string_view path);
bool FileExists(std::string_view path);

// Whether two paths name one file: by device and inode when both exist (so "p.orv",
// "./p.orv", a symbolic or hard link to it are one file), else by their absolute
// forms with links and "." and ".." resolved.
bool SameFile(std::string_view a, std::string_view b);

// Creates a folder; true when it exists afterwards.
bool MakeFolder(std::string_view path);

}  // namespace orv
