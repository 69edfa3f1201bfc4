// Any bytes given as a picture: a failed load or a whole picture, never a crash,
// a leak or an out-of-bounds access.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "media/image_decoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::optional<QImage> image = orv::DecodeImage(bytes);
    if (image) {
        // A decoded picture is complete: both corners can be read.
        volatile QRgb corners =
            image->pixel(0, 0) ^ image->pixel(image->width() - 1, image->height() - 1);
        (void)corners;
    }
    return 0;
}
