#include "support/short_write.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <vector>

namespace orv::test {

namespace {

constexpr int kPage = 4096;

long long FileSize(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? static_cast<long long>(info.st_size) : 0;
}

}  // namespace

std::string ShortWriteName(ShortWriteKind kind) {
    return kind == ShortWriteKind::FileSizeLimit ? "FileSizeLimit" : "FullFileSystem";
}

std::string PadToPageEnd(const std::string& text, const std::string& prefix, int roomLeft) {
    const long long bare = static_cast<long long>(text.size() + prefix.size() + 2);
    long long fill = (kPage - roomLeft - bare % kPage) % kPage;
    if (fill < 0)
        fill += kPage;
    return text + prefix + std::string(static_cast<size_t>(fill), 'x') + "\r\n";
}

bool ShortWrites::Prepare(ShortWriteKind kind) {
    kind_ = kind;
    if (kind != ShortWriteKind::FullFileSystem)
        return true;
    previousDir_ = std::filesystem::current_path().string();
    mountPoint_ = previousDir_ + "/small-disk";
    std::filesystem::create_directory(mountPoint_);
    if (::mount("tmpfs", mountPoint_.c_str(), "tmpfs", 0, "size=64k") != 0) {
        mountPoint_.clear();
        return false;
    }
    std::filesystem::current_path(mountPoint_);
    return true;
}

void ShortWrites::Squeeze(const std::string& path, int roomLeft) {
    if (kind_ == ShortWriteKind::FileSizeLimit) {
        // Past the limit a write would raise SIGXFSZ; ignored, it fails with EFBIG.
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        previousLimit_ = limit.rlim_cur;
        limit.rlim_cur = static_cast<rlim_t>(FileSize(path) + roomLeft);
        limited_ = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
        return;
    }
    // Every free page taken by a filler; the file keeps the rest of its last page.
    const int fd = ::open("filler", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const std::vector<char> page(kPage, 'f');
    while (fd >= 0 && ::write(fd, page.data(), page.size()) > 0) {
    }
    const char one = 'f';
    while (fd >= 0 && ::write(fd, &one, 1) > 0) {
    }
    if (fd >= 0)
        ::close(fd);
}

void ShortWrites::Release() {
    if (kind_ == ShortWriteKind::FileSizeLimit) {
        if (limited_) {
            rlimit limit{};
            ::getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = static_cast<rlim_t>(previousLimit_);
            ::setrlimit(RLIMIT_FSIZE, &limit);
            limited_ = false;
        }
        return;
    }
    ::unlink("filler");
}

void ShortWrites::Finish() {
    Release();
    if (mountPoint_.empty())
        return;
    std::filesystem::current_path(previousDir_);
    ::umount2(mountPoint_.c_str(), MNT_DETACH);
    mountPoint_.clear();
}

ShortWrites::~ShortWrites() {
    Finish();
}

}  // namespace orv::test
