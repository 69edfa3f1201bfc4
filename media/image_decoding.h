#pragma once
// Pictures from bytes: PNG, JPEG and JPEG 2000, told apart by their content, so a
// file's extension does not matter. A truncated, corrupt or oversized picture gives
// nothing; it never ends the program.

#include <QImage>
#include <cstdint>
#include <optional>
#include <string_view>

namespace orv {

enum class ImageFormat { Unknown, Png, Jpeg, Jpeg2000Codestream, Jpeg2000File };

// Largest picture decoded, in pixels: 64 million, 256 MiB as 32-bit pixels. A board
// photograph is far smaller; a damaged header claiming more is refused before any
// memory is taken.
inline constexpr std::int64_t kMaxImagePixels = std::int64_t{64} * 1024 * 1024;

// Largest picture file read, in bytes: a photograph at the pixel limit is tens of
// megabytes as JPEG. Only regular files are read, so a device named as the picture
// gives no picture rather than filling the memory.
inline constexpr std::int64_t kMaxImageFileBytes = std::int64_t{256} * 1024 * 1024;

// The format by the first bytes: PNG signature, JPEG start of image, JPEG 2000
// codestream marker or JP2 signature box.
ImageFormat DetectImageFormat(std::string_view bytes);

// RGB32 for opaque pictures, ARGB32 for pictures with transparency; nothing when the
// bytes are no complete picture of a known format.
std::optional<QImage> DecodeImage(std::string_view bytes);

// The file read through the program's file access (stored '\' separators work);
// nothing for a file that is no regular file or exceeds kMaxImageFileBytes.
std::optional<QImage> DecodeImageFile(std::string_view path);

}  // namespace orv
