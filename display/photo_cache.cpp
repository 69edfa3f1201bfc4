#include "display/photo_cache.h"

#include "display/pcb_view.h"
#include "media/image_decoding.h"

namespace orv {

const QImage& Photograph(PhotoCache& cache, std::string_view imageName) {
    const std::string file = NativePath(PcbImageFile(imageName));
    const FileStamp stamp = StampOf(file).value_or(FileStamp{});
    if (file != cache.file || stamp != cache.stamp) {
        cache.file = file;
        cache.stamp = stamp;
        cache.image = DecodeImageFile(file).value_or(QImage());
        cache.levels = MakePhotoLevels(cache.image);
    }
    return cache.image;
}

}  // namespace orv
