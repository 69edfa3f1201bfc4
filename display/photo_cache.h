#pragma once
// The board photograph, decoded once and kept until its file changes, with its reduced
// copies, for every view that shows it.

#include <QImage>
#include <string>
#include <string_view>

#include "core/files.h"
#include "display/pcb_view.h"

namespace orv {

struct PhotoCache {
    std::string file;  // as opened
    FileStamp stamp;
    QImage image;        // null when decoding failed
    PhotoLevels levels;  // reduced copies for the zoomed-out views
};

// The photograph of a plan's image name (the placeholder for none), decoded again only
// when its file changed.
const QImage& Photograph(PhotoCache& cache, std::string_view imageName);

}  // namespace orv
