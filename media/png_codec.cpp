// PNG through libpng's simplified interface: it converts every colour type and bit
// depth to 8-bit BGRA itself and keeps its error jumps inside libpng's own frames.

#include <png.h>

#include "media/image_codecs.h"

namespace orv::codecs {

std::optional<QImage> DecodePng(std::string_view bytes) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) {
        png_image_free(&png);
        return std::nullopt;
    }
    if (!AcceptableImageSize(png.width, png.height)) {
        png_image_free(&png);
        return std::nullopt;
    }
    // A PNG with an alpha channel or a transparent colour keeps its transparency;
    // without, the alpha bytes come out 255, which is what RGB32 wants.
    const bool transparent = (png.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    QImage image(static_cast<int>(png.width), static_cast<int>(png.height),
                 transparent ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull()) {
        png_image_free(&png);
        return std::nullopt;
    }
    // A 16-bit PNG without gamma information is sRGB like any other in practice;
    // taken as linear light, every mid-tone would come out brighter. (Set after the
    // header is read: reading it clears the flags.)
    png.flags |= PNG_IMAGE_FLAG_16BIT_sRGB;
    // QImage keeps a 32-bit pixel as one native word 0xAARRGGBB.
    png.format = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? PNG_FORMAT_BGRA : PNG_FORMAT_ARGB;
    // The row stride counts components, here bytes. The call frees `png` either way.
    const auto stride = static_cast<png_int_32>(image.bytesPerLine());
    if (!png_image_finish_read(&png, nullptr, image.bits(), stride, nullptr))
        return std::nullopt;
    return image;
}

}  // namespace orv::codecs
