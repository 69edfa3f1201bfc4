#include "display/photo_cache.h"

#include <new>
#include <optional>
#include <system_error>
#include <utility>

#include "display/pcb_view.h"
#include "media/image_decoding.h"
#include "testplan/orv_file.h"

namespace orv {

namespace {

// The stamp is taken before the file is read: a change while it is decoded shows as a
// new stamp at the next look.
FileStamp StampBeforeReading(const std::string& file) {
    return StampOf(file).value_or(FileStamp{});
}

DecodedPhoto DecodePhoto(std::string file, FileStamp stamp) {
    DecodedPhoto photo;
    photo.stamp = stamp;
    photo.image = DecodeImageFile(file).value_or(QImage());
    photo.levels = MakePhotoLevels(photo.image);
    photo.file = std::move(file);
    return photo;
}

// The decoding started ahead, when it is of this very file; a worker that failed
// (out of memory) counts as none, and the file is decoded here.
std::optional<DecodedPhoto> TakeAhead(PhotoCache& cache, const std::string& file,
                                      const FileStamp& stamp) {
    if (!cache.ahead.valid())
        return std::nullopt;
    try {
        DecodedPhoto photo = cache.ahead.get();
        if (photo.file == file && photo.stamp == stamp)
            return photo;
    } catch (const std::bad_alloc&) {
    }
    return std::nullopt;
}

}  // namespace

const QImage& Photograph(PhotoCache& cache, std::string_view imageName) {
    std::string file = NativePath(PcbImageFile(imageName));
    const FileStamp stamp = StampBeforeReading(file);
    DecodedPhoto& held = cache.held;
    if (file != held.file || stamp != held.stamp) {
        std::optional<DecodedPhoto> ahead = TakeAhead(cache, file, stamp);
        held = ahead ? std::move(*ahead) : DecodePhoto(std::move(file), stamp);
    }
    return held.image;
}

void DecodePhotographAhead(PhotoCache& cache, std::string planFile) {
    if (cache.ahead.valid())
        return;
    try {
        cache.ahead = std::async(std::launch::async, [planFile = std::move(planFile)] {
            std::string file = NativePath(PcbImageFile(PlanImageName(planFile)));
            const FileStamp stamp = StampBeforeReading(file);
            return DecodePhoto(std::move(file), stamp);
        });
    } catch (const std::system_error&) {
    }
}

}  // namespace orv
