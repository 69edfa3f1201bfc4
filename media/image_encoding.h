#pragma once
// Pictures to bytes, for saving board photographs: JPEG and JPEG 2000. Transparency
// is dropped; the colours under it stay.

#include <QImage>
#include <optional>
#include <string>

namespace orv {

// Quality 1 to 100 as libjpeg counts it; nothing for an empty picture.
std::optional<std::string> EncodeJpeg(const QImage& image, int quality = 90);

enum class Jpeg2000Container {
    File,        // a JP2 file with its boxes, what ".jp2" holds
    Codestream,  // the bare codestream, what ".j2k" holds
};

struct Jpeg2000Options {
    Jpeg2000Container container = Jpeg2000Container::File;
    // Size of the raw picture over the size of the result; 0 or 1 for lossless.
    float compressionRatio = 0;
};

std::optional<std::string> EncodeJpeg2000(const QImage& image, const Jpeg2000Options& options = {});

}  // namespace orv
