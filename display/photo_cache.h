#pragma once
// The board photograph, decoded once and kept until its file changes, with its reduced
// copies, for every view that shows it.

#include <QImage>
#include <future>
#include <string>
#include <string_view>

#include "core/files.h"
#include "display/pcb_view.h"

namespace orv {

// A photograph file as decoded, with the stamp it had when it was read.
struct DecodedPhoto {
    std::string file;  // as opened
    FileStamp stamp;
    QImage image;        // null when decoding failed
    PhotoLevels levels;  // reduced copies for the zoomed-out views
};

struct PhotoCache {
    DecodedPhoto held;
    // A decoding started before the first view needs it (at start-up, while the window
    // is being built), on a worker thread of its own.
    std::future<DecodedPhoto> ahead;
};

// The photograph of a plan's image name (the placeholder for none), decoded again only
// when its file changed.
const QImage& Photograph(PhotoCache& cache, std::string_view imageName);

// Starts decoding the photograph of the plan in `planFile` on a worker thread; the
// next Photograph() of the same file takes the result instead of decoding it again.
// Nothing is started when no thread can be made.
void DecodePhotographAhead(PhotoCache& cache, std::string planFile);

}  // namespace orv
