#include "core/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <iterator>

namespace orv {

namespace {

// Writes all of `bytes` to an open descriptor, retrying short writes.
bool WriteAll(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

// Appends to an open descriptor (opened with O_APPEND); a write cut short is cut back
// off. With `startLine`, a file whose last byte is no line end gets CR LF first.
bool AppendAll(int fd, std::string_view bytes, bool startLine) {
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return false;
    const off_t before = info.st_size;
    std::string lead;
    if (startLine && before > 0) {
        char last = '\n';
        // A file opened write-only cannot be looked at; the line is appended as it is.
        if (::pread(fd, &last, 1, before - 1) == 1 && last != '\n' && last != '\r')
            lead = kLineEnd;
    }
    if (WriteAll(fd, lead.empty() ? bytes : lead + std::string(bytes)))
        return true;
    // Half a line would merge with the next one: take it back.
    while (::ftruncate(fd, before) != 0 && errno == EINTR) {
    }
    return false;
}

bool AppendOpened(std::string_view path, std::string_view bytes, bool startLine) {
    const std::string native = NativePath(path);
    int fd = ::open(native.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0 && errno == EACCES)
        fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool written = AppendAll(fd, bytes, startLine);
    return ::close(fd) == 0 && written;
}

// Opens for writing with `mode` (truncate or exclusive creation), writes all of
// `bytes` and closes; false when any step fails.
bool WriteOpened(std::string_view path, std::string_view bytes, int mode) {
    const std::string native = NativePath(path);
    const int fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | mode, 0644);
    if (fd < 0)
        return false;
    const bool written = WriteAll(fd, bytes);
    return ::close(fd) == 0 && written;
}

}  // namespace

std::string NativePath(std::string_view stored) {
    std::string path(stored);
    for (char& c : path) {
        if (c == '\\')
            c = '/';
    }
    return path;
}

namespace {

// Reads a regular file up to `maxBytes`; `whole` asks for all of it, so that a larger
// file gives nothing instead of its head.
std::optional<std::string> ReadRegularFile(std::string_view path, std::int64_t maxBytes,
                                           bool whole) {
    const std::string native = NativePath(path);
    // Non-blocking, so that a pipe without a writer is refused rather than waited on.
    const int fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || (whole && info.st_size > maxBytes)) {
        ::close(fd);
        return std::nullopt;
    }
    std::string text;
    text.reserve(static_cast<size_t>(std::min<std::int64_t>(info.st_size, maxBytes)));
    char buffer[65536];
    for (;;) {
        const std::int64_t room =
            whole ? std::int64_t{sizeof buffer}
                  : std::min<std::int64_t>(sizeof buffer, maxBytes - std::ssize(text));
        if (room <= 0)
            break;
        const ssize_t n = ::read(fd, buffer, static_cast<size_t>(room));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0)
            break;
        text.append(buffer, static_cast<size_t>(n));
        // A file still growing while it is read is held to the same limit.
        if (static_cast<std::int64_t>(text.size()) > maxBytes) {
            ::close(fd);
            return std::nullopt;
        }
    }
    ::close(fd);
    return text;
}

}  // namespace

std::optional<std::string> ReadWholeFile(std::string_view path, std::int64_t maxBytes) {
    return ReadRegularFile(path, maxBytes, true);
}

std::optional<std::string> ReadFileHead(std::string_view path, std::int64_t maxBytes) {
    return ReadRegularFile(path, maxBytes, false);
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

std::optional<std::vector<std::string>> ReadTextLines(std::string_view path) {
    auto text = ReadWholeFile(path);
    if (!text)
        return std::nullopt;
    // Files edited elsewhere may start with a UTF-8 byte order mark; it is no text.
    std::string_view body = *text;
    if (body.substr(0, 3) == "\xEF\xBB\xBF")
        body.remove_prefix(3);
    return SplitLines(body);
}

ReplaceResult ReplaceFile(std::string_view path, std::string_view tempPath,
                          std::string_view content) {
    const std::string target = NativePath(path);
    const std::string temp = NativePath(tempPath);
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return ReplaceResult::CannotWriteTemp;
    // The data must be on disk before the rename makes it the file, or a power cut
    // could leave an empty target.
    const bool written = WriteAll(fd, content) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !written) {
        ::unlink(temp.c_str());
        return ReplaceResult::CannotWriteTemp;
    }
    if (::rename(temp.c_str(), target.c_str()) != 0)
        return ReplaceResult::CannotRename;
    return ReplaceResult::Replaced;
}

bool WriteWholeFile(std::string_view path, std::string_view content) {
    return WriteOpened(path, content, O_TRUNC);
}

bool AppendToFile(std::string_view path, std::string_view bytes) {
    return AppendOpened(path, bytes, false);
}

bool AppendLine(std::string_view path, std::string_view line) {
    return AppendOpened(path, line, true);
}

bool CreateNewFile(std::string_view path, std::string_view content) {
    return WriteOpened(path, content, O_EXCL);
}

bool CanOpenForReading(std::string_view path) {
    const std::string native = NativePath(path);
    const int fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

std::optional<FileStamp> StampOf(std::string_view path) {
    struct stat info {};
    if (::stat(NativePath(path).c_str(), &info) != 0)
        return std::nullopt;
    return FileStamp{
        static_cast<std::int64_t>(info.st_size),
        static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

bool FileExists(std::string_view path) {
    struct stat info {};
    return ::stat(NativePath(path).c_str(), &info) == 0;
}

bool SameFile(std::string_view a, std::string_view b) {
    const std::string first = NativePath(a);
    const std::string second = NativePath(b);
    struct stat x {};
    struct stat y {};
    const bool firstExists = ::stat(first.c_str(), &x) == 0;
    const bool secondExists = ::stat(second.c_str(), &y) == 0;
    if (firstExists && secondExists)
        return x.st_dev == y.st_dev && x.st_ino == y.st_ino;
    if (firstExists != secondExists)
        return false;
    auto resolved = [](const std::string& path) {
        std::error_code failed;
        auto result =
            std::filesystem::weakly_canonical(std::filesystem::absolute(path, failed), failed);
        return failed ? std::filesystem::path() : result;
    };
    const std::filesystem::path resolvedFirst = resolved(first);
    return !resolvedFirst.empty() && resolvedFirst == resolved(second);
}

bool MakeFolder(std::string_view path) {
    const std::string native = NativePath(path);
    if (::mkdir(native.c_str(), 0755) == 0)
        return true;
    struct stat info {};
    return errno == EEXIST && ::stat(native.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace orv
