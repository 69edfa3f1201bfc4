#pragma once
// Writes cut short the way a full disk cuts them, to show that appends and
// replacements leave no half line behind. Two ways: a file size limit (RLIMIT_FSIZE,
// for any user: a write past it stops at the limit, the next one fails), and a small
// file system that is really full (a tmpfs, which needs root; skipped otherwise).

#include <string>

namespace orv::test {

enum class ShortWriteKind { FileSizeLimit, FullFileSystem };

std::string ShortWriteName(ShortWriteKind kind);

// Pads `text` with a line `prefix` + "x..." + CR LF so that it ends `roomLeft` bytes
// before a 4096-byte page boundary: a tmpfs that is full still takes writes into a
// file's last page, and no further.
std::string PadToPageEnd(const std::string& text, const std::string& prefix, int roomLeft);

class ShortWrites {
public:
    // Makes a small file system the working directory for FullFileSystem; false when
    // that is not possible here (not root, no tmpfs).
    bool Prepare(ShortWriteKind kind);
    // From now on `path` can grow by `roomLeft` bytes and no file can be made larger
    // than that: the disk is full.
    void Squeeze(const std::string& path, int roomLeft);
    // Room again, as when the user frees some space.
    void Release();
    // Leaves the small file system; called by the destructor too.
    void Finish();
    ~ShortWrites();

private:
    ShortWriteKind kind_ = ShortWriteKind::FileSizeLimit;
    bool limited_ = false;
    unsigned long long previousLimit_ = 0;
    std::string mountPoint_;
    std::string previousDir_;
};

}  // namespace orv::test
