#include "media/image_decoding.h"

#include "core/files.h"
#include "media/image_codecs.h"

namespace orv {

namespace {

constexpr std::string_view kPngSignature{"\x89PNG\r\n\x1A\n", 8};
constexpr std::string_view kJpegStart{"\xFF\xD8\xFF", 3};
// SOC followed by SIZ: every codestream starts so.
constexpr std::string_view kJpeg2000Codestream{"\xFF\x4F\xFF\x51", 4};
constexpr std::string_view kJp2SignatureBox{"\x00\x00\x00\x0CjP  \r\n\x87\n", 12};

}  // namespace

namespace codecs {

bool AcceptableImageSize(std::int64_t width, std::int64_t height) {
    if (width < 1 || height < 1)
        return false;
    // Each side below the limit first, so that the product cannot overflow.
    if (width > kMaxImagePixels || height > kMaxImagePixels)
        return false;
    return width * height <= kMaxImagePixels;
}

}  // namespace codecs

ImageFormat DetectImageFormat(std::string_view bytes) {
    if (bytes.starts_with(kPngSignature))
        return ImageFormat::Png;
    if (bytes.starts_with(kJpegStart))
        return ImageFormat::Jpeg;
    if (bytes.starts_with(kJpeg2000Codestream))
        return ImageFormat::Jpeg2000Codestream;
    if (bytes.starts_with(kJp2SignatureBox))
        return ImageFormat::Jpeg2000File;
    return ImageFormat::Unknown;
}

std::optional<QImage> DecodeImage(std::string_view bytes) {
    const ImageFormat format = DetectImageFormat(bytes);
    switch (format) {
        case ImageFormat::Png:
            return codecs::DecodePng(bytes);
        case ImageFormat::Jpeg:
            return codecs::DecodeJpeg(bytes);
        case ImageFormat::Jpeg2000Codestream:
        case ImageFormat::Jpeg2000File:
            return codecs::DecodeJpeg2000(bytes, format);
        case ImageFormat::Unknown:
            break;
    }
    return std::nullopt;
}

std::optional<QImage> DecodeImageFile(std::string_view path) {
    const std::optional<std::string> bytes = ReadWholeFile(path, kMaxImageFileBytes);
    if (!bytes)
        return std::nullopt;
    return DecodeImage(*bytes);
}

}  // namespace orv
