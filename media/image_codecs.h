#pragma once
// The codec calls behind image_decoding.h and image_encoding.h, one file per library.

#include <QImage>
#include <optional>
#include <string_view>

#include "media/image_decoding.h"

namespace orv::codecs {

std::optional<QImage> DecodePng(std::string_view bytes);
std::optional<QImage> DecodeJpeg(std::string_view bytes);
std::optional<QImage> DecodeJpeg2000(std::string_view bytes, ImageFormat format);

// True when a picture of this size may be decoded (see kMaxImagePixels).
bool AcceptableImageSize(std::int64_t width, std::int64_t height);

}  // namespace orv::codecs
