#include "display/photo_cache.h"

#include "media/image_decoding.h"
#include "display/pcb_view.h"

namespace orv {

const QImage& Photograph(PhotoCache& cache, std::string_view imageName) {
    const std::string file = NativePath(PcbImageFile(imageName));
    const FileStamp stamp = StampOf(file).value_or(FileStamp{});
    if (file != cache.file || stamp != cache.stamp) {
        cache.file = file;
        cache.stamp = stamp;
        cache.image = DecodeImageFile(file).value_or(QImage());
    }
    return cache.image;
}

}  // namespace orv
